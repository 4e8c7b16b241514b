// Files the driver writes failing at open, in the middle and at close (the log,
// STARTUP.INI and DIALOG.INI), and the log file deleted or renamed while the
// driver runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/cp1250.h"
#include "frame/startup_options.h"
#include "tests/support/driver_fixture.h"

namespace lm::test {
namespace {

namespace fs = std::filesystem;

class FileFaults : public DriverFixture {
protected:
    FaultyFiles& faults() { return fake_->faulty_files; }
    // One errtext call with logging on; the memo lines it added.
    std::vector<std::string> LoggedCall() {
        const std::size_t before = MemoLines().size();
        EXPECT_EQ(Call(kErrText), 1);
        return {MemoLines().begin() + static_cast<std::ptrdiff_t>(before), MemoLines().end()};
    }
    // The lines as the log file holds them.
    std::string Stamped(const std::vector<std::string>& lines) const {
        std::string text;
        for (const auto& line : lines) text += fake_->date_time + " | " + line + "\r\n";
        return text;
    }
    std::string InDriverDir(const std::string& name) const {
        return (dir_.driver_dir() / name).string();
    }
    bool EndsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }
};

TEST_F(FileFaults, ALogFileThatFailsLosesNoEarlierLineAndResumes) {
    struct Row {
        FileFault fault;
        int faulty_calls;
    };
    const std::vector<Row> rows = {
        {{FileOp::Open, "LMDRIVER.LOG"}, 1},
        {{FileOp::Write, "LMDRIVER.LOG", 5}, 1},
        {{FileOp::Close, "LMDRIVER.LOG"}, 1},
        {{FileOp::Open, "LMDRIVER.LOG", 1, true}, 2},
        {{FileOp::Write, "LMDRIVER.LOG", 5, true}, 2},
        {{FileOp::Close, "LMDRIVER.LOG", 1, true}, 2},
    };
    for (const Row& row : rows) {
        SetUp();
        fs::remove(LogFile());
        Load();
        EnableLog();
        const std::vector<std::string> first = LoggedCall();
        const std::string earlier = ReadFile(LogFile());
        ASSERT_EQ(earlier, Stamped(first));
        faults().Add(row.fault);
        for (int call = 0; call < row.faulty_calls; ++call) {
            const int opens = faults().Seen(FileOp::Open, "LMDRIVER.LOG");
            EXPECT_EQ(LoggedCall().size(), first.size()) << "the memo keeps every line";
            EXPECT_LE(faults().Seen(FileOp::Open, "LMDRIVER.LOG") - opens,
                      static_cast<int>(first.size()))
                << "at most one open a line";
        }
        const std::string during = ReadFile(LogFile());
        EXPECT_EQ(during.substr(0, earlier.size()), earlier);
        faults().Clear();
        const std::vector<std::string> after = LoggedCall();
        const std::string resumed = ReadFile(LogFile());
        EXPECT_EQ(resumed.substr(0, during.size()), during);
        EXPECT_TRUE(EndsWith(resumed, Stamped(after)));
        TearDown();
    }
}

TEST_F(FileFaults, ALogPathThatCannotBeAFileLeavesTheDriverWorkingUntilItCanAgain) {
    Load();
    EnableLog();
    LoggedCall();
    fs::remove(LogFile());
    fs::create_directory(LogFile());  // a folder where the file should be
    EXPECT_GT(LoggedCall().size(), 30u);
    fs::remove(LogFile());
    const std::vector<std::string> after = LoggedCall();
    EXPECT_EQ(ReadFile(LogFile()), Stamped(after));
}

TEST_F(FileFaults, TheLogFileDeletedOrRenamedBetweenHostCallsStartsAgain) {
    Load();
    EnableLog();
    LoggedCall();
    fs::remove(LogFile());
    const int opens = faults().Seen(FileOp::Open, "LMDRIVER.LOG");
    const std::vector<std::string> second = LoggedCall();
    EXPECT_EQ(ReadFile(LogFile()), Stamped(second));
    EXPECT_EQ(faults().Seen(FileOp::Open, "LMDRIVER.LOG") - opens, 1) << "one open a call";
    fs::rename(LogFile(), InDriverDir("OLD.LOG"));
    const std::vector<std::string> third = LoggedCall();
    EXPECT_EQ(ReadFile(LogFile()), Stamped(third));
    EXPECT_EQ(ReadFile(InDriverDir("OLD.LOG")), Stamped(second));
}

TEST_F(FileFaults, TheLogFileChangedBetweenTwoLinesOfOneCallStartsAgain) {
    Load();
    EnableLog();
    Log& log = TheEntry().wide().log;
    log.Write("one");
    fs::rename(LogFile(), InDriverDir("OLD.LOG"));
    log.Write("two");
    EXPECT_EQ(ReadFile(InDriverDir("OLD.LOG")), Stamped({"one"}));
    EXPECT_EQ(ReadFile(LogFile()), Stamped({"two"}));
#if !defined(_WIN32)
    // (Wine keeps a deleted open file until its last handle closes.)
    fs::remove(LogFile());
    log.Write("three");
    EXPECT_EQ(ReadFile(LogFile()), Stamped({"three"}));
#endif
    // The clear button closes the file before it deletes it.
    window().Fire("ButtonClear", ui::Event::Click);
    EXPECT_FALSE(fs::exists(LogFile()));
    log.Write("four");
    EXPECT_EQ(ReadFile(LogFile()), Stamped({"four"}));
}

TEST_F(FileFaults, TheStartupDialogNeverLosesStartupIniAndNamesTheFileThatFailed) {
    const std::string earlier =
        "{ kept }\r\nHIDE_DIALOG OFF\r\nLOGFILE OFF\r\nSTATUS_DIALOG ON\r\n";
    const std::string unchanged =
        "HIDE_DIALOG OFF\r\nLOGFILE OFF\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n";
    const std::string chosen =
        "HIDE_DIALOG OFF\r\nLOGFILE ON\r\nSTATUS_DIALOG OFF\r\nLAB (no_lab)\r\n";
    struct Row {
        FileFault fault;
        const char* box;  // after "Chyba I/O: soubor " + DriverDir
        bool with_reason;
        bool dialog_shown;
        bool log_option_after;
        const std::string* startup_after;
    };
    const std::vector<Row> rows = {
        {{FileOp::Open, "STARTUP.INI"}, "STARTUP.INI nelze zapsat.", true, true, true, &earlier},
        {{FileOp::Write, "STARTUP.INI"}, "STARTUP.INI nelze zapsat.", true, true, true, &earlier},
        {{FileOp::Close, "STARTUP.INI"}, "STARTUP.INI nelze zapsat.", true, true, true, &earlier},
        {{FileOp::Rename, "STARTUP.INI"}, "STARTUP.INI nelze zapsat.", true, true, true, &earlier},
        // The dialog's own file: before the dialog, at its OK, when read back.
        {{FileOp::Write, "DIALOG.INI", 1},
         "DIALOG.INI nelze zapsat.",
         true,
         false,
         false,
         &earlier},
        {{FileOp::Write, "DIALOG.INI", 2},
         "DIALOG.INI nelze zapsat.",
         true,
         true,
         false,
         &unchanged},
        {{FileOp::Open, "DIALOG.INI", 4},
         "DIALOG.INI nelze přečíst.",
         false,
         true,
         false,
         &unchanged},
    };
    for (const Row& row : rows) {
        SetUp();
        Load();
        WriteFile(InDriverDir("STARTUP.INI"), earlier);
        faults().Add(row.fault);
        fake_->modal_scripts.push_back([](ui::Form& form) {
            form["CHB_logfile"].checked = true;
            form.Fire("ButtonOK", ui::Event::Click);
        });
        PARAM_ENTRY menu = Record(kMenuItem);
        menu.wparam1 = 3009;
        ASSERT_EQ(Call(menu), 1);

        const std::string what = row.box;
        EXPECT_EQ(fake_->modal_forms.size(), row.dialog_shown ? 1u : 0u) << what;
        ASSERT_EQ(fake_->boxes.size(), 1u) << what;
        EXPECT_EQ(fake_->boxes[0].kind, BoxKind::Error);
        std::string text = "Chyba I/O: soubor " + dir_.driver_dir_text();
        text += Utf8ToCp1250(row.box);
        if (row.with_reason) {
            text += '\r';
            text += InjectedReason(row.fault.op);
        }
        EXPECT_EQ(fake_->boxes[0].text, text);
        EXPECT_EQ(driver().startup().log_file, row.log_option_after) << what;
        EXPECT_EQ(ReadFile(InDriverDir("STARTUP.INI")), *row.startup_after) << what;
        for (const char* name : {"STARTUP.INI.tmp", "DIALOG.INI.tmp"})
            EXPECT_FALSE(fs::exists(InDriverDir(name))) << what << ": " << name;
        TearDown();
    }
    SetUp();
    Load();
    fake_->modal_scripts.push_back([](ui::Form& form) {
        form["CHB_logfile"].checked = true;
        form.Fire("ButtonOK", ui::Event::Click);
    });
    PARAM_ENTRY menu = Record(kMenuItem);
    menu.wparam1 = 3009;
    ASSERT_EQ(Call(menu), 1);
    EXPECT_TRUE(fake_->boxes.empty());
    EXPECT_EQ(ReadFile(InDriverDir("STARTUP.INI")), chosen);
}

TEST_F(FileFaults, InitObjectsWithFilesThatFailGoesOnWithTheSpecifiedMessages) {
    UseSampleDriverDir();
    fs::remove(InDriverDir("STARTUP.INI"));
    Load();
    faults().Add({FileOp::Write, "STARTUP.INI"});
    PARAM_ENTRY init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 1) << "STARTUP.INI is still missing";
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(
        fake_->boxes[0].text,
        "Startovacího soubor STARTUP.INI nebyl nalezen.\rBylo použito počáteční nastavení."_cp);
    EXPECT_FALSE(fs::exists(InDriverDir("STARTUP.INI")));
    EXPECT_FALSE(fs::exists(InDriverDir("STARTUP.INI.tmp")));

    // Half of TOOLS.INI: what can be read is loaded, nothing breaks.
    UseSampleDriverDir();
    faults().Add({FileOp::ShortRead, "TOOLS.INI"});
    init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_EQ(init.error, 0);
    const std::size_t half = driver().library().objects.size();
    Call(kUnloadDriver);
    Load();
    init = Record(kInitObjects);
    ASSERT_EQ(Call(init), 1);
    EXPECT_LT(half, driver().library().objects.size());
}

}  // namespace
}  // namespace lm::test
