// The table of careless and broken host calls through the entry of the
// linked driver, on the fake platform (ASan watches every read and write).
#include <gtest/gtest.h>

#include "tests/support/driver_fixture.h"
#include "tests/support/host_call_cases.h"

namespace lm::test {
namespace {

class HostCalls : public DriverFixture,
                  public HostSide,
                  public ::testing::WithParamInterface<HostCallCase> {
protected:
    void SetUp() override {
        DriverFixture::SetUp();
        UseSampleDriverDir();
        fake_->on_box = [this](const FakePlatform::Box&) {
            if (!during_box_) return;
            auto during = std::move(during_box_);
            during_box_ = nullptr;
            during();
        };
    }

    int Call(PARAM_ENTRY& record) override { return DriverFixture::Call(record); }
    void AnswerYes() override { fake_->QueueAnswer(BoxAnswer::Yes); }
    void WhileNextBoxIsUp(std::function<void()> during) override {
        during_box_ = std::move(during);
    }
    std::vector<std::string> Boxes() override {
        std::vector<std::string> texts;
        for (const auto& box : fake_->boxes) texts.push_back(box.text);
        return texts;
    }
    std::vector<std::string> LogLines() override { return DriverFixture::LogLines(); }
    std::string DriverDir() override { return (dir_.driver_dir() / "").string(); }

    std::function<void()> during_box_;
};

TEST_P(HostCalls, AreSurvivedAndLeaveADriverThatServes) {
    GetParam().play(*this);
    EXPECT_FALSE(during_box_) << "the case expected a message box that never came";
    ExpectDriverStillServes(*this);
}

INSTANTIATE_TEST_SUITE_P(Table, HostCalls, ::testing::ValuesIn(HostCallCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lm::test
