// DIALOG.INI's about layout read back as the about dialog takes it.
#include "dialogs/dialog_ini.h"

#include <gtest/gtest.h>

#include "tests/support/memory_files.h"

namespace lm::dialogs {
namespace {

TEST(AboutHandOver, ReadsTheTwoLinesAndNoLabelTableAsNone) {
    struct Case {
        const char* what;
        std::optional<std::string> file;
        std::string identification, label_table;
    } cases[] = {
        {"as written", "KADEX 4.05\r\nTOPENI.LAB\r\n", "KADEX 4.05", "TOPENI.LAB"},
        {"no label table", "KADEX 4.05\r\n(no_lab)\r\n", "KADEX 4.05", ""},
        {"one line", "KADEX 4.05", "KADEX 4.05", ""},
        {"LF alone", "KADEX\nTOPENI.LAB", "KADEX", "TOPENI.LAB"},
        {"long lines cut", std::string(300, 'i') + "\r\n" + std::string(300, 'l'),
         std::string(255, 'i'), std::string(255, 'l')},
        {"no file", std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        test::MemoryFiles files;
        if (c.file) files.files["D/DIALOG.INI"] = *c.file;
        const AboutHandOver read = ReadAboutDialogFile(files, "D/");
        EXPECT_EQ(read.identification, c.identification) << c.what;
        EXPECT_EQ(read.label_table, c.label_table) << c.what;
    }
}

}  // namespace
}  // namespace lm::dialogs
