#include "ui/form.h"

#include <gtest/gtest.h>

namespace lm::ui {
namespace {

TEST(Form, HandlersRunByControlAndEventAndCountAsAChange) {
    Form form("F", "caption", 100, 50);
    Control button;
    button.name = "ButtonOK";
    button.kind = ControlKind::Button;
    form.Add(button);
    int clicks = 0;
    form.On("ButtonOK", Event::Click, [&] { ++clicks; });
    auto before = form.revision();
    EXPECT_TRUE(form.Fire("ButtonOK", Event::Click));
    EXPECT_FALSE(form.Fire("ButtonOK", Event::Change));
    EXPECT_FALSE(form.Fire("Missing", Event::Click));
    EXPECT_EQ(clicks, 1);
    EXPECT_GT(form.revision(), before);
    EXPECT_TRUE(form.Has("ButtonOK"));
    EXPECT_FALSE(form.Has("ButtonCancel"));
}

TEST(FormDeathTest, AMissingControlNameIsAProgrammingError) {
    Form form("F", "caption", 100, 50);
    EXPECT_DEATH(form["Nope"], "has no control Nope");
}

}  // namespace
}  // namespace lm::ui

namespace lm::ui {
namespace {

Control& Put(Form& form, const char* name, ControlKind kind, Rect bounds, const char* parent = "") {
    Control c;
    c.name = name;
    c.kind = kind;
    c.bounds = bounds;
    c.parent = parent;
    return form.Add(std::move(c));
}

// A form with radio buttons in two group boxes (one inside the other) and two
// on the form itself.
class Groups : public ::testing::Test {
protected:
    Groups() {
        Put(form, "RadioA", ControlKind::RadioButton, {8, 8, 50, 17});
        Put(form, "RadioB", ControlKind::RadioButton, {8, 30, 50, 17});
        Put(form, "GroupBox1", ControlKind::GroupBox, {100, 10, 200, 120});
        Put(form, "Radio1", ControlKind::RadioButton, {8, 16, 80, 17}, "GroupBox1");
        Put(form, "Radio2", ControlKind::RadioButton, {8, 40, 80, 17}, "GroupBox1");
        Put(form, "GroupBox2", ControlKind::GroupBox, {8, 60, 150, 50}, "GroupBox1");
        Put(form, "Radio3", ControlKind::RadioButton, {6, 14, 80, 17}, "GroupBox2");
        Put(form, "Radio4", ControlKind::RadioButton, {6, 30, 80, 17}, "GroupBox2");
        form["RadioA"].checked = true;
        form["Radio1"].checked = true;
        form["Radio3"].checked = true;
    }
    std::string Checked() {
        std::string names;
        for (const auto& c : form.controls()) {
            if (c->kind == ControlKind::RadioButton && c->checked) names += c->name + " ";
        }
        return names;
    }
    Form form{"TGroups", "groups", 320, 200};
};

TEST_F(Groups, ControlsInAGroupBoxAreMeasuredFromItsCorner) {
    struct Case {
        const char* name;
        Rect placed;
    };
    for (const Case& c : {Case{"RadioA", {8, 8, 50, 17}}, Case{"GroupBox1", {100, 10, 200, 120}},
                          Case{"Radio2", {108, 50, 80, 17}}, Case{"GroupBox2", {108, 70, 150, 50}},
                          Case{"Radio4", {114, 100, 80, 17}}}) {
        EXPECT_EQ(form.Placement(form[c.name]), c.placed) << c.name;
    }
}

TEST_F(Groups, AHiddenOrDisabledGroupBoxHidesOrDisablesWhatItHolds) {
    struct Case {
        const char* changed;
        bool visible, enabled;
        const char* control;
        bool showing, usable;
    };
    const Case cases[] = {
        {"", true, true, "Radio4", true, true},
        {"GroupBox1", false, true, "Radio4", false, true},
        {"GroupBox1", true, false, "Radio4", true, false},
        {"GroupBox2", false, false, "Radio4", false, false},
        {"GroupBox2", false, false, "Radio1", true, true},
        {"Radio4", false, true, "Radio4", false, true},
        {"GroupBox1", false, false, "RadioA", true, true},
    };
    for (const Case& c : cases) {
        for (const auto& control : form.controls()) control->visible = control->enabled = true;
        if (*c.changed != 0) {
            form[c.changed].visible = c.visible;
            form[c.changed].enabled = c.enabled;
        }
        EXPECT_EQ(form.Showing(form[c.control]), c.showing) << c.changed << " " << c.control;
        EXPECT_EQ(form.Usable(form[c.control]), c.usable) << c.changed << " " << c.control;
    }
}

TEST_F(Groups, ChoosingARadioButtonUnchecksOnlyThoseOfItsOwnParent) {
    struct Case {
        const char* chosen;
        const char* checked_after;
    };
    const Case cases[] = {
        {"Radio2", "RadioA Radio2 Radio3 "}, {"Radio4", "RadioA Radio2 Radio4 "},
        {"RadioB", "RadioB Radio2 Radio4 "}, {"RadioB", "RadioB Radio2 Radio4 "},
        {"Radio1", "RadioB Radio1 Radio4 "},
    };
    for (const Case& c : cases) {
        form.ChooseRadio(c.chosen);
        EXPECT_EQ(Checked(), c.checked_after) << c.chosen;
    }
}

TEST(FormDeathTest, AParentCycleIsAProgrammingError) {
    Form form("F", "caption", 100, 50);
    Put(form, "GroupA", ControlKind::GroupBox, {0, 0, 10, 10}, "GroupB");
    Put(form, "GroupB", ControlKind::GroupBox, {0, 0, 10, 10}, "GroupA");
    EXPECT_DEATH(form.Placement(form["GroupA"]), "parent cycle");
    Put(form, "Orphan", ControlKind::Label, {0, 0, 10, 10}, "Nowhere");
    EXPECT_DEATH(form.Showing(form["Orphan"]), "has no control Nowhere");
}

TEST(StringGrid, CellsByColumnAndRowWithDefaultWidths) {
    Form form("F", "caption", 100, 50);
    Control& grid = Put(form, "StringGrid1", ControlKind::StringGrid, {0, 0, 100, 50});
    grid.SetGridSize(2, 3);
    EXPECT_EQ(grid.ColumnCount(), 2);
    EXPECT_EQ(grid.RowCount(), 3);
    grid.Cell(1, 2) = "x";
    EXPECT_EQ(grid.cells[2][1], "x") << "cells are stored by row, then column";
    grid.SetGridSize(3, 4);
    EXPECT_EQ(grid.Cell(1, 2), "x") << "resizing keeps what fits";
    EXPECT_EQ(grid.Cell(2, 3), "");
    grid.SetGridSize(1, 1);
    EXPECT_EQ(grid.ColumnCount(), 1);
    grid.column_widths = {150};
    EXPECT_EQ(grid.ColumnWidth(0), 150);
    EXPECT_EQ(grid.ColumnWidth(1), kDefaultColumnWidth);
    EXPECT_EQ(grid.ColumnWidth(-1), kDefaultColumnWidth);
    grid.SetGridSize(0, 0);
    EXPECT_EQ(grid.ColumnCount(), 0);
}

TEST(StringGridDeathTest, ACellOutsideTheGridIsAProgrammingError) {
    Form form("F", "caption", 100, 50);
    Control& grid = Put(form, "StringGrid1", ControlKind::StringGrid, {0, 0, 100, 50});
    grid.SetGridSize(2, 2);
    EXPECT_DEATH(grid.Cell(2, 0), "has no cell 2,0");
    EXPECT_DEATH(grid.Cell(0, -1), "has no cell 0,-1");
}

TEST(Form, AHandlerMayReplaceItselfWhileItRuns) {
    Form form("F", "caption", 100, 50);
    Put(form, "ListBox1", ControlKind::ListBox, {0, 0, 10, 10});
    std::vector<std::string> calls;
    form.On("ListBox1", Event::DoubleClick, [&] {
        calls.push_back("first");
        form.On("ListBox1", Event::DoubleClick, [&] { calls.push_back("second"); });
    });
    EXPECT_TRUE(form.Fire("ListBox1", Event::DoubleClick));
    EXPECT_TRUE(form.Fire("ListBox1", Event::DoubleClick));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
}

TEST(Form, FontIsMsSansSerifEightPointUnlessTheFormSaysOtherwise) {
    Form form("F", "caption", 100, 50);
    EXPECT_EQ(form.font_name, "MS Sans Serif");
    EXPECT_EQ(form.font_size, 8);
}

}  // namespace
}  // namespace lm::ui
