// STARTUP.INI, DIALOG.INI and the start-up options dialog.
#include "frame/startup_options.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "dialogs/dialog_ini.h"
#include "frame/lm_tool.h"
#include "platform/system_files.h"
#include "tests/support/driver_fixture.h"
#include "tests/support/recording_log.h"

namespace lm::test {
namespace {

Files& SystemFiles() {
    static const std::unique_ptr<Files> files = MakeSystemFiles();
    return *files;
}

class RecordingLog : public LogSink {
public:
    bool enabled() const override { return true; }
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

TEST(StartupFile, ReadingFollowsKeywordsAndStopsAtABadValue) {
    struct Row {
        const char* content;
        bool ok;
        StartupOptions options;
        const char* label;
        const char* error_line;  // nullptr: none
    };
    const Row rows[] = {
        {"LOGFILE ON", true, {false, false, true}, "", nullptr},
        {"STATUS_DIALOG ON\r\nHIDE_DIALOG ON\r\nLAB tab1\r\nLOGFILE OFF\r\n",
         true,
         {true, true, false},
         "tab1",
         nullptr},
        {"HIDE_DIALOG on LOGFILE ON",
         false,
         {false, false, false},
         "",
         "error item HIDE_DIALOG, value = on"},
        {"LOGFILE ON STATUS_DIALOG 1 HIDE_DIALOG ON",
         false,
         {false, false, true},
         "",
         "error item STATUS_DIALOG, value = 1"},
        {"{ HIDE_DIALOG ON } LOGFILE ON", true, {false, false, true}, "", nullptr},
        {"SOMETHING ELSE LOGFILE ON", true, {false, false, true}, "", nullptr},
        {"", true, {false, false, false}, "", nullptr},
        {"logfile ON", true, {false, false, false}, "", nullptr},
        {"LOGFILE ON\r{ HIDE_DIALOG ON",
         false,
         {false, false, true},
         "",
         "STARTUP.INI ERROR: $DIRSTARTUP.INI:2:1: Neukoncena poznamka, chybi }"},
    };
    for (const Row& row : rows) {
        TempDir dir;
        WriteFile(dir.driver_dir() / "STARTUP.INI", row.content);
        StartupOptions options;
        std::string label;
        RecordingLog log;
        EXPECT_EQ(LoadStartup(SystemFiles(), dir.driver_dir_text(), label, 255, options, log),
                  row.ok)
            << row.content;
        EXPECT_EQ(options, row.options) << row.content;
        EXPECT_EQ(label, row.label) << row.content;
        ASSERT_GE(log.lines.size(), 2u);
        EXPECT_EQ(log.lines[0], "Load StartUp.Ini");
        EXPECT_EQ(log.lines[1], "file exists");
        if (row.error_line != nullptr) {
            std::string line = row.error_line;
            if (const auto at = line.find("$DIR"); at != std::string::npos)
                line.replace(at, 4, dir.driver_dir_text());
            EXPECT_EQ(log.lines.back(), line);
        } else {
            EXPECT_EQ(log.lines.size(), 2u) << row.content;
        }
    }
}

TEST(StartupFile, AMissingFileIsNotRead) {
    TempDir dir;
    StartupOptions options{true, true, true};
    std::string label;
    RecordingLog log;
    EXPECT_FALSE(LoadStartup(SystemFiles(), dir.driver_dir_text(), label, 255, options, log));
    EXPECT_EQ(options, (StartupOptions{true, true, true}));
    EXPECT_EQ(log.lines, std::vector<std::string>{"Load StartUp.Ini"});
}

TEST(StartupFile, SavedAsFourCrLfLinesAndReadBack) {
    TempDir dir;
    ASSERT_TRUE(SaveStartup(SystemFiles(), dir.driver_dir_text(), "(no_lab)", {true, false, true}));
    EXPECT_EQ(ReadFile(dir.driver_dir() / "STARTUP.INI"),
              "HIDE_DIALOG ON\r\nLOGFILE ON\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n");
    StartupOptions options;
    std::string label;
    NoLog log;
    EXPECT_TRUE(LoadStartup(SystemFiles(), dir.driver_dir_text(), label, 255, options, log));
    EXPECT_EQ(options, (StartupOptions{true, false, true}));
    EXPECT_EQ(label, "(no_lab)");
}

TEST(StartupDialogFile, OnlyTheNumberOneCountsAsOn) {
    struct Row {
        const char* content;
        StartupOptions options;
    };
    const Row rows[] = {
        {"1\r\n0\r\n1\r\n", {true, false, true}},
        {"0\r\n1\r\n0\r\n", {false, true, false}},
        {"01\r\nyes\r\n2\r\n", {true, false, false}},
        {"1\r\n", {true, false, false}},
        {"", {false, false, false}},
    };
    for (const Row& row : rows) {
        TempDir dir;
        WriteFile(dir.driver_dir() / "DIALOG.INI", row.content);
        EXPECT_EQ(dialogs::ReadStartupDialogFile(SystemFiles(), dir.driver_dir_text()), row.options)
            << row.content;
    }
    TempDir dir;
    ASSERT_TRUE(
        dialogs::WriteStartupDialogFile(SystemFiles(), dir.driver_dir_text(), {false, true, true}));
    EXPECT_EQ(ReadFile(dir.driver_dir() / "DIALOG.INI"), "0\r\n1\r\n1\r\n");
}

TEST(StartupDialog, SizedFromItsMarkerAndCheckedFromDialogIni) {
    TempDir dir;
    WriteFile(dir.driver_dir() / "DIALOG.INI", "1\r\n0\r\n1\r\n");
    TFormLMTool dialog(SystemFiles(), dir.driver_dir_text());
    EXPECT_EQ(dialog.width, 256);
    EXPECT_EQ(dialog.height, 145);
    EXPECT_EQ(dialog.caption, "Ovladač po startu..."_cp);
    EXPECT_TRUE(dialog["CHB_hidedialog"].checked);
    EXPECT_FALSE(dialog["CHB_statusdialog"].checked);
    EXPECT_TRUE(dialog["CHB_logfile"].checked);
    dialog["CHB_statusdialog"].checked = true;
    dialog.Fire("ButtonOK", ui::Event::Click);
    EXPECT_EQ(dialog.modal_result, ui::ModalResult::Ok);
    EXPECT_EQ(ReadFile(dir.driver_dir() / "DIALOG.INI"), "1\r\n1\r\n1\r\n");
}

using StartupMenu = DriverFixture;

TEST_F(StartupMenu, TheDialogRewritesStartupIniWithEitherButton) {
    struct Row {
        const char* button;
        bool log_after;
    };
    for (const Row row : {Row{"ButtonOK", true}, Row{"ButtonZpet", false}}) {
        SetUp();
        Load();
        std::filesystem::remove(dir_.driver_dir() / "STARTUP.INI");
        fake_->modal_scripts.push_back([&](ui::Form& form) {
            EXPECT_FALSE(form["CHB_logfile"].checked);
            form["CHB_logfile"].checked = true;
            form.Fire(row.button, ui::Event::Click);
        });
        PARAM_ENTRY menu = Record(kMenuItem);
        menu.wparam1 = 3009;
        ASSERT_EQ(Call(menu), 1);
        EXPECT_EQ(fake_->modal_forms, std::vector<std::string>{"TFormLMTool"});
        EXPECT_EQ(driver().startup().log_file, row.log_after) << row.button;
        EXPECT_EQ(ReadFile(dir_.driver_dir() / "STARTUP.INI"),
                  std::string("HIDE_DIALOG OFF\r\nLOGFILE ") + (row.log_after ? "ON" : "OFF") +
                      "\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n")
            << row.button;
        EXPECT_FALSE(TheEntry().wide().log.enabled()) << "takes effect at the next init objects";
        TearDown();
    }
}

}  // namespace
}  // namespace lm::test
