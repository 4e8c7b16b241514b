// The netlist exports as the host asks for them through the entry: the menu
// commands 3000, 3001 and 3002 and the NetList call that follows them.
#include <algorithm>
#include <filesystem>

#include "base/cp1250.h"
#include "dialogs/cw_out_dlg.h"
#include "tests/driver/run_mode_fixture.h"

namespace lm::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kMissingSettings =
    "Chybí soubor nastavení komunikace.\rNelze provést připojení k regulátoru."_cp;

class NetlistCalls : public RunModeFixture {
protected:
    // The host's netlist: PUMP 1 with the constant 5 in its LONG item SPEED.
    NetlistCalls() {
        speed_.level = 2;
        speed_.item = 1;
        speed_.data = value_;
        speed_.length = sizeof value_;
        pump_.ident = 11;
        pump_.instance = 1;
        pump_.constants = &speed_;
    }

    PARAM_ENTRY Menu(std::uint16_t id) {
        PARAM_ENTRY menu = Record(kMenuItem);
        menu.wparam1 = id;
        EXPECT_EQ(Call(menu), 1);
        return menu;
    }
    // NetList with the checksum 305419896; its result.
    int NetList() {
        PARAM_ENTRY netlist = Record(kNetList);
        netlist.error = 99;
        netlist.lparam1 = 305419896;
        netlist.pointer1 = &pump_;
        const int result = Call(netlist);
        if (result == 1) {
            EXPECT_EQ(netlist.error, 0);
        }
        return result;
    }
    // A table row in the same folder: no files of the row before.
    void PrepareRow(bool with_setcom) {
        SetUp();
        for (const char* name : {"SETCOM.INI", "LMKOMUN.INI", "NETLIST.TXT"})
            std::filesystem::remove(dir_.driver_dir() / name);
        Prepare(with_setcom);
    }
    Lines DriverFileLines(const char* name) {
        return SplitCrLf(ReadFile(dir_.driver_dir() / name));
    }
    std::string HwndLine() {
        const ui::Form& form = window();
        return "HWND " + std::to_string(driver().window().handle()) + " " +
               std::to_string(form.left) + " " + std::to_string(form.top) + " " +
               std::to_string(form.height);
    }

    unsigned char value_[4] = {5, 0, 0, 0};
    dLMN_CONST speed_{};
    dLMN_NODE pump_{};
};

TEST_F(NetlistCalls, TranslateWritesLmkomunAndStartsTheProgramOnlyWithTheSettingsFile) {
    for (const bool with_setcom : {true, false}) {
        SCOPED_TRACE(with_setcom ? "SETCOM.INI" : "no SETCOM.INI");
        PrepareRow(with_setcom);
        fake_->QueueAnswer(BoxAnswer::Yes);
        EXPECT_EQ(Menu(3000).dlm_func, 20);
        EXPECT_EQ(NetList(), 1);
        if (with_setcom) {
            // The constant, then the eight lines of PUMP 1's string LABEL ("x").
            const Lines lines = DriverFileLines("LMKOMUN.INI");
            ASSERT_EQ(lines.size(), 9u + 8u);
            EXPECT_EQ(Lines(lines.begin(), lines.begin() + 10),
                      (Lines{"port 1 38400", "rs232", "address 1", "retranslation 1", "TIMEOUT 1.5",
                             "FIRMWARE 0 0", HwndLine(), "CRC32 = 305419896",
                             "QQwrite  11   1   1   5   0   0   0",
                             "QQwrite  11   1   3 120   0  32  32"}));
            // The question, then the one box of what LMKOMUN.INI could not
            // carry: TAIL's eight lines would need items 250 to 257.
            ASSERT_EQ(fake_->boxes.size(), 2u);
            EXPECT_EQ(fake_->boxes[1].text,
                      "Soubor LMKOMUN.INI je zapsán bez příkazů, které nelze předat regulátoru.\r"
                      "Vynechané příkazy: 1\rPUMP.1.TAIL: položky 250 až 257 > 255"_cp);
            ASSERT_EQ(fake_->programs.size(), 1u);
            EXPECT_EQ(fake_->programs[0].file, dir_.driver_dir_text() + "ROZID7.EXE");
            EXPECT_EQ(fake_->programs[0].parameters, "");
        } else {
            EXPECT_TRUE(std::filesystem::exists(dir_.driver_dir() / "LMKOMUN.INI"));
            EXPECT_EQ(ReadFile(dir_.driver_dir() / "LMKOMUN.INI"), "");
            ASSERT_EQ(fake_->boxes.size(), 3u);
            EXPECT_EQ(fake_->boxes[1].text, "Nenalezen soubor SETCOM.INI");
            EXPECT_EQ(fake_->boxes[2].kind, BoxKind::Error);
            EXPECT_EQ(fake_->boxes[2].text, kMissingSettings);
            EXPECT_TRUE(fake_->programs.empty());
        }
        TearDown();
    }
}

