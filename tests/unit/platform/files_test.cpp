// The system's files (POSIX natively, the wide Win32 API under Wine) and the
// portable helpers above them.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

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
