// The about dialog headless: DIALOG.INI handed over, the globe's lap and the
// contact texts, the links under the mouse.
#include "dialogs/about_dlg.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "dialogs/dialog_ini.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"

namespace lm::dialogs {
namespace {

class AboutDialog : public ::testing::Test {
protected:
    TAboutDlg& Open(std::string_view label_table) {
        EXPECT_TRUE(WriteAboutDialogFile(files_, "D/", "VORTEL KADEX-RX7 LM-Driver\nverze 4.05",
                                         label_table));
        dialog_ = std::make_unique<TAboutDlg>(platform_, files_, "D/");
        return *dialog_;
    }
    ui::Rect Globe() { return (*dialog_)["zeme"].bounds; }

    test::MemoryFiles files_;
    test::FakePlatform platform_;
    std::unique_ptr<TAboutDlg> dialog_;
};

TEST_F(AboutDialog, ShowsWhatDialogIniHandsOver) {
    TAboutDlg& d = Open("(no_lab)");
    EXPECT_EQ(files_["D/DIALOG.INI"], "VORTEL KADEX-RX7 LM-Driver verze 4.05\r\n(no_lab)\r\n");
    EXPECT_EQ(d.caption, "O ovladači pro LUMAR"_cp);
    EXPECT_EQ(d["Label1"].text, "VORTEL KADEX-RX7 LM-Driver verze 4.05");
    EXPECT_FALSE(d["Label5"].visible);
    EXPECT_FALSE(d["LabelLAB"].visible);
    EXPECT_EQ(d.width, 440);  // the identification in bold fits
    EXPECT_EQ(d.height, 264);
    for (const char* frame : {"z1", "z2", "z3", "z4", "z5", "z6", "z7", "z8", "z9"}) {
        EXPECT_FALSE(d[frame].visible) << frame;
    }
    EXPECT_EQ(d["zeme"].picture, "D/ZEME1.BMP");
    EXPECT_EQ(Globe(), (ui::Rect{252, 98, 32, 32}));

    TAboutDlg& with_table = Open("TOPENI.LAB");
    EXPECT_TRUE(with_table["Label5"].visible);
    EXPECT_EQ(with_table["LabelLAB"].text, "TOPENI.LAB");

    // Without the file there is nothing to show, and no label table.
    files_.files.clear();
    TAboutDlg bare(platform_, files_, "D/");
    EXPECT_EQ(bare["Label1"].text, "");
    EXPECT_FALSE(bare["LabelLAB"].visible);
}

TEST_F(AboutDialog, TheGlobeGoesRoundItsEllipseAndTheContactTextsAlternate) {
    TAboutDlg& d = Open("(no_lab)");
    const std::string first = d["Label4"].text;
    struct Stop {
        int tick;
        ui::Rect globe;
        int frame;
    };
    // angle = 2 pi - tick pi / 48; left = 220 + 32 cos, top = 98 + 20 sin.
    const Stop stops[] = {
        {1, {252, 97, 32, 32}, 2},   // 32 cos = 31.93, 20 sin = -1.31
        {9, {247, 87, 32, 32}, 1},   // 26.61, -11.11
        {24, {220, 78, 32, 32}, 7},  // 3 pi / 2
        {48, {188, 98, 32, 32}, 4},  // pi
        {72, {220, 118, 32, 32}, 1}, {95, {252, 99, 32, 32}, 6},
    };
    int tick = 0;
    for (const Stop& stop : stops) {
        while (tick < stop.tick) {
            d.Fire("Timer1", ui::Event::Timer);
            ++tick;
        }
        SCOPED_TRACE(tick);
        EXPECT_EQ(Globe(), stop.globe);
        EXPECT_EQ(d.frame(), stop.frame);
        EXPECT_EQ(d["zeme"].picture, std::string("D/ZEME") + char('0' + stop.frame) + ".BMP");
        EXPECT_EQ(d["Label4"].text, first);
    }
    d.Fire("Timer1", ui::Event::Timer);  // tick 96: a lap
    EXPECT_EQ(Globe(), (ui::Rect{252, 98, 32, 32}));
    EXPECT_NE(d["Label4"].text, first);
    for (++tick; tick < 192; ++tick) d.Fire("Timer1", ui::Event::Timer);
    EXPECT_EQ(d["Label4"].text, first) << "and back after the next lap";
    EXPECT_EQ(d.frame(), 192 % 9 + 1);
}

TEST_F(AboutDialog, LinksLightUpUnderTheMouseAndOpenWithTheShell) {
    TAboutDlg& d = Open("(no_lab)");
    auto lit = [&](const char* link) {
        return d[link].underline && d[link].text_colour == ui::kBlue;
    };
    auto plain = [&](const char* link) {
        return !d[link].underline && d[link].text_colour == ui::kDefaultColour;
    };
    EXPECT_TRUE(plain("Label7") && plain("Label8"));
    d.Fire("Label7", ui::Event::MouseMove);
    EXPECT_TRUE(lit("Label7") && plain("Label8"));
    d.Fire("Label8", ui::Event::MouseMove);
    EXPECT_TRUE(plain("Label7") && lit("Label8"));
    d.Fire("TAboutDlg", ui::Event::MouseMove);
    EXPECT_TRUE(plain("Label7") && plain("Label8"));

    d.Fire("Label7", ui::Event::Click);
    d.Fire("Label8", ui::Event::Click);
    ASSERT_EQ(platform_.programs.size(), 2u);
    EXPECT_EQ(platform_.programs[0].file, std::string("mailto:") + kAboutEmail);
    EXPECT_EQ(platform_.programs[1].file, std::string("http://") + kAboutWeb);
    EXPECT_EQ(platform_.programs[1].show, ShowMode::Normal);
    d.Fire("OKBtn", ui::Event::Click);
    EXPECT_EQ(d.modal_result, ui::ModalResult::Ok);
}

}  // namespace
}  // namespace lm::dialogs