TEST_F(NetlistCalls, KeyboardStartsTheProgramWithKOnlyWhenTheFileWasWritten) {
    for (const bool with_setcom : {true, false}) {
        SCOPED_TRACE(with_setcom ? "SETCOM.INI" : "no SETCOM.INI");
        PrepareRow(with_setcom);
        EXPECT_EQ(Menu(3002).dlm_func, 0) << "no netlist asked for";
        if (with_setcom) {
            const Lines lines = DriverFileLines("LMKOMUN.INI");
            ASSERT_EQ(lines.size(), 8u);
            EXPECT_EQ(lines[6], HwndLine());
            EXPECT_EQ(lines[7], "CRC32 = 0");
            ASSERT_EQ(fake_->programs.size(), 1u);
            EXPECT_EQ(fake_->programs[0].parameters, "/K");
            EXPECT_TRUE(fake_->boxes.empty());
        } else {
            EXPECT_EQ(ReadFile(dir_.driver_dir() / "LMKOMUN.INI"), "");
            EXPECT_TRUE(fake_->programs.empty());
            ASSERT_EQ(fake_->boxes.size(), 2u);
            EXPECT_EQ(fake_->boxes[1].text, kMissingSettings);
        }
        // 3002 chooses no export: a NetList after it does nothing.
        EXPECT_EQ(NetList(), 0);
        TearDown();
    }
}

TEST_F(NetlistCalls, NetlistWritesTheListingAndOpensNotepadEachTimeTheHostAsks) {
    Prepare();
    EXPECT_EQ(Menu(3001).dlm_func, 20);
    for (int call = 1; call <= 2; ++call) {
        EXPECT_EQ(NetList(), 1);
        const Lines lines = DriverFileLines("NETLIST.TXT");
        EXPECT_NE(std::find(lines.begin(), lines.end(), "CRC32 = 305419896"), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), "object number 11, Jmeno=PUMP, instance=1"),
                  lines.end());
        ASSERT_EQ(fake_->programs.size(), static_cast<std::size_t>(call));
        EXPECT_EQ(fake_->programs.back().file, "NOTEPAD");
        EXPECT_EQ(fake_->programs.back().parameters, dir_.driver_dir_text() + "NETLIST.TXT");
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.driver_dir() / "LMKOMUN.INI"));
    EXPECT_TRUE(fake_->boxes.empty());
}

TEST_F(NetlistCalls, NetListAfterAMenuCommandThatChoosesNoExportAnswersFalse) {
    for (const std::uint16_t id : {3003, 3004, 3007}) {
        SCOPED_TRACE(id);
        PrepareRow(true);
        Menu(3001);
        Menu(id);
        const std::size_t programs = fake_->programs.size();
        EXPECT_EQ(NetList(), 0);
        EXPECT_EQ(fake_->programs.size(), programs);
        EXPECT_FALSE(std::filesystem::exists(dir_.driver_dir() / "NETLIST.TXT"));
        TearDown();
    }
}

TEST_F(NetlistCalls, CwOutputShowsTheItemsWithTheNetlistsValuesAndWritesTheTickedOnes) {
    struct Row {
        const char* name;
        bool ok;  // OK pressed with PUMP 1's SPEED ticked, else Cancel
    };
    for (const Row& row : {Row{"OK", true}, Row{"Cancel", false}}) {
        SCOPED_TRACE(row.name);
        PrepareRow(true);
        EnableLog();
        const std::string cw = (dir_.driver_dir() / "K.CW").string();
        std::filesystem::remove(cw);
        std::vector<std::string> entries;
        fake_->modal_scripts.push_back([&](ui::Form& form) {
            auto& dlg = static_cast<dialogs::TCWOutDlg&>(form);
            entries = dlg["CheckListBox1"].items;
            for (const char* box : {"CheckBoxPAR", "CheckBoxDMF", "CheckBoxShow"})
                dlg[box].checked = false;
            dlg["EditCWname"].text = cw;
            if (row.ok) {
                dlg.OKBtnClick();
            } else {
                dlg.Close(ui::ModalResult::Cancel);
            }
        });
        EXPECT_EQ(Menu(3010).dlm_func, 20);
        EXPECT_EQ(NetList(), 1);
        EXPECT_EQ(entries, (Lines{"PUMP.1.SPEED (READ longint)", "PUMP.2.SPEED (READ longint)"}));
        EXPECT_EQ(driver().cw_output().file_names()[2], row.ok ? cw : "c:\\novy.cw");
        if (row.ok) {
            const std::string text = ReadFile(cw);
            EXPECT_NE(text.find("  PUMP_1_SPEED = longint, 100, kadex, input;\r\n"),
                      std::string::npos);
            EXPECT_NE(text.find("  PUMP_2_SPEED = longint, 101, kadex, input;\r\n"),
                      std::string::npos);
        } else {
            EXPECT_FALSE(std::filesystem::exists(cw));
        }
        const Lines log = LogLines();
        for (const char* line : {"LM ENTRY: NetList to CW_OUT", "   CRC32 = 305419896",
                                 "CW_OUT data from net to project"}) {
            EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
        }
        TearDown();
    }
}

}  // namespace
}  // namespace lm::test
