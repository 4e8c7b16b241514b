#include "ui/line_sync.h"

#include <gtest/gtest.h>

#include <functional>

namespace lm::ui {
namespace {

using Lines = std::vector<std::string>;

// Applies a plan to what is shown, as the window does.
Lines Apply(Lines shown, const Lines& wanted, const LinePlan& plan) {
    if (plan.replace_all) return wanted;
    shown.erase(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(plan.drop));
    shown.insert(shown.end(), wanted.begin() + static_cast<std::ptrdiff_t>(plan.append_from),
                 wanted.end());
    return shown;
}

TEST(PlanLines, AppendsAndCutsInsteadOfRewriting) {
    struct Case {
        const char* what;
        Lines shown, wanted;
        LinePlan plan;
    };
    const Case cases[] = {
        {"nothing either side", {}, {}, {false, 0, 0}},
        {"no change", {"a", "b"}, {"a", "b"}, {false, 0, 2}},
        {"first lines", {}, {"a", "b"}, {false, 0, 0}},
        {"lines added", {"a", "b"}, {"a", "b", "c", "d"}, {false, 0, 2}},
        {"oldest lines cut, new ones added", {"a", "b", "c", "d"}, {"c", "d", "e"}, {false, 2, 2}},
        {"oldest lines cut only", {"a", "b", "c"}, {"b", "c"}, {false, 1, 2}},
        {"equal lines: the first cut that fits",
         {"x", "x", "x"},
         {"x", "x", "x", "y"},
         {false, 0, 3}},
        {"cleared", {"a", "b"}, {}, {true, 0, 0}},
        {"all new", {"a", "b"}, {"c"}, {true, 0, 0}},
        {"a line changed in the middle", {"a", "b", "c"}, {"a", "B", "c"}, {true, 0, 0}},
        {"the last line changed", {"a", "b"}, {"a", "c", "d"}, {true, 0, 0}},
        {"fewer lines than shown, same start", {"a", "b", "c"}, {"a", "b"}, {true, 0, 0}},
    };
    for (const Case& c : cases) {
        LinePlan plan = PlanLines(c.shown, c.wanted);
        EXPECT_EQ(plan, c.plan) << c.what;
        EXPECT_EQ(Apply(c.shown, c.wanted, plan), c.wanted) << c.what;
    }
}

TEST(PlanLines, ManyEqualLinesWithNoCutThatFitsAreRewritten) {
    // Every shown line but the last matches the first wanted one, and no cut
    // fits: after a few tries the text is rewritten.
    Lines shown(999, "x");
    shown.push_back("z");
    Lines wanted(999, "x");
    wanted.push_back("y");
    LinePlan plan = PlanLines(shown, wanted);
    EXPECT_TRUE(plan.replace_all);
    EXPECT_EQ(Apply(shown, wanted, plan), wanted);
}

// A full log loses its oldest 500 lines while new ones come: the plan cuts
// them, whether its lines are all different or, as a log's are, repeat in
// every entry call.
TEST(PlanLines, AFullLogCutAtTheTopAndGrownAtTheEnd) {
    struct Case {
        const char* what;
        std::function<std::string(int)> line;
    } cases[] = {
        {"every line different", [](int i) { return "line " + std::to_string(i); }},
        {"lines repeating in every call",
         [](int i) {
             const char* const call[] = {"START", nullptr, "  Item.Jmeno=U0", "END", ""};
             return call[i % 5] != nullptr ? std::string(call[i % 5]) : "call " + std::to_string(i);
         }},
    };
    for (const Case& c : cases) {
        Lines shown;
        for (int i = 0; i < 5000; ++i) shown.push_back(c.line(i));
        Lines wanted(shown.begin() + 500, shown.end());
        for (int i = 5000; i < 5030; ++i) wanted.push_back(c.line(i));
        LinePlan plan = PlanLines(shown, wanted);
        EXPECT_EQ(plan, (LinePlan{false, 500, 4500})) << c.what;
        EXPECT_EQ(Apply(shown, wanted, plan), wanted) << c.what;
    }
}

}  // namespace
}  // namespace lm::ui
