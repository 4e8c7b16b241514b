// The driver window: creation, buttons, the driver directory, registrations.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1250.h"
#include "base/window_messages.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

using DriverWindow = DriverFixture;

TEST_F(DriverWindow, CreationSetsTheWindowUpAsTheTableSays) {
    fake_->SetScreen({1280, 1024});
    Load();
    ui::Form& w = window();
    EXPECT_EQ(w.caption, "Lumar: KADEX line 2");
    EXPECT_EQ(w["LabelName"].text, "KADEX line 2");
    EXPECT_EQ(w["LabelName2"].text, "verze 4.05 ze dne 1.12.2005");
    EXPECT_FALSE(w["CheckHra"].visible);
    EXPECT_FALSE(w["LabelRUN"].visible);
    EXPECT_EQ(w["ButtonStatus"].text, "Status >>");
    EXPECT_EQ(w.height, 161);
    EXPECT_EQ(w.left, 1280 - w.width);
    EXPECT_EQ(w.top, 0);
    EXPECT_FALSE(w.border_icons);
    EXPECT_TRUE(w["lBase"].text.empty());
    EXPECT_EQ(w["LabelSetCom"].text, "RS232, COM1, 38400Bd, adr=1, tout=1,5s");  // the sample's
    EXPECT_FALSE(w["CheckLog"].checked);
    EXPECT_FALSE(TheEntry().wide().log.enabled());
    EXPECT_EQ(driver().cw_output().file_names()[0], "c:\\novy.par");
    EXPECT_EQ(driver().cw_output().file_names()[3], "c:\\novy.cp");
}

TEST_F(DriverWindow, ComponentsSitWhereTheResourcePutsThem) {
    Load();
    struct Row {
        const char* name;
        ui::Rect bounds;
    };
    const Row rows[] = {
        {"Image1", {180, 6, 32, 32}},      {"LabelName", {8, 0, 165, 13}},
        {"LabelName2", {8, 12, 137, 13}},  {"lBase", {8, 24, 59, 13}},
        {"LabelSetCom", {8, 40, 63, 13}},  {"ProgressBarCom", {8, 56, 223, 16}},
        {"LabelRUN", {8, 80, 99, 13}},     {"CheckHra", {120, 80, 57, 17}},
        {"CheckLog", {200, 80, 41, 17}},   {"ButtonAbout", {8, 104, 70, 25}},
        {"ButtonHelp", {85, 104, 70, 25}}, {"ButtonStatus", {162, 104, 70, 25}},
        {"Button1", {219, 0, 17, 17}},     {"Memo1", {8, 136, 225, 121}},
        {"ButtonClear", {8, 264, 75, 25}}, {"Edit1", {8, 296, 225, 21}},
        {"Edit2", {8, 320, 225, 21}},
    };
    for (const Row& row : rows) EXPECT_EQ(window()[row.name].bounds, row.bounds) << row.name;
    EXPECT_TRUE(window()["LabelName"].bold);
    EXPECT_TRUE(window()["LabelRUN"].bold);
    EXPECT_EQ(window()["LabelRUN"].text_colour, ui::kYellow);
    EXPECT_EQ(window()["LabelRUN"].back_colour, ui::kRed);
    EXPECT_EQ(window()["LabelRUN"].text, "  REŽIM \"RUN\"  "_cp);
    EXPECT_FALSE(window()["Edit1"].enabled);
    EXPECT_TRUE(window()["Memo1"].read_only);
}

TEST_F(DriverWindow, StatusButtonOpensAndClosesTheStatusPart) {
    Load();
    window().Fire("ButtonStatus", ui::Event::Click);
    EXPECT_EQ(window().height, 375);
    EXPECT_EQ(window()["ButtonStatus"].text, "<< Status");
    window().Fire("ButtonStatus", ui::Event::Click);
    EXPECT_EQ(window().height, 161);
    EXPECT_EQ(window()["ButtonStatus"].text, "Status >>");
}

TEST_F(DriverWindow, UnderscoreButtonMinimises) {
    Load();
    window().Fire("Button1", ui::Event::Click);
    EXPECT_EQ(window().state, ui::WindowState::Minimized);
}

