// TCWOutDlg headless: the first channel's checks keeping the dialog open, the
// run box following CheckBoxCW, the tick buttons and the choice read back.
#include "dialogs/cw_out_dlg.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "tests/support/fake_platform.h"

namespace lm::dialogs {
namespace {

TEST(TCWOutDlg, FirstChannelFrom1To65000) {
    struct Case {
        const char* text;
        bool accepted;
    };
    const Case cases[] = {{"1", true},      {"65000", true}, {"100", true}, {"0", false},
                          {"65001", false}, {"abc", false},  {"", false},   {"-5", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::FakePlatform platform;
        TCWOutDlg dlg(platform);
        dlg["EditOdKanalu"].text = c.text;
        dlg.OKBtnClick();
        EXPECT_EQ(dlg.modal_result, c.accepted ? ui::ModalResult::Ok : ui::ModalResult::None);
        if (c.accepted) {
            EXPECT_TRUE(platform.boxes.empty());
            EXPECT_EQ(std::to_string(dlg.Choice().first_channel), c.text);
        } else {
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text,
                      "Chyba zadání počátečního kanálu.\rMusí být číslo v rozsahu 1-65000."_cp);
        }
    }
}

TEST(TCWOutDlg, RunOnlyWithTheCwFile) {
    test::FakePlatform platform;
    TCWOutDlg dlg(platform);
    EXPECT_FALSE(dlg.Choice().run);  // not ticked at first
    dlg["CheckBoxCWrun"].checked = true;
    EXPECT_TRUE(dlg.Choice().run);
    dlg["CheckBoxCW"].checked = false;
    dlg.CheckBoxCWClick();
    EXPECT_FALSE(dlg["CheckBoxCWrun"].enabled);
    EXPECT_FALSE(dlg.Choice().run);
    dlg["CheckBoxCW"].checked = true;
    dlg.CheckBoxCWClick();
    EXPECT_TRUE(dlg["CheckBoxCWrun"].enabled);
}

TEST(TCWOutDlg, ChoiceAndTicks) {
    test::FakePlatform platform;
    TCWOutDlg dlg(platform);
    dlg.SetItems({"A.1.X (READ word)", "A.1.Y (WRITE byte)"});
    EXPECT_EQ(dlg.Ticks(), (std::vector<bool>{true, true}));
    dlg.Button1Click();
    EXPECT_EQ(dlg.Ticks(), (std::vector<bool>{false, false}));
    dlg["CheckListBox1"].item_checks[1] = true;
    EXPECT_EQ(dlg.Ticks(), (std::vector<bool>{false, true}));
    dlg.Button2Click();
    EXPECT_EQ(dlg.Ticks(), (std::vector<bool>{true, true}));

    dlg.SetFileNames({"p.par", "d.dmf", "c.cw", "x.cp"});
    dlg["RadioButton1"].checked = false;
    dlg["RadioButton2"].checked = true;
    const CwExportChoice choice = dlg.Choice();
    EXPECT_EQ(choice.paths, (std::array<std::string, 4>{"p.par", "d.dmf", "c.cw", "x.cp"}));
    EXPECT_EQ(choice.create, (std::array<bool, 4>{true, true, true, false}));
    EXPECT_TRUE(choice.append);
    EXPECT_TRUE(choice.show);
    EXPECT_EQ(choice.first_channel, 100);
}

}  // namespace
}  // namespace lm::dialogs

namespace lm::dialogs {
namespace {

TEST(TCWOutDlg, ListButtonsAskForTheName) {
    struct Case {
        void (TCWOutDlg::*click)();
        const char* field;
        const char* filter;
        std::string title;
    };
    const Case cases[] = {
        {&TCWOutDlg::ButtonListPARClick, "EditPARname", "PAR soubory|*.PAR",
         std::string("Uložit jako .PAR soubor..."_cp)},
        {&TCWOutDlg::ButtonListDMFClick, "EditDMFname", "DMF soubory|*.DMF",
         std::string("Uložit jako .DMF soubor..."_cp)},
        {&TCWOutDlg::ButtonListCWClick, "EditCWname", "CW soubory|*.CW", ""},
        {&TCWOutDlg::ButtonListCPClick, "EditCPName", "CP soubory|*.CP", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        test::FakePlatform platform;
        TCWOutDlg dlg(platform);
        dlg[c.field].text = "d:\\old.x";
        (dlg.*c.click)();  // cancelled: the name stays
        EXPECT_EQ(dlg[c.field].text, "d:\\old.x");
        platform.save_answers.push_back("e:\\new.x");
        (dlg.*c.click)();
        EXPECT_EQ(dlg[c.field].text, "e:\\new.x");
        ASSERT_EQ(platform.save_dialogs.size(), 2u);
        EXPECT_EQ(platform.save_dialogs[1].file_name, "d:\\old.x");
        EXPECT_EQ(platform.save_dialogs[1].filter, c.filter);
        EXPECT_EQ(platform.save_dialogs[1].title, c.title);
    }
}

}  // namespace
}  // namespace lm::dialogs
