#include "base/files.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lm {
namespace {

TEST(Files, LinesEndWithCrLfAndAppendCreatesTheFile) {
    test::TempDir dir;
    const std::string path = (dir.path() / "a.txt").string();
    EXPECT_FALSE(FileCanBeOpened(path));
    EXPECT_TRUE(AppendLine(path, "one"));
    EXPECT_TRUE(AppendLine(path, ""));
    EXPECT_TRUE(AppendLine(path, "tři"));
    EXPECT_EQ(test::ReadFile(path), "one\r\n\r\ntři\r\n");
    EXPECT_TRUE(FileCanBeOpened(path));
}

TEST(Files, RewriteReplacesTheWholeFile) {
    test::TempDir dir;
    const std::string path = (dir.path() / "b.ini").string();
    ASSERT_TRUE(RewriteLines(path, {"A", "B", "C"}));
    ASSERT_TRUE(RewriteLines(path, {"X"}));
    EXPECT_EQ(ReadWholeFile(path), "X\r\n");
    ASSERT_TRUE(RewriteFile(path, ""));
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(Files, MissingOrUnusablePathsFailCleanly) {
    test::TempDir dir;
    EXPECT_FALSE(FileCanBeOpened(""));
    EXPECT_FALSE(FileCanBeOpened(dir.path().string())) << "a folder is not a file";
    EXPECT_FALSE(AppendLine("", "x"));
    EXPECT_FALSE(ReadWholeFile((dir.path() / "none").string()).has_value());
    EXPECT_FALSE(AppendLine((dir.path() / "no" / "such" / "dir.txt").string(), "x"));
    EXPECT_FALSE(DeleteFileAt((dir.path() / "none").string()));
    const std::string path = (dir.path() / "c.txt").string();
    AppendLine(path, "x");
    EXPECT_TRUE(DeleteFileAt(path));
    EXPECT_FALSE(FileCanBeOpened(path));
}

}  // namespace
}  // namespace lm
