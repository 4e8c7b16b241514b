// The ROZID7.EXE stand-in's core: LMKOMUN.INI, the simulated controller and
// the answers, well-behaved and not.
#include "tools/rozid7/rozid7_core.h"

#include <gtest/gtest.h>

namespace lm::test {
namespace {

using rozid7::Core;
using rozid7::Komun;

struct Session {
    explicit Session(const Komun& komun)
        : core(komun, [this](const std::string& text) { sent.push_back(text); }) {}
    Core core;
    std::vector<std::string> sent;
};

TEST(Rozid7Core, LmkomunGivesTheDriverWindowTheProgramAndTheMisbehaviour) {
    const Komun komun = rozid7::ReadKomun(
        "port 1 38400\r\nrs232\r\nHWND 4660 10 0 161\r\nCRC32 = 0\r\n"
        "QQwrite   5   1  12 200   0   0   0\r\nQQwrite 256   1  12   1   2   3   4\r\n"
        "SIMULATE LATE 3\r\nSIMULATE GARBAGE\r\nSIMULATE NONSENSE 2\r\n");
    EXPECT_EQ(komun.driver_window, 4660u);
    ASSERT_EQ(komun.program.size(), 1u);
    EXPECT_EQ(komun.misbehaviour.late_ticks, 3);
    EXPECT_TRUE(komun.misbehaviour.garbage);
    Session s(komun);
    EXPECT_EQ(s.core.controller().Read(5, 1, 12), (rozid7::Value{200, 0, 0, 0}));
}

TEST(Rozid7Core, ReadsStringsWritesAndCloseAreAnsweredOnTheNextTicks) {
    Session s(Komun{});
    s.core.Receive("QQ_WR 0B 01 01 0A 0B 0C 0D|");
    s.core.Receive("QQ_RD 0B 01 01|");
    EXPECT_TRUE(s.sent.empty());  // the line takes its time
    s.core.Tick();
    EXPECT_EQ(s.sent, std::vector<std::string>{"QQ_RD 0B 01 01 0A 0B 0C 0D|"});
    s.core.Receive("QQ_RS 0B 01 FA|");  // items 250 to 255 only
    s.core.Tick();
    EXPECT_EQ(s.sent.size(), 7u);
    EXPECT_EQ(s.sent.back(), "QQ_RD 0B 01 FF 00 00 00 00|");
    s.core.Receive("DIALOG SHOW|");
    EXPECT_TRUE(s.core.window_shown());
    s.core.Receive("CLOSE|");
    EXPECT_EQ(s.sent.back(), "CLIENT CLOSED|");
    EXPECT_TRUE(s.core.closed());
}

TEST(Rozid7Core, EachMisbehaviourShowsInWhatIsSent) {
    struct Row {
        const char* setting;
        std::vector<std::string> sent;  // after four reads and five ticks
        bool dead;
    };
    const std::string value = "QQ_RD 0B 01 01 00 00 00 00|";
    const Row rows[] = {
        {"LATE 3", {value, value}, false},  // the last two are still on the way
        {"DROP 2", {value, value}, false},
        {"GARBAGE", std::vector<std::string>(4, "QQ_RD ZZ ZZ ZZ ZZ ZZ ZZ ZZ|"), false},
        {"SHORT", std::vector<std::string>(4, "QQ_RD 0B 01 01 00 00|"), false},
        {"COM_ERROR 2", {value, "CLIENT CLOSED COM_ERROR|"}, false},
        {"USER_CLOSE 3", {value, value, "CLIENT CLOSED USER_CLOSE|"}, false},
        {"DIE 2", {value}, true},
    };
    for (const Row& row : rows) {
        Komun komun;
        ASSERT_TRUE(rozid7::ReadMisbehaviour(row.setting, komun.misbehaviour)) << row.setting;
        Session s(komun);
        for (int i = 0; i < 4; ++i) {
            s.core.Receive("QQ_RD 0B 01 01|");
            if (i < 2) s.core.Tick();
        }
        for (int i = 0; i < 3; ++i) s.core.Tick();
        EXPECT_EQ(s.sent, row.sent) << row.setting;
        EXPECT_EQ(s.core.dead(), row.dead) << row.setting;
    }
}

TEST(Rozid7Core, TheCommandLineGivesTheModeAndTheMisbehaviourSwitches) {
    using Mode = rozid7::CommandLine::Mode;
    struct Row {
        const char* parameters;
        Mode mode;
        std::vector<std::string> misbehaviour, unknown;
    };
    const Row rows[] = {
        {"/DDE 0000", Mode::Run, {}, {}},
        {"", Mode::Run, {}, {}},
        {"/K", Mode::Keyboard, {}, {}},
        {"/readall", Mode::ReadAll, {}, {}},
        {"/DDE 0000 /LATE 3 /GARBAGE /DIE 2", Mode::Run, {"LATE 3", "GARBAGE", "DIE 2"}, {}},
        // A switch that needs its number and has none, or is unknown, is ignored.
        {"/DDE 0000 /DROP /BOGUS 4 stray", Mode::Run, {}, {"/DROP", "/BOGUS", "4", "stray"}},
    };
    for (const Row& row : rows) {
        const rozid7::CommandLine line = rozid7::ReadCommandLine(row.parameters);
        EXPECT_EQ(line.mode, row.mode) << row.parameters;
        EXPECT_EQ(line.misbehaviour, row.misbehaviour) << row.parameters;
        EXPECT_EQ(line.unknown, row.unknown) << row.parameters;
    }
}

TEST(Rozid7Core, ItsOwnSettingsAddMisbehaviourButNeverTheDriverWindow) {
    Komun komun = rozid7::ReadKomun("HWND 77 0 0 0\r\nSIMULATE LATE 2\r\n");
    rozid7::ReadOwnSettings("HWND 5 0 0 0\r\nSIMULATE DROP 3\r\nSIMULATE SILENT\r\n",
                            komun.misbehaviour);
    EXPECT_EQ(komun.driver_window, 77u);
    EXPECT_EQ(komun.misbehaviour.late_ticks, 2);
    EXPECT_EQ(komun.misbehaviour.drop_every, 3);
    EXPECT_TRUE(komun.misbehaviour.silent);
}

TEST(Rozid7Core, ClosedByItsUserItSaysSoOnceAndTheTrafficStaysBounded) {
    Session s(Komun{});
    std::size_t viewed = 0;
    s.core.SetTrafficView([&](const std::string&) { ++viewed; });
    for (std::size_t i = 0; i < Core::kTrafficKept; ++i) s.core.Receive("QQ_RD 0B 01 01|");
    s.core.UserClose();
    s.core.UserClose();
    s.core.Tick();
    EXPECT_EQ(s.sent, std::vector<std::string>{"CLIENT CLOSED USER_CLOSE|"});
    EXPECT_EQ(viewed, Core::kTrafficKept + 1);
    EXPECT_EQ(s.core.traffic().size(), Core::kTrafficKept);
    EXPECT_EQ(s.core.traffic().back(), "< CLIENT CLOSED USER_CLOSE|");
}

}  // namespace
}  // namespace lm::test
