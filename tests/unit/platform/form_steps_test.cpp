// Steps of a user played in a form without a screen.
#include "platform/headless/form_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace lm {
namespace {

using ui::ControlKind;
using ui::Event;

class StepsForm : public ui::Form {
public:
    StepsForm() : ui::Form("TSteps", "Kroky", 200, 200) {
        Place("Edit1", ControlKind::Edit).max_length = 5;
        Place("List1", ControlKind::ListBox).items = {"a", "b", "c"};
        Place("Ticks1", ControlKind::CheckListBox).items = {"PID.1.W (BIDIR real)",
                                                            "PID.1.WMAX (READ real)"};
        Place("Combo1", ControlKind::ComboBox).items = {"COM1", "COM2"};
        Place("Check1", ControlKind::CheckBox);
        Place("Group1", ControlKind::GroupBox);
        Place("Radio1", ControlKind::RadioButton, "Group1").checked = true;
        Place("Radio2", ControlKind::RadioButton, "Group1");
        Place("Off", ControlKind::Button).enabled = false;
        Place("Gone", ControlKind::Button).visible = false;
        Place("OK", ControlKind::Button);
        for (const char* name : {"Edit1", "Combo1"}) Log(name, Event::Change);
        for (const char* name : {"List1", "Check1", "Radio2", "Off", "Gone"})
            Log(name, Event::Click);
        Log("List1", Event::DoubleClick);
        Log("Ticks1", Event::ClickCheck);
        On("OK", Event::Click, [this] {
            events.push_back("OK");
            Close(ui::ModalResult::Ok);
        });
    }
    std::vector<std::string> events;

private:
    ui::Control& Place(const char* name, ControlKind kind, const char* parent = "") {
        ui::Control c;
        c.name = name;
        c.kind = kind;
        c.parent = parent;
        return Add(std::move(c));
    }
    void Log(const char* name, Event event) {
        On(name, event, [this, name, event] {
            events.push_back(std::string(name) + (event == Event::DoubleClick  ? " dbl"
                                                  : event == Event::ClickCheck ? " tick"
                                                                               : ""));
        });
    }
};

TEST(FormSteps, EachStepChangesTheControlAndFiresItsEvent) {
    StepsForm f;
    EXPECT_EQ(PlayFormSteps(f,
                            "set Edit1 Cerpadlo\r\nselect List1 2\nselect Combo1 1\n"
                            "press Check1\npress Radio2\n\ndblclick List1\n"),
              "");
    EXPECT_EQ(f["Edit1"].text, "Cerpa") << "cut to the edit's length, as typed";
    EXPECT_EQ(f["List1"].selection, 2);
    EXPECT_EQ(f["Combo1"].text, "COM2");
    EXPECT_TRUE(f["Check1"].checked);
    EXPECT_TRUE(f["Radio2"].checked);
    EXPECT_FALSE(f["Radio1"].checked);
    EXPECT_EQ(f.events, (std::vector<std::string>{"Edit1", "List1", "Combo1", "Check1", "Radio2",
                                                  "List1 dbl"}));
    EXPECT_EQ(f.modal_result, ui::ModalResult::None);
}

TEST(FormSteps, PlayingStopsAtTheStepThatClosesTheFormOrCannotBePlayed) {
    struct Row {
        const char* steps;
        const char* problem;
        std::vector<std::string> events;
    };
    const Row rows[] = {
        {"press OK\npress Check1", "", {"OK"}},
        {"press Nic\npress OK", "press Nic: no control \"Nic\"", {}},
        {"press Off\npress OK", "press Off: Off is hidden or disabled", {}},
        {"press Gone", "press Gone: Gone is hidden or disabled", {}},
        {"select List1 3", "select List1 3: no item 3 in List1", {}},
        {"select List1 x", "select List1 x: no item x in List1", {}},
        {"set List1 a", "set List1 a: List1 is not an edit box", {}},
        {"kick OK", "kick OK: no step \"kick\"", {}},
        {"tick Ticks1 PID.1", "tick Ticks1 PID.1: no entry \"PID.1\" in Ticks1", {}},
        {"tick Ticks1 PID.1.W\ntick Ticks1 PID.1.WMAX (READ real)\ntick Ticks1 PID.1.W",
         "",
         {"Ticks1 tick", "Ticks1 tick", "Ticks1 tick"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        StepsForm f;
        EXPECT_EQ(PlayFormSteps(f, row.steps), row.problem);
        EXPECT_EQ(f.events, row.events);
        if (!row.events.empty() && row.events[0] == "Ticks1 tick") {
            // The entry's own name, not a longer one that starts with it;
            // a second click unticks.
            EXPECT_EQ(f["Ticks1"].item_checks, (std::vector<bool>{false, true}));
        }
    }
}

}  // namespace
}  // namespace lm
