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