TEST_F(DriverWindow, ClearAsksBeforeDeletingTheLogFile) {
    struct Row {
        BoxAnswer answer;
        bool file_kept;
    };
    for (const Row row : {Row{BoxAnswer::Yes, false}, Row{BoxAnswer::No, true}}) {
        SetUp();
        Load();
        EnableLog();
        Call(kErrText);
        ASSERT_TRUE(std::filesystem::exists(LogFile()));
        fake_->QueueAnswer(row.answer);
        window().Fire("ButtonClear", ui::Event::Click);
        EXPECT_TRUE(MemoLines().empty());
        ASSERT_EQ(fake_->boxes.size(), 1u);
        EXPECT_EQ(fake_->boxes[0].kind, BoxKind::Question);
        EXPECT_EQ(fake_->boxes[0].text, "Smazat také .LOG soubor na disku ?"_cp);
        EXPECT_EQ(fake_->beeps, 1);
        EXPECT_EQ(std::filesystem::exists(LogFile()), row.file_kept);
        TearDown();
        std::filesystem::remove(LogFile());
    }
}

TEST_F(DriverWindow, ClearWithoutALogFileAsksNothing) {
    Load();
    window().Fire("ButtonClear", ui::Event::Click);
    EXPECT_TRUE(fake_->boxes.empty());
    EXPECT_EQ(fake_->beeps, 0);
    EXPECT_TRUE(MemoLines().empty());
}

TEST_F(DriverWindow, HelpButtonOpensContext1OfTheDriverHelpFile) {
    Load();
    window().Fire("ButtonHelp", ui::Event::Click);
    ASSERT_EQ(fake_->helps.size(), 1u);
    EXPECT_EQ(fake_->helps[0].file, dir_.driver_dir_text() + "LMRX7.HLP");
    EXPECT_EQ(fake_->helps[0].context, 1);
}

TEST_F(DriverWindow, DriverDirectoryIsTheCurrentDirectoryWithOvladaceKadex2) {
    struct Row {
        const char* current;
        char separator;
        const char* driver_dir;
    };
    const Row rows[] = {
        {"C:\\W", '\\', "C:\\W\\OVLADACE\\KADEX2\\"},
        {"C:\\", '\\', "C:\\\\OVLADACE\\KADEX2\\"},  // a drive root doubles the separator
        {"/home/u/lumar", '/', "/home/u/lumar/OVLADACE/KADEX2/"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DriverDirectoryOf(row.current, row.separator), row.driver_dir);
        fake_->current_directory = row.current;
        fake_->separator = row.separator;
        Load();
        EXPECT_EQ(TheEntry().wide().driver_dir, row.driver_dir);
        EXPECT_EQ(MemoLines()[1], "Adresář="_cp + row.driver_dir);
        ASSERT_EQ(Call(kUnloadDriver), 1);
    }
}

TEST_F(DriverWindow, FailedRegistrationsAreReportedWithTheirBoxes) {
    fake_->failing_registrations = {kMsgRecToLmr, kMsgLumarService, kMsgTolan};
    Load();
    ASSERT_EQ(fake_->boxes.size(), 2u);  // MSG_TOLAN fails silently
    EXPECT_EQ(fake_->boxes[0].text,
              "CHYBA REGISTRACE FUNKCE \"REC_TO_LMR\". RUN-režim nebude fungovat !"_cp);
    EXPECT_EQ(fake_->boxes[1].text, "CHYBA REGISTRACE FUNKCE \"LUMAR_SERVICE\" !");
    EXPECT_EQ(TheEntry().wide().msg_rec_to_lmr, 0u);
}

TEST_F(DriverWindow, TheThreeMessagesAreRegisteredByName) {
    Load();
    auto& wide = TheEntry().wide();
    EXPECT_EQ(wide.msg_rec_to_lmr, fake_->RegisterMessage(kMsgRecToLmr));
    EXPECT_EQ(wide.msg_lumar_service, fake_->RegisterMessage(kMsgLumarService));
    EXPECT_EQ(wide.msg_tolan, fake_->RegisterMessage(kMsgTolan));
    EXPECT_NE(wide.msg_tolan, 0u);
    EXPECT_TRUE(fake_->boxes.empty());
}

TEST_F(DriverWindow, MemoKeepsABoundedNumberOfLines) {
    Load();
    for (std::size_t i = 0; i < kMemoLineLimit + 10; ++i) driver().window().AddMemoLine("line");
    EXPECT_LE(MemoLines().size(), kMemoLineLimit);
    EXPECT_EQ(MemoLines().back(), "line");
}

}  // namespace
}  // namespace lm::test
