// Starting and stopping run mode, and the texts exchanged with the
// communication program.
#include <cstdio>

#include "base/cp1250.h"
#include "base/window_messages.h"
#include "online/command_queue.h"
#include "tests/driver/run_mode_fixture.h"

namespace lm::test {
namespace {

using RunModeExchange = RunModeFixture;

constexpr std::uint16_t kRunGrayed[] = {3000, 3004, 3002, 3003, 3006};

TEST_F(RunModeExchange, StartRunStartsTheProgramMinimisedAndGraysTheMenu) {
    Prepare();
    EnableLog();
    PARAM_ENTRY start = StartRun(0xFFFFFFFF);
    EXPECT_EQ(start.wparam1, 1);
    EXPECT_EQ(start.dlm_func, 0);
    ASSERT_EQ(fake_->programs.size(), 1u);
    EXPECT_EQ(fake_->programs[0].file, dir_.driver_dir_text() + "ROZID7.EXE");
    EXPECT_EQ(fake_->programs[0].parameters, "/DDE 0000");
    EXPECT_EQ(fake_->programs[0].directory, "");
    EXPECT_EQ(fake_->programs[0].show, ShowMode::Minimized);
    EXPECT_TRUE(Logged("CRC32 = 4294967295"));
    EXPECT_TRUE(window()["LabelRUN"].visible);
    EXPECT_TRUE(fake_->timer_running());
    EXPECT_TRUE(run().run_mode());
    for (std::uint16_t id : kRunGrayed) EXPECT_FALSE(MenuItemEnabled(id)) << id;
}

TEST_F(RunModeExchange, StartRunWithoutTheSettingsFileAsksForStopRunAndStartsNothing) {
    Prepare(false);
    PARAM_ENTRY start = StartRun(7);
    EXPECT_EQ(start.dlm_func, 8);
    EXPECT_EQ(start.wparam1, 1);
    ASSERT_EQ(fake_->boxes.size(), 2u);
    EXPECT_EQ(fake_->boxes[0].text, "Nenalezen soubor SETCOM.INI");
    EXPECT_EQ(fake_->boxes[1].text,
              "Chybí soubor nastavení komunikace.\rNelze provést připojení k regulátoru."_cp);
    EXPECT_TRUE(fake_->programs.empty());
    EXPECT_TRUE(run().run_mode());  // the host's StopRUN ends it
    EXPECT_TRUE(fake_->timer_running());
    for (std::uint16_t id : kRunGrayed) EXPECT_FALSE(MenuItemEnabled(id)) << id;
}

TEST_F(RunModeExchange, TheThreeCommandLinesOfTheProgramHaveNoWorkingFolder) {
    struct Row {
        std::uint16_t menu_item;  // 0: StartRUN
        const char* parameters;
        ShowMode show;
    };
    for (const Row row :
         {Row{0, "/DDE 0000", ShowMode::Minimized}, Row{3002, "/K", ShowMode::Normal},
          Row{3003, "/READALL", ShowMode::Normal}}) {
        SetUp();
        Prepare();
        if (row.menu_item == 0) {
            StartRun();
        } else {
            PARAM_ENTRY menu = Record(kMenuItem);
            menu.wparam1 = row.menu_item;
            Call(menu);
        }
        ASSERT_EQ(fake_->programs.size(), 1u) << row.parameters;
        EXPECT_EQ(fake_->programs[0].file, dir_.driver_dir_text() + "ROZID7.EXE");
        EXPECT_EQ(fake_->programs[0].parameters, row.parameters);
        EXPECT_EQ(fake_->programs[0].directory, "");
        EXPECT_EQ(fake_->programs[0].show, row.show);
        TearDown();
    }
}

TEST_F(RunModeExchange, KeyboardWithoutTheSettingsFileShowsTheErrorAndStartsNothing) {
    Prepare(false);
    PARAM_ENTRY menu = Record(kMenuItem);
    menu.wparam1 = 3002;
    Call(menu);
    EXPECT_TRUE(fake_->programs.empty());
    ASSERT_EQ(fake_->boxes.size(), 2u);
}

TEST_F(RunModeExchange, StopRunSaysCloseAndTheTimerRunsUntilTheProgramHasClosed) {
    Running();
    PARAM_ENTRY stop = Record(kStopRun);
    ASSERT_EQ(Call(stop), 1);
    EXPECT_EQ(stop.wparam1, 1);
    EXPECT_EQ(client_->received, std::vector<std::string>{"CLOSE|"});
    EXPECT_EQ(window()["Edit1"].text, "CLOSE|");
    EXPECT_FALSE(window()["LabelRUN"].visible);
    EXPECT_TRUE(MenuItemEnabled(3000));
    EXPECT_TRUE(MenuItemEnabled(3004));
    EXPECT_FALSE(MenuItemEnabled(3003));
    EXPECT_TRUE(fake_->timer_running());
    client_->Send("CLIENT CLOSED|");
    EXPECT_FALSE(fake_->timer_running());
}

TEST_F(RunModeExchange, ClientClosedStopsAndOnlyALineErrorFailsTheOrdersWithoutData) {
    struct Row {
        const char* text;
        bool fails;
    };
    for (const Row row : {Row{"CLIENT CLOSED|", false}, Row{"CLIENT CLOSED COM_ERROR|", true},
                          Row{"CLIENT CLOSED USER_CLOSE|", true}}) {
        SetUp();
        Prepare();
        StartRun();  // the program does not announce itself: commands wait
        EnableLog();
        Order(11, 1, 1, host_->handle(), 0, 1);
        Order(11, 2, 1, host_->handle(), 50, 2);
        client_->Send("QQ_RD 0B 02 01 05 00 00 00|");  // the second has data
        Ticks(2);
        ASSERT_EQ(run().commands().size(), 1u);
        host_->answers.clear();
        client_->Send(row.text);
        EXPECT_TRUE(run().commands().empty()) << row.text;
        EXPECT_FALSE(fake_->timer_running());
        EXPECT_EQ(window()["ProgressBarCom"].position, 0);
        EXPECT_EQ(run().com_error(), row.fails);
        EXPECT_EQ(Logged("All unfinished orders skiped - COM error"), row.fails);
        ASSERT_EQ(host_->answers.size(), row.fails ? 1u : 0u) << row.text;
        if (row.fails) {
            const auto& failed = host_->answers[0].record;
            EXPECT_EQ(failed.instance, 1);
            EXPECT_EQ(failed.valid, 0);
            EXPECT_EQ(failed.timeout, 1);
            EXPECT_EQ(failed.failed, 1);
        }
        TearDown();
    }
}

TEST_F(RunModeExchange, TheDriversOwnHandleNeverBecomesTheProgramsWindow) {
    Prepare();
    StartRun();
    EnableLog();
    const unsigned tolan = fake_->RegisterMessage(kMsgTolan);
    fake_->SendMessageTo(fake_->driver_window(), tolan, 0,
                         static_cast<std::intptr_t>(fake_->driver_window()));
    EXPECT_EQ(run().client_window(), 0u);
    client_->Announce();
    EXPECT_EQ(run().client_window(), client_->handle());
    client_->Send("LINE OK|", 1);
    EXPECT_EQ(window()["Edit1"].text, "LINE OK|");
    EXPECT_TRUE(Logged("WndProc - text #1 - LINE OK|"));
}

TEST_F(RunModeExchange, TextsThatAreNotAnswersAreShownAndIgnored) {
    Running();
    EnableLog();
    Order(11, 1, 1, host_->handle(), 50);
    const std::string unterminated(255, 'Q');
    for (const std::string& text :
         {std::string("QQ_RD 0B 01 01 0A 0B 0C |"), std::string("QQ_RD 0B 01 01 0A 0B 0C 0|"),
          std::string("QQ_RD 0B 01 01 0A 0B 0C 0D"), std::string("QQ_RD 0B 01 01 GG 0B 0C 0D|"),
          unterminated}) {
        client_->Send(text);
        EXPECT_EQ(window()["Edit2"].text, text);
    }
    client_->Send("QQ_RD 3F 01 01 0A 0B 0C 0D|");  // no such object
    EXPECT_TRUE(host_->answers.empty());
    EXPECT_TRUE(Logged("WndProc - QQ_RD: no order for the answer - dropped"));
    EXPECT_TRUE(Logged("WndProc - QQ_RD: not hexadecimal - ignored"));
}

TEST_F(RunModeExchange, AProgramThatVanishedIsForgottenAndItsTextsWaitForTheNextOne) {
    Running();
    EnableLog();
    client_->Vanish();
    SetData(11, 1, 1, 1);
    Ticks(2);
    EXPECT_EQ(run().client_window(), 0u);
    EXPECT_EQ(run().commands().size(), 1u);
    EXPECT_TRUE(Logged("MSG_TOLAN: LMKOMUN window gone - handle forgotten"));
    EXPECT_TRUE(Logged("TIMER Handle to LMKOMUN not defined !!!"));
    lumarsim::ScriptedProgram& next = peers_->AddProgram();
    next.Announce();
    Ticks(1);
    EXPECT_EQ(next.received, std::vector<std::string>{"QQ_WR 0B 01 01 01 00 00 00|"});
}

TEST_F(RunModeExchange, ShowHideTellsTheProgramOnlyInRunMode) {
    Prepare();
    client_->Announce();
    PARAM_ENTRY menu = Record(kMenuItem);
    menu.wparam1 = 3007;
    Call(menu);
    Call(menu);
    EXPECT_TRUE(client_->received.empty());
    StartRun();
    client_->Announce();
    Call(menu);
    Call(menu);
    EXPECT_EQ(client_->received, (std::vector<std::string>{"DIALOG HIDE|", "DIALOG SHOW|"}));
}

TEST_F(RunModeExchange, UnloadInRunModeSaysCloseEvenToAProgramThatIsGone) {
    Running();
    Call(kUnloadDriver);
    EXPECT_EQ(client_->received, std::vector<std::string>{"CLOSE|"});

    SetUp();
    Running();
    client_->Vanish();
    EXPECT_EQ(Call(kUnloadDriver), 1);
    EXPECT_EQ(TheEntry().driver(), nullptr);

    SetUp();
    Prepare();
    client_->Announce();
    Call(kUnloadDriver);  // not in run mode
    EXPECT_TRUE(client_->received.empty());
}

TEST_F(RunModeExchange, TheCloseOfStopRunReachesAProgramThatAnnouncesLate) {
    struct Row {
        const char* what;
        bool announced_before_stop;         // the program's window known at StopRUN
        bool closed_before_announce;        // "CLIENT CLOSED" came meanwhile
        bool unload;                        // the driver unloaded at the end
        std::vector<std::string> received;  // what the program got after StopRUN
    };
    const Row rows[] = {
        {"announced late", false, false, false, {"CLOSE|"}},
        {"announced late, then unload", false, false, true, {"CLOSE|", "CLOSE|"}},
        {"known at StopRUN, announced again", true, false, false, {"CLOSE|"}},
        {"known at StopRUN, unload before it closed", true, false, true, {"CLOSE|", "CLOSE|"}},
        {"closed before announcing", false, true, true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        std::filesystem::remove(LogFile());  // the rows share the folder
        Prepare();
        StartRun();
        if (row.announced_before_stop) client_->Announce();
        EnableLog();
        Order(11, 1, 1, host_->handle(), 0);
        SetData(11, 1, 1, 9);
        Ticks(3);  // without the program's window the read and the write wait
        client_->received.clear();
        PARAM_ENTRY stop = Record(kStopRun);
        ASSERT_EQ(Call(stop), 1);
        EXPECT_EQ(stop.wparam1, 1);
        EXPECT_EQ(stop.dlm_func, 0);
        Ticks(3);  // outside run mode the timer still runs
        if (row.closed_before_announce) client_->Send("CLIENT CLOSED|");
        client_->Announce();
        Ticks(3);
        if (row.unload) {
            EXPECT_EQ(Call(kUnloadDriver), 1);
        }
        EXPECT_EQ(client_->received, row.received);
        // The host hears nothing of it: no box, no value, no failure.
        EXPECT_TRUE(host_->answers.empty());
        EXPECT_TRUE(fake_->boxes.empty());
        if (!row.announced_before_stop && !row.closed_before_announce) {
            EXPECT_TRUE(Logged("WndProc - LMKOMUN announced after StopRUN - CLOSE sent"));
            EXPECT_TRUE(Logged("MSG_TOLAN: stale write dropped: QQ_WR 0B 01 01 09 00 00 00|"));
        }
        TearDown();
    }
}

TEST_F(RunModeExchange, StartRunDropsTheWritesLeftForAProgramThatVanished) {
    struct Row {
        std::uint32_t writes;
        bool with_read;  // an order's read waits too
    };
    for (const Row row : {Row{0, true}, Row{1, false}, Row{3, true}}) {
        SCOPED_TRACE(row.writes);
        SetUp();
        std::filesystem::remove(LogFile());  // the rows share the folder
        Running();
        EnableLog();
        client_->Vanish();  // gone without "CLIENT CLOSED"
        if (row.with_read) Order(11, 1, 1, host_->handle(), 0);
        for (std::uint32_t i = 0; i < row.writes; ++i) SetData(11, 1, 1, 0x10 + i);
        Ticks(2);
        ASSERT_EQ(run().commands().size(), row.writes + (row.with_read ? 1u : 0u));
        Call(kStopRun);
        StartRun();
        EXPECT_TRUE(run().commands().empty());
        auto log = LogLines();
        for (std::uint32_t i = 0; i < row.writes; ++i) {
            char line[80];
            std::snprintf(line, sizeof line,
                          "StartRUN: stale write dropped: QQ_WR 0B 01 01 %02X 00 00 00|", 0x10 + i);
            EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line;
        }
        EXPECT_EQ(
            std::count_if(log.begin(), log.end(),
                          [](const std::string& l) { return l.find("stale write") != l.npos; }),
            row.writes);
        lumarsim::ScriptedProgram& next = peers_->AddProgram();
        next.Announce();
        Ticks(3);
        for (const std::string& text : next.received)
            EXPECT_FALSE(text.starts_with("QQ_WR")) << text;
        // The order whose read was dropped is requested again at once.
        EXPECT_EQ(!next.received.empty(), row.with_read);
        TearDown();  // the programs go before the platform
    }
}

TEST_F(RunModeExchange, BadOrderCallsAreAnsweredWithoutHarm) {
    Running();
    PARAM_ENTRY no_period = OrderRecord(11, 1, 1, host_->handle(), 1);
    ASSERT_EQ(Call(no_period), 1);
    EXPECT_EQ(no_period.wparam1, 0);
    EXPECT_EQ(no_period.error, 0);
    EXPECT_TRUE(run().orders().empty());
    Order(11, 1, 1, host_->handle(), 0);  // no timeout word: pointer1 null
    EXPECT_EQ(run().orders().begin()->record.timeout, 0);
    PARAM_ENTRY set = Record(kSetData);  // data2 null
    set.wparam1 = 11;
    set.wparam2 = 1;
    set.lparam1 = 1;
    ASSERT_EQ(Call(set), 1);
    EXPECT_TRUE(run().commands().empty());
}

TEST_F(RunModeExchange, TheCommandQueueStaysBoundedWhileNoProgramListens) {
    Prepare();
    StartRun();
    for (std::uint32_t i = 0; i < kCommandQueueLimit + 100; ++i) SetData(11, 1, 1, i);
    EXPECT_EQ(run().commands().size(), kCommandQueueLimit);
}

TEST_F(RunModeExchange, ABurstOfTenThousandAnswersReachesTheHostOneByOne) {
    Running();
    Order(11, 1, 1, host_->handle(), 50);
    for (int i = 0; i < 10000; ++i) client_->Send("QQ_RD 0B 01 01 01 02 03 04|");
    EXPECT_EQ(host_->answers.size(), 10000u);
}

}  // namespace
}  // namespace lm::test
