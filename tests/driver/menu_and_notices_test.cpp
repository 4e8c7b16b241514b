// The driver menu, its actions, help on menu items and the host's notices.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1250.h"
#include "frame/driver_menu.h"
#include "tests/support/driver_fixture.h"
#include "tests/support/fault_platform.h"

namespace lm::test {
namespace {

using DriverMenu = DriverFixture;

PARAM_ENTRY MenuCall(std::uint16_t id) {
    PARAM_ENTRY record{};
    record.lmd_func = kMenuItem;
    record.wparam1 = id;
    record.error = 99;
    return record;
}

TEST_F(DriverMenu, GetMenuBuildsTheSixteenEntriesWithFourGrayed) {
    Load();
    PARAM_ENTRY record = Record(kGetMenu);
    ASSERT_EQ(Call(record), 1);
    const MenuHandle menu = record.lparam1;
    EXPECT_EQ(record.lparam2, 0u);
    EXPECT_STREQ(record.string1, "&KADEXline2");
    auto items = fake_->MenuItems(menu);
    ASSERT_EQ(items.size(), 16u);
    const std::uint16_t order[] = {3000, 3001, 3999, 3002, 3003, 3998, 3004, 3005,
                                   3997, 3006, 3009, 3996, 3010, 3995, 3007, 3008};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        EXPECT_EQ(item.entry.id, order[i]);
        EXPECT_EQ(item.entry.separator, item.entry.id >= 3900) << item.entry.id;
        const bool grayed = item.entry.id == 3002 || item.entry.id == 3003 ||
                            item.entry.id == 3005 || item.entry.id == 3006;
        EXPECT_EQ(item.enabled, !grayed) << item.entry.id;
        EXPECT_LE(item.entry.text.size(), 40u);
    }
    EXPECT_EQ(items[0].entry.text, "&Překlad"_cp);
    EXPECT_EQ(items[14].entry.text, "&Ukázat / Schovat okno ovladače"_cp);
}

TEST_F(DriverMenu, UnloadDestroysTheMenu) {
    Load();
    Call(kGetMenu);
    ASSERT_EQ(fake_->live_menus(), 1);
    Call(kUnloadDriver);
    EXPECT_EQ(fake_->live_menus(), 0);
}

TEST_F(DriverMenu, NetlistItemsAskTheHostForTheNetlistAndNetListFollowsThem) {
    struct Row {
        std::uint16_t id;
        BoxAnswer answer;  // for 3000's question
        bool asks;
        const char* menu_line;
        const char* netlist_line;
    };
    const Row rows[] = {
        {3001, BoxAnswer::Yes, true, "Menu ITEM - ack for NET text", "LM ENTRY: NetList to TEXT"},
        {3010, BoxAnswer::Yes, true, "Menu ITEM - ack for CW/CP output",
         "LM ENTRY: NetList to CW_OUT"},
        {3000, BoxAnswer::Yes, true, "Menu ITEM - ack for NET com", "LM ENTRY: NetList to LMKOMUN"},
        {3000, BoxAnswer::No, false, nullptr, "LM ENTRY: NetList to LMKOMUN"},
        // A question nobody saw: the host hears that nothing was exported.
        {3000, BoxAnswer::NotShown, false, "Menu ITEM - question box not shown, NET com not done",
         "LM ENTRY: NetList to LMKOMUN"},
    };
    for (const Row& row : rows) {
        SetUp();
        std::filesystem::remove(LogFile());
        Load();
        EnableLog();
        fake_->QueueAnswer(row.answer);
        PARAM_ENTRY menu = MenuCall(row.id);
        ASSERT_EQ(Call(menu), 1);
        EXPECT_EQ(menu.error, row.answer == BoxAnswer::NotShown ? 16 : 0);
        EXPECT_EQ(menu.dlm_func, row.asks ? 20 : 0) << row.id;
        EXPECT_EQ(menu.lmd_func, row.asks ? 20 : kMenuItem) << row.id;
        auto log = LogLines();
        if (row.menu_line != nullptr) {
            EXPECT_NE(std::find(log.begin(), log.end(), row.menu_line), log.end());
        }
        EXPECT_NE(std::find(log.begin(), log.end(), "Menu end"), log.end());
        EXPECT_EQ(fake_->boxes.size(), row.id == 3000 ? 1u : 0u);
        if (row.id == 3000) {
            EXPECT_EQ(fake_->boxes[0].text,
                      "Opravdu přeložit projekt a nahrát do systému RX7 ?"_cp);
        }
        PARAM_ENTRY netlist = Record(kNetList);
        EXPECT_EQ(Call(netlist), 1);
        log = LogLines();
        EXPECT_NE(std::find(log.begin(), log.end(), row.netlist_line), log.end());
        TearDown();
    }
}

TEST_F(DriverMenu, NetListAfterAnotherMenuItemDoesNothing) {
    Load();
    PARAM_ENTRY menu = MenuCall(3004);
    Call(menu);
    PARAM_ENTRY netlist = Record(kNetList);
    netlist.error = 5;
    EXPECT_EQ(Call(netlist), 0);
    EXPECT_EQ(netlist.error, 5);
    PARAM_ENTRY fresh = Record(kNetList);  // no menu action at all
    TearDown();
    SetUp();
    Load();
    EXPECT_EQ(Call(fresh), 0);
}

TEST_F(DriverMenu, ReadCmosStartsTheCommunicationProgram) {
    Load();
    PARAM_ENTRY menu = MenuCall(3003);
    Call(menu);
    ASSERT_EQ(fake_->programs.size(), 1u);
    EXPECT_EQ(fake_->programs[0].file, dir_.driver_dir_text() + "ROZID7.EXE");
    EXPECT_EQ(fake_->programs[0].parameters, "/READALL");
}

TEST_F(DriverMenu, ShowHideTogglesOnlyTheWindowsVisibility) {
    struct Row {
        const char* what;
        const char* startup;  // STARTUP.INI read by init objects; nullptr: not run
        bool minimise;        // the user minimises the window (its Button1)
        bool visible_first;   // after the first toggle
        ui::WindowState state;
    };
    const Row rows[] = {
        {"a normal window", nullptr, false, false, ui::WindowState::Normal},
        {"minimised by the user", nullptr, true, false, ui::WindowState::Minimized},
        {"hidden by HIDE_DIALOG", "HIDE_DIALOG ON\r\nLOGFILE OFF\r\n", false, true,
         ui::WindowState::Minimized},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        if (row.startup != nullptr) {
            UseSampleDriverDir();
            WriteFile(dir_.driver_dir() / "STARTUP.INI", row.startup);
        }
        Load();
        if (row.startup != nullptr) {
            ASSERT_EQ(Call(kInitObjects), 1);
        }
        if (row.minimise) {
            ASSERT_TRUE(window().Fire("Button1", ui::Event::Click));
        }
        PARAM_ENTRY menu = MenuCall(3007);
        Call(menu);
        EXPECT_EQ(window().visible, row.visible_first);
        EXPECT_EQ(window().state, row.state);
        Call(menu);
        EXPECT_EQ(window().visible, !row.visible_first);
        EXPECT_EQ(window().state, row.state);
        TearDown();
    }
}

TEST_F(DriverMenu, AMenuOrBitmapThatFailsIsLoggedAndTheHostGetsHandleZero) {
    struct Row {
        FaultKind kind;
        const char* line_start;  // the log line that tells it
        const char* line_end;
    };
    for (const Row row : {Row{FaultKind::Menu, "get menu: popup menu not created - handle 0", ""},
                          Row{FaultKind::Bitmap, "INS_BITMAP: ", " not loaded - handle 0"}}) {
        SCOPED_TRACE(FaultKindName(row.kind));
        SetUp();
        // The fake wrapped in a platform that fails the first call of the kind.
        auto fake = std::make_unique<FakePlatform>();
        fake->current_directory = dir_.path().string();
        fake->separator = static_cast<char>(std::filesystem::path::preferred_separator);
        fake_ = fake.get();
        auto faulty = std::make_unique<FaultPlatform>(std::move(fake));
        faulty->Arm({row.kind, 1, false});
        InstallPlatform(std::move(faulty));
        UseSampleDriverDir();
        WriteFile(dir_.driver_dir() / "STARTUP.INI", "LOGFILE ON\r\n");
        Load();
        PARAM_ENTRY init = Record(kInitObjects);
        ASSERT_EQ(Call(init), 1);
        PARAM_ENTRY menu = Record(kGetMenu);
        ASSERT_EQ(Call(menu), 1);
        if (row.kind == FaultKind::Menu) {
            EXPECT_EQ(menu.lparam1, 0u);
        }
        const std::string start = row.line_start, end = row.line_end;
        int told = 0;
        for (const std::string& line : LogLines()) {
            told += line.starts_with(start) && line.ends_with(end) &&
                    line.size() >= start.size() + end.size();
        }
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(fake_->boxes.empty());
        TearDown();
    }
}

TEST_F(DriverMenu, HelpMenuOpensContext10000PlusTheItem) {
    Load();
    PARAM_ENTRY help = Record(kHelpMenu);
    help.wparam1 = 3004;
    EXPECT_EQ(Call(help), 1);
    ASSERT_EQ(fake_->helps.size(), 1u);
    EXPECT_EQ(fake_->helps[0].file, dir_.driver_dir_text() + "LMRX7.HLP");
    EXPECT_EQ(fake_->helps[0].context, 13004);
}

TEST_F(DriverMenu, InfoMsgBitsAreHandledInOrderAndTheFirstThreeOnlyAnswer) {
    struct Row {
        std::uint32_t bits;
        bool send_enabled_after;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {0x41, true, {}},
        {0xC0, false, {"InfoMsg: SendMsg povoleno", "InfoMsg: SendMsg ignorovano"}},
        {0x130,
         true,
         {"InfoMsg: Zahajeno nacitani konstant", "InfoMsg: Graficky ukazatel nacitani zmenen",
          "InfoMsg: Ukonceno nacitani konstant"}},
        {0x80, false, {"InfoMsg: SendMsg ignorovano"}},
    };
    for (const Row& row : rows) {
        SetUp();
        std::filesystem::remove(LogFile());
        Load();
        EnableLog();
        PARAM_ENTRY info = Record(kInfoMsg);
        info.lparam1 = row.bits;
        info.error = 3;
        EXPECT_EQ(Call(info), 1);
        EXPECT_EQ(info.error, 0);
        EXPECT_EQ(TheEntry().wide().send_msg_enabled, row.send_enabled_after) << row.bits;
        std::vector<std::string> notices;
        for (const auto& line : LogLines()) {
            if (line.rfind("InfoMsg", 0) == 0 || line.rfind("LM ENTRY", 0) == 0) {
                notices.push_back(line);
            }
        }
        EXPECT_EQ(notices, row.lines) << row.bits;
        TearDown();
    }
}

TEST_F(DriverMenu, OrderServiceAnswersOne) {
    Load();
    PARAM_ENTRY order = Record(kOrderService);
    order.lparam1 = 77;
    order.error = 8;
    EXPECT_EQ(Call(order), 1);
    EXPECT_EQ(order.wparam1, 1);
    EXPECT_EQ(order.error, 0);
}

}  // namespace
}  // namespace lm::test
