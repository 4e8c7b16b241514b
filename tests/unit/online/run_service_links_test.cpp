// What run mode takes from the other services: the writer of LMKOMUN.INI
// and the line's time-out.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/cp1250.h"
#include "frame/driver_window_form.h"
#include "online/run_service.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fault_platform.h"

namespace lm::test {
namespace {

class RunLinks : public ::testing::Test {
protected:
    std::unique_ptr<RunService> Make(RunModeLinks links) {
        return std::make_unique<RunService>(
            ServiceContext{platform_, platform_.files(), log_, "D:\\KADEX2\\"},
            RunModeWide{*form_, 0x99, 0xC001, 0xC002, in_entry_, send_msg_enabled_}, instances_,
            std::move(links));
    }

    FakePlatform platform_;
    NoLog log_;
    std::unique_ptr<ui::Form> form_ = BuildDriverWindowForm();
    InstanceList instances_;
    bool in_entry_ = false;
    bool send_msg_enabled_ = false;
};

TEST_F(RunLinks, AFailedWriterShowsItsTextAsksForStopRunAndStartsNothing) {
    std::uint32_t written_crc = 0;
    int timeouts_read = 0;
    RunModeLinks links;
    links.write_komun_ini = [&](std::uint32_t crc, std::string& error) {
        written_crc = crc;
        error = "no settings";
        return false;
    };
    links.line_timeout = [&] {
        ++timeouts_read;
        return std::optional<double>(2.0);
    };
    auto run = Make(std::move(links));
    timeouts_read = 0;
    PARAM_ENTRY start{};
    start.lparam1 = 0xCAFE;
    EXPECT_TRUE(run->StartRUN(start));
    EXPECT_EQ(written_crc, 0xCAFEu);
    EXPECT_EQ(start.dlm_func, 8);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text, "no settings");
    EXPECT_TRUE(platform_.programs.empty());
    EXPECT_EQ(timeouts_read, 0);
    EXPECT_TRUE(send_msg_enabled_);
}

TEST_F(RunLinks, TheLinesTimeOutBecomesWholeTicksWithinSaneBounds) {
    struct Row {
        std::optional<double> seconds;
        std::uint32_t ticks;
    };
    const Row rows[] = {{3.0, 30},
                        {1.55, 16},
                        {0.04, 1},
                        {std::nullopt, 15},
                        {0.0, 15},
                        {-1.0, 15},
                        {std::numeric_limits<double>::quiet_NaN(), 15},
                        {1e12, 36000}};
    for (const Row& row : rows) {
        RunModeLinks links;
        links.write_komun_ini = [](std::uint32_t, std::string&) { return true; };
        links.line_timeout = [&] { return row.seconds; };
        auto run = Make(std::move(links));
        PARAM_ENTRY start{};
        run->StartRUN(start);
        EXPECT_EQ(run->timeout_ticks(), row.ticks) << row.seconds.value_or(-99);
        EXPECT_EQ(platform_.programs.back().parameters, "/DDE 0000");
    }
}

}  // namespace
}  // namespace lm::test

namespace lm::test {
namespace {

TEST(RunStart, ATimerOrProgramThatCannotStartIsToldAndAsksForStopRun) {
    struct Row {
        FaultKind kind;
        int starts;  // tries to start the program
    };
    for (const Row row : {Row{FaultKind::Timer, 0}, Row{FaultKind::ShellStart, 1}}) {
        auto fake = std::make_unique<FakePlatform>();
        FakePlatform& seen = *fake;
        FaultPlatform platform(std::move(fake));
        platform.Arm({row.kind});
        NoLog log;
        auto form = BuildDriverWindowForm();
        InstanceList instances;
        bool in_entry = false, send_msg_enabled = false;
        RunModeLinks links;
        links.write_komun_ini = [](std::uint32_t, std::string&) { return true; };
        RunService run(ServiceContext{platform, platform.files(), log, "D:\\KADEX2\\"},
                       RunModeWide{*form, 0x99, 0xC001, 0xC002, in_entry, send_msg_enabled},
                       instances, std::move(links));
        PARAM_ENTRY start{};
        EXPECT_TRUE(run.StartRUN(start));
        EXPECT_EQ(start.dlm_func, 8) << FaultKindName(row.kind);
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].text, "Nelze přejít do režimu RUN."_cp);
        EXPECT_EQ(platform.Calls(FaultKind::ShellStart), row.starts);
    }
}

}  // namespace
}  // namespace lm::test
