// The numeric edit control's model: bounding, keys, focus and its properties.
#include "ui/float_edit.h"

#include <gtest/gtest.h>

#include "platform/headless/form_steps.h"

namespace lm::ui {
namespace {

struct Bounds {
    double lo, hi;
    bool include;
};

TEST(TFloatEdit, BoundingKeepsTheValueWhereTheModeSays) {
    struct Case {
        Bounds bounds;
        double typed;
        const char* shown;
    } cases[] = {
        {{0, 10, true}, 12, "10"}, {{0, 10, true}, -1, "0"},       {{0, 10, true}, 10, "10"},
        {{0, 10, false}, 10, "5"}, {{0, 10, false}, 0, "5"},       {{0, 10, false}, 9.5, "9,5"},
        {{0, 10, false}, -3, "5"}, {{0, 0, true}, 1e6, "1000000"}, {{0, 0, false}, -7.25, "-7,25"},
        {{4, 4, false}, 12, "12"},  // equal bounds change nothing
    };
    for (const auto& [bounds, typed, shown] : cases) {
        Control c = MakeFloatEdit("F", {}, ',');
        TFloatEdit edit(c);
        edit.SetMaxValue(bounds.hi);
        edit.SetMinValue(bounds.lo);
        edit.SetIncludeBounds(bounds.include);
        edit.SetValue(typed);
        EXPECT_EQ(c.text, shown) << typed << " in " << bounds.lo << ".." << bounds.hi;
        // What a user types is bounded when the focus leaves.
        c.text = RealText(typed, ',');
        EXPECT_TRUE(edit.Exit());
        EXPECT_EQ(c.text, shown) << "typed " << typed;
    }
}

TEST(TFloatEdit, DefaultValueOutsideActiveBoundsIsRefusedAndBoundsRewriteIt) {
    Control c = MakeFloatEdit("F", {}, '.');
    TFloatEdit edit(c);
    edit.SetDefaultValue(20);
    EXPECT_EQ(edit.DefaultValue(), 20);  // no bounds yet: accepted
    edit.SetMaxValue(10);                // new bounds rewrite value and default
    EXPECT_EQ(edit.DefaultValue(), 10);
    EXPECT_EQ(c.text, "0");
    edit.SetDefaultValue(20);
    EXPECT_EQ(edit.DefaultValue(), 10);
    edit.SetDefaultValue(7);
    EXPECT_EQ(edit.DefaultValue(), 7);
    c.text.clear();
    EXPECT_EQ(edit.Value(), 7);  // an empty text reads as the default
    edit.SetDefaultValue(10);    // on an included bound
    edit.SetIncludeBounds(false);
    EXPECT_EQ(c.text, "5");  // the empty text's default is on a bound now
}

TEST(TFloatEdit, KeysAcceptOnlyWhatANumberIsWrittenWith) {
    struct Case {
        char separator;
        const char* accepted;
        const char* refused;
    } cases[] = {
        {',', "0123456789+-,\b\r\x1b", "a.eE x\xE1"},
        {'.', "0123456789+-.\b", "a,eE"},
    };
    for (const auto& [separator, accepted, refused] : cases) {
        Control c = MakeFloatEdit("F", {}, separator);
        const TFloatEdit edit(c);
        for (const char* k = accepted; *k != 0; ++k) EXPECT_TRUE(edit.KeyPress(*k)) << *k;
        for (const char* k = refused; *k != 0; ++k) EXPECT_FALSE(edit.KeyPress(*k)) << *k;
    }
}

TEST(TFloatEdit, ArrowKeysStepThroughBounding) {
    struct Case {
        double increment;
        Bounds bounds;
        const char* start;
        ArrowKey key;
        const char* shown;
    } cases[] = {
        {0, {0, 0, true}, "3", ArrowKey::Up, "3"},
        {0.5, {0, 0, true}, "3", ArrowKey::Up, "3.5"},
        {0.5, {0, 0, true}, "3", ArrowKey::Down, "2.5"},
        {4, {0, 10, true}, "8", ArrowKey::Up, "10"},
        {4, {0, 10, false}, "8", ArrowKey::Up, "5"},
        {1, {0, 10, true}, "", ArrowKey::Down, "0"},  // from the default
        {1, {0, 0, true}, "x1", ArrowKey::Up, "x1"},  // no number: not stepped
    };
    for (const auto& [increment, bounds, start, key, shown] : cases) {
        Control c = MakeFloatEdit("F", {}, '.');
        TFloatEdit edit(c);
        edit.SetMaxValue(bounds.hi);
        edit.SetMinValue(bounds.lo);
        edit.SetIncludeBounds(bounds.include);
        edit.SetIncrement(increment);
        c.text = start;
        edit.KeyDown(key);
        EXPECT_EQ(c.text, shown) << start << " by " << increment;
    }
}

TEST(TFloatEdit, TextsThatAreNoNumberKeepTheFocusAndReadAsTheDefault) {
    struct Case {
        const char* text;
        bool number;
        const char* normalised;
    } cases[] = {
        {" 4,50 ", true, "4,5"}, {"+2", true, "2"},    {"1,5E3", true, "1500"}, {"", true, ""},
        {"-", false, ""},        {"1e999", false, ""}, {"nan", false, ""},      {"4.5", false, ""},
        {"1-2", false, ""},      {"0,1", true, "0,1"}, {"1E20", true, "1E20"},  {"--1", false, ""},
    };
    for (const auto& [text, number, normalised] : cases) {
        Control c = MakeFloatEdit("F", {}, ',');
        TFloatEdit edit(c);
        edit.SetDefaultValue(3);
        c.text = text;
        EXPECT_EQ(edit.Exit(), number) << text;
        EXPECT_EQ(c.number.wants_focus, !number) << text;
        if (number) {
            EXPECT_EQ(c.text, normalised);
        } else {
            EXPECT_EQ(c.text, text);  // left for the user to correct
            EXPECT_EQ(edit.Value(), 3);
        }
    }
}

TEST(TFloatEdit, StepsTypeKeyByKeyAndLeaveTheBox) {
    Form form("F", "F", 100, 100);
    form.Add(MakeFloatEdit("FloatEdit1", {}, ','));
    TFloatEdit edit(form["FloatEdit1"]);
    edit.SetIncrement(0.25);
    EXPECT_EQ(PlayFormSteps(form, "set FloatEdit1 1a2,50\nkey FloatEdit1 up"), "");
    EXPECT_EQ(form["FloatEdit1"].text, "12,75");
    EXPECT_NE(PlayFormSteps(form, "set FloatEdit1 -"), "");
}

}  // namespace
}  // namespace lm::ui
