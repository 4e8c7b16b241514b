// lumarsim's working copy: never made inside its own source nor over a
// folder lumarsim did not make; its own marked copy is replaced.
#include "tools/lumarsim/work_folder.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumarsim {
namespace {

namespace fs = std::filesystem;

std::size_t FilesBelow(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        count += entry.is_regular_file();
    return count;
}

TEST(WorkFolder, RefusesNestingAndForeignFoldersReplacesItsOwnCopy) {
    struct Row {
        const char* what;
        const char* driver_dir;  // below the test's folder
        const char* work;
        bool foreign_copy;       // WORK/OVLADACE/KADEX2 there before, made by someone else
        bool own_copy;           // ... made by lumarsim before
        const char* error_part;  // nullptr: the copy is made
    };
    const Row rows[] = {
        {"a fresh working folder", "dd", "w", false, false, nullptr},
        {"its own copy is replaced", "dd", "w", false, true, nullptr},
        {"a folder it did not make is kept", "dd", "w", true, false, "no working copy of lumarsim"},
        {"work equal to the driver directory", "dd", "dd", false, false, "are one folder"},
        {"work equal, written with a trailing separator", "dd", "dd/", false, false,
         "are one folder"},
        {"work inside the driver directory", "dd", "dd/w", false, false,
         "lies inside the driver directory"},
        {"the driver directory inside work", "w/dd", "w", false, false,
         "lies inside the working folder"},
        {"the working copy used as the driver directory", "w/OVLADACE/KADEX2", "w", false, true,
         "lies inside the working folder"},
        {"a path through ..", "dd", "dd/sub/..", false, false, "are one folder"},
    };
    for (const Row& row : rows) {
        lm::test::TempDir dir;
        const fs::path source = dir.path() / row.driver_dir;
        const fs::path work = dir.path() / row.work;
        fs::create_directories(source / "sub");
        lm::test::WriteFile(source / "TOOLS.INI", "TOOL ID 1 END_TOOL\r\n");
        lm::test::WriteFile(source / "sub" / "A.BMP", "BM");
        const fs::path copy = work / "OVLADACE" / "KADEX2";
        if (row.foreign_copy || row.own_copy) fs::create_directories(copy);
        if (row.foreign_copy) lm::test::WriteFile(copy / "MINE.DEF", "keep me");
        if (row.own_copy) {  // as an earlier run left it
            lm::test::WriteFile(copy / kWorkCopyMark, "mark");
            lm::test::WriteFile(copy / "LMDRIVER.LOG", "old log");
        }
        const std::size_t source_files = FilesBelow(source);
        std::string error;
        const bool made = PrepareWorkFolder(source, work, error);
        EXPECT_EQ(FilesBelow(source), source_files) << row.what << ": the source lost files";
        if (row.error_part == nullptr) {
            ASSERT_TRUE(made) << row.what << ": " << error;
            EXPECT_EQ(lm::test::ReadFile(copy / "TOOLS.INI"), "TOOL ID 1 END_TOOL\r\n") << row.what;
            EXPECT_EQ(lm::test::ReadFile(copy / "sub" / "A.BMP"), "BM") << row.what;
            EXPECT_TRUE(fs::exists(copy / kWorkCopyMark)) << row.what;
            EXPECT_FALSE(fs::exists(copy / "LMDRIVER.LOG")) << row.what << ": not replaced";
        } else {
            EXPECT_FALSE(made) << row.what;
            EXPECT_NE(error.find(row.error_part), std::string::npos) << row.what << ": " << error;
            if (row.foreign_copy) {
                EXPECT_EQ(lm::test::ReadFile(copy / "MINE.DEF"), "keep me");
            }
        }
    }
}

}  // namespace
}  // namespace lumarsim
