// The system's files (POSIX natively, the wide Win32 API under Wine) and the
// portable helpers above them.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/cp1250.h"
#include "platform/system_files.h"
#include "tests/support/faulty_files.h"
#include "tests/support/temp_dir.h"

namespace lm {
namespace {

namespace fs = std::filesystem;

class SystemFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

    test::TempDir dir;
    std::unique_ptr<Files> files = MakeSystemFiles();
};

TEST_F(SystemFiles, WholeFilesAndAppendsKeepEveryByte) {
    const std::string path = Path("a.ini");
    EXPECT_FALSE(files->CanBeOpened(path));
    const std::string bytes("one\r\n\0tři\xFF", 11);
    ASSERT_TRUE(files->Append(path, bytes));
    ASSERT_TRUE(files->Append(path, "x"));
    EXPECT_EQ(files->ReadWhole(path), bytes + "x");
    EXPECT_TRUE(files->CanBeOpened(path));
    ASSERT_TRUE(files->WriteWhole(path, "X\r\n"));
    EXPECT_EQ(files->ReadWhole(path), "X\r\n");
    ASSERT_TRUE(files->WriteWhole(path, ""));
    EXPECT_EQ(files->ReadWhole(path), "");
    ASSERT_TRUE(files->Rename(path, Path("b.ini")));
    EXPECT_FALSE(files->CanBeOpened(path));
    ASSERT_TRUE(files->Delete(Path("b.ini")));
    EXPECT_FALSE(files->CanBeOpened(Path("b.ini")));
}

TEST_F(SystemFiles, FailuresComeWithAReason) {
    fs::create_directory(dir.path() / "folder");
    EXPECT_FALSE(files->CanBeOpened(Path("folder"))) << "a folder is not a file";
    EXPECT_FALSE(files->ReadWhole(Path("folder")).has_value());
    EXPECT_FALSE(files->ReadWhole(Path("none")).has_value());
    EXPECT_FALSE(files->CanBeOpened(""));
    for (FileStatus status : {files->Append(Path("no/such/dir.txt"), "x"),
                              files->WriteWhole(Path("folder"), "x"), files->Delete(Path("none")),
                              files->Rename(Path("none"), Path("other")), files->Append("", "x")}) {
        EXPECT_FALSE(status);
        EXPECT_FALSE(status.reason.empty());
    }
}

// Runs `read` within a time limit. A read that opened a FIFO waits for a
// writer: after the limit the FIFO is opened for writing, which ends the wait,
// and the case fails.
void WithinTimeLimit(const std::function<void()>& read, const fs::path& fifo,
                     const std::string& what) {
    std::future<void> done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return;
    ADD_FAILURE() << what << ": the read waits";
#if !defined(_WIN32)
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
#else
    (void)fifo;
#endif
    done.wait();
}

TEST_F(SystemFiles, WhatIsNoFileIsRefusedUnopened) {
    struct Row {
        const char* what;
        std::string name;
        std::function<void(const fs::path&)> make;
        bool writes_refused = true;  // a link that leads nowhere is written through
    };
    auto folder = [](const fs::path& at) { fs::create_directory(at); };
    std::vector<Row> rows = {
        {"a folder", "STARTUP.INI", folder, false},
#if !defined(_WIN32)
        // (Wine makes no links and no FIFOs of its own.)
        {"a link that leads nowhere", "TOOLS.INI",
         [](const fs::path& at) { fs::create_symlink("nowhere.ini", at); }, false},
        {"a FIFO", "SETCOM.INI",
         [](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
        {"a link to a FIFO", "A.DEF",
         [](const fs::path& at) {
             ASSERT_EQ(::mkfifo((at.string() + ".fifo").c_str(), 0600), 0);
             fs::create_symlink(at.filename().string() + ".fifo", at);
         }},
        {"a link to a device", "LIB.BMP",
         [](const fs::path& at) { fs::create_symlink("/dev/zero", at); }},
#else
        // A device name opens the device in any folder, whatever the extension.
        {"CON", "CON", nullptr},
        {"nul with an extension", "nul.txt", nullptr},
        {"a port", "COM1.INI", nullptr},
        {"a printer port", "Lpt9.def", nullptr},
        {"AUX with blanks", "AUX .DEF", nullptr},
        {"PRN", "PRN.BMP", nullptr},
#endif
    };
    for (const Row& row : rows) {
        const fs::path at = dir.path() / row.name;
        if (row.make) row.make(at);
        const std::string path = at.string();
        WithinTimeLimit(
            [&] {
                EXPECT_FALSE(files->CanBeOpened(path)) << row.what;
                EXPECT_FALSE(files->ReadWhole(path).has_value()) << row.what;
                if (!row.writes_refused) return;
                FileStatus opened;
                EXPECT_FALSE(files->WriteWhole(path, "x")) << row.what;
                EXPECT_FALSE(files->Append(path, "x")) << row.what;
                EXPECT_EQ(files->OpenForAppend(path, opened), nullptr) << row.what;
                EXPECT_FALSE(opened.reason.empty()) << row.what;
            },
            at, row.what);
        if (row.make) fs::remove_all(at);
    }
#if defined(_WIN32)
    // Names that only look like devices are files.
    for (const char* name : {"COM0.INI", "CONSOLE.DEF", "COM10", "LPT.BMP", "NULL.TXT"}) {
        const std::string path = Path(name);
        ASSERT_TRUE(files->WriteWhole(path, "x")) << name;
        EXPECT_EQ(files->ReadWhole(path), "x") << name;
    }
#endif
}

TEST_F(SystemFiles, PathsThatCannotBeNamedExactlyAreRefusedNotCut) {
#if defined(_WIN32)
    const std::size_t limit = 259;
#else
    const std::size_t limit = 4095;
#endif
    const std::string base = Path("");
    struct Row {
        std::string path;
        std::string reason_part;  // empty: the path is usable
    };
    std::vector<Row> rows = {
        {base + std::string(limit + 1 - base.size(), 'a'), std::to_string(limit)},
        {base + std::string("a\0b", 3), "nulový"_cp},
#if defined(_WIN32)
        {base + "a\x81.txt", "1250"},  // a byte code page 1250 leaves unused
        {base + "a?.txt", "1250"},     // where a name had a character outside it
        {base + "p\xF8\xEDli\x9A.txt", ""},
#else
        {base + "a\x81.txt", ""},  // the bytes as they are
#endif
    };
    for (const Row& row : rows) {
        FileStatus status = files->WriteWhole(row.path, "x");
        FileStatus opened;
        std::unique_ptr<AppendFile> log = files->OpenForAppend(row.path, opened);
        if (row.reason_part.empty()) {
            EXPECT_TRUE(status) << status.reason;
            EXPECT_EQ(files->ReadWhole(row.path), "x");
            EXPECT_TRUE(log != nullptr);
            continue;
        }
        EXPECT_NE(status.reason.find(row.reason_part), std::string::npos) << status.reason;
        EXPECT_EQ(opened.reason, status.reason);
        EXPECT_EQ(log, nullptr);
        EXPECT_FALSE(files->CanBeOpened(row.path));
    }
    std::vector<std::string> listed = files->List(dir.path().string());
    EXPECT_EQ(listed.size(), 1u) << "only the usable name was written";
}

TEST_F(SystemFiles, ListNamesTheFilesOfAFolderSorted) {
    for (const char* name : {"b.def", "A.DEF", "c"}) files->WriteWhole(Path(name), "");
    fs::create_directory(dir.path() / "sub");
    EXPECT_EQ(files->List(dir.path().string()), (std::vector<std::string>{"A.DEF", "b.def", "c"}));
    EXPECT_TRUE(files->List(Path("none")).empty());
}

TEST_F(SystemFiles, AnAppendFileKnowsWhenItsPathNamesAnotherFile) {
    const fs::path folder = dir.path() / "logs";
    const std::string path = (folder / "LMDRIVER.LOG").string();
    const std::string old = (folder / "OLD.LOG").string();
    struct Row {
        const char* what;
        std::function<void()> change;  // what another program does meanwhile
        bool still_named;
    };
    std::vector<Row> rows = {
        {"nothing", [] {}, true},
        {"reads it", [&] { EXPECT_EQ(test::ReadFile(path), "line\r\n"); }, true},
        {"makes another file beside it", [&] { test::WriteFile(folder / "DIALOG.INI", ""); }, true},
#if !defined(_WIN32)
        {"moves its folder and makes a new one",
         [&] {
             fs::rename(folder, dir.path() / "logs-old");
             fs::create_directory(folder);
         },
         false},
#endif
        {"renames it", [&] { fs::rename(path, old); }, false},
        {"puts another file there",
         [&] {
             fs::rename(path, old);
             test::WriteFile(path, "");
         },
         false},
#if !defined(_WIN32)
        // Wine keeps a deleted file that is still open until its last handle
        // closes, and shows no pending delete: the log closes its file after
        // each host call instead.
        {"deletes it", [&] { fs::remove(path); }, false},
#endif
    };
    fs::create_directory(folder);
    for (const Row& row : rows) {
        fs::remove(path);
        FileStatus opened;
        std::unique_ptr<AppendFile> file = files->OpenForAppend(path, opened);
        ASSERT_TRUE(file) << opened.reason;
        ASSERT_TRUE(file->Write("line\r\n"));
        EXPECT_TRUE(file->StillNamedBy(path));
        row.change();
        EXPECT_EQ(file->StillNamedBy(path), row.still_named) << row.what;
        EXPECT_EQ(file->StillNamedBy(path), row.still_named) << row.what << ", asked again";
        EXPECT_TRUE(file->Write("more\r\n")) << row.what;
        EXPECT_TRUE(file->Close()) << row.what;
        EXPECT_TRUE(file->Close()) << "a second close does nothing";
    }
}

TEST(ReplaceWholeFile, AFailureAtAnyStepKeepsTheEarlierFile) {
    test::TempDir dir;
    std::unique_ptr<Files> system = MakeSystemFiles();
    const std::string path = (dir.path() / "STARTUP.INI").string();
    for (test::FileOp op :
         {test::FileOp::Open, test::FileOp::Write, test::FileOp::Close, test::FileOp::Rename}) {
        test::FaultyFiles files(*system);
        ASSERT_TRUE(files.WriteWhole(path, "earlier\r\n"));
        files.Add({op, "STARTUP.INI"});
        FileStatus status = ReplaceWholeFile(files, path, "new content\r\n");
        EXPECT_FALSE(status);
        EXPECT_EQ(status.reason, test::InjectedReason(op));
        EXPECT_EQ(files.ReadWhole(path), "earlier\r\n");
        EXPECT_EQ(files.List(dir.path().string()), std::vector<std::string>{"STARTUP.INI"})
            << "no temporary file is left";
        ASSERT_TRUE(ReplaceWholeFile(files, path, "new content\r\n"));
        EXPECT_EQ(files.ReadWhole(path), "new content\r\n");
    }
}

TEST(FileReplacement, InPiecesTheFileIsWholeOrTheEarlierOne) {
    test::TempDir dir;
    std::unique_ptr<Files> system = MakeSystemFiles();
    const std::string path = (dir.path() / "NETLIST.TXT").string();
    struct Row {
        const char* what;
        std::optional<test::FileFault> fault;
        bool commit;
        const char* expected;
    };
    const Row rows[] = {
        {"all pieces written", std::nullopt, true, "one\r\ntwo\r\nthree\r\n"},
        {"the second piece cannot be opened", test::FileFault{test::FileOp::Open, ".tmp", 2}, true,
         "earlier\r\n"},
        {"the third piece is cut short", test::FileFault{test::FileOp::Write, ".tmp", 3}, true,
         "earlier\r\n"},
        {"given up before the commit", std::nullopt, false, "earlier\r\n"},
    };
    for (const Row& row : rows) {
        test::FaultyFiles files(*system);
        ASSERT_TRUE(files.WriteWhole(path, "earlier\r\n"));
        if (row.fault) files.Add(*row.fault);
        {
            FileReplacement replacement(files, path);
            for (const char* piece : {"one\r\n", "two\r\n", "three\r\n"}) replacement.Write(piece);
            if (row.commit) {
                EXPECT_EQ(bool(replacement.Commit()), !row.fault) << row.what;
            }
        }
        EXPECT_EQ(files.ReadWhole(path), row.expected) << row.what;
        EXPECT_EQ(files.List(dir.path().string()), std::vector<std::string>{"NETLIST.TXT"})
            << row.what << ": no temporary file is left";
    }
}

TEST(JoinCrLfLines, EveryLineEndsWithCrLf) {
    EXPECT_EQ(JoinCrLfLines({"A", "", "B"}), "A\r\n\r\nB\r\n");
    EXPECT_EQ(JoinCrLfLines({}), "");
}

}  // namespace
}  // namespace lm
