#include "tools/lumarsim/project_file.h"

#include <gtest/gtest.h>

namespace lumarsim {
namespace {

TEST(ProjectFile, BlocksAndTheirLinesInFileOrder) {
    ProjectError error;
    auto project = ParseProject(
        "# comment\r\n"
        "block 11 1\r\n"
        "line K2_USER MAX0 = 150.00\r\n"
        "   line K2_USER TEXT = \"two  words \"\r\n"
        "\r\n"
        "block 60 65535  \n"
        "line \n",
        error);
    ASSERT_TRUE(project.has_value()) << error.message;
    ASSERT_EQ(project->blocks.size(), 2u);
    EXPECT_EQ(project->blocks[0].ident, 11);
    EXPECT_EQ(project->blocks[0].source_line, 2);
    EXPECT_EQ(
        project->blocks[0].lines,
        (std::vector<std::string>{"K2_USER MAX0 = 150.00", "K2_USER TEXT = \"two  words \""}));
    EXPECT_EQ(project->blocks[1].instance, 65535);
    EXPECT_EQ(project->blocks[1].lines, std::vector<std::string>{""});
    auto again = ParseProject(FormatProject(*project), error);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->blocks[0].lines, project->blocks[0].lines);
}

TEST(ProjectFile, MistakesNameTheirLine) {
    struct Row {
        const char* text;
        int line;
        const char* message_part;
    };
    const Row rows[] = {
        {"blok 1 1\n", 1, "unknown keyword 'blok'"},
        {"# x\nline K2_USER A = 1\n", 2, "before the first block"},
        {"block 1\n", 1, "object ident and an instance"},
        {"block 1 70000\n", 1, "0..65535"},
        {"block 1 2 3\n", 1, "object ident"},
        {"block x 1\n", 1, "object ident"},
        {"wire 1 2 3 4\n", 1, "before the first block"},
        {"block 1 1\nwire 1 2 3\n", 2, "other item"},
        {"block 1 1\nconst 20\n", 2, "item and form"},
        {"block 1 1\nconst 20 2 1G\n", 2, "hexadecimal"},
        {"block 1 1\nconst 20 2 100\n", 2, "hexadecimal"},
        {"block 1 1\nconst 20 2 01 nil\n", 2, "hexadecimal"},
        {"# x\nblock 11 1\nline K2_USER A = 1\nblock 11 1\n", 4,
         "block 11/1 given twice (first at line 2)"},
        {"# x\rblock 11 1\rblock 11 1\r", 3, "block 11/1 given twice"},
    };
    for (const Row& row : rows) {
        ProjectError error;
        EXPECT_FALSE(ParseProject(row.text, error).has_value()) << row.text;
        EXPECT_EQ(error.line, row.line) << row.text;
        EXPECT_NE(error.message.find(row.message_part), std::string::npos) << error.message;
    }
    ProjectError error;
    EXPECT_FALSE(ParseProject("block 1 1\nline " + std::string(300, 'x') + "\n", error));
    EXPECT_EQ(error.line, 2);
}

TEST(ProjectFile, WiresAndConstantsBelowTheirBlock) {
    ProjectError error;
    auto project = ParseProject(
        "block 43 2\n"
        "wire 1 11 1 65535\n"
        "const 20 2 FE ff\n"
        "const 21 2 nil\n"
        "const 22 1\n",
        error);
    ASSERT_TRUE(project.has_value()) << error.message;
    const ProjectBlock& block = project->blocks[0];
    ASSERT_EQ(block.wires.size(), 1u);
    EXPECT_EQ(block.wires[0].other_ident, 11);
    EXPECT_EQ(block.wires[0].other_item, 65535);
    ASSERT_EQ(block.constants.size(), 3u);
    EXPECT_EQ(block.constants[0].bytes, (std::vector<std::uint8_t>{0xFE, 0xFF}));
    EXPECT_TRUE(block.constants[1].nil);
    EXPECT_FALSE(block.constants[2].nil);
    EXPECT_EQ(FormatProject(*ParseProject(FormatProject(*project), error)),
              FormatProject(*project));

    std::string form1 = "block 1 1\nconst 20 1";
    for (int i = 0; i < 257; ++i) form1 += " 00";
    EXPECT_FALSE(ParseProject(form1 + "\n", error));
    EXPECT_NE(error.message.find("at most 256"), std::string::npos);
}

TEST(ProjectFile, EveryLineEndReadsAndCommentsAreKept) {
    const struct {
        const char* what;
        const char* text;
    } rows[] = {
        {"LF",
         "# head\nblock 11 1\nline K2_USER A = 1\n# pump\nblock 60 2\n# inner\nline K2_USER B = "
         "2\n# end\n"},
        {"CR LF",
         "# head\r\nblock 11 1\r\nline K2_USER A = 1\r\n# pump\r\nblock 60 2\r\n# inner\r\nline "
         "K2_USER B = 2\r\n# end\r\n"},
        {"CR alone",
         "# head\rblock 11 1\rline K2_USER A = 1\r# pump\rblock 60 2\r# inner\rline K2_USER B = "
         "2\r# end"},
    };
    const std::string saved =
        "# head\nblock 11 1\nline K2_USER A = 1\n# pump\nblock 60 2\n# inner\nline K2_USER B = "
        "2\n# end\n";
    for (const auto& row : rows) {
        ProjectError error;
        auto project = ParseProject(row.text, error);
        ASSERT_TRUE(project.has_value()) << row.what << ": " << error.message;
        ASSERT_EQ(project->blocks.size(), 2u) << row.what;
        EXPECT_EQ(project->blocks[1].source_line, 5) << row.what;
        EXPECT_EQ(project->blocks[1].lines, std::vector<std::string>{"K2_USER B = 2"}) << row.what;
        EXPECT_EQ(FormatProject(*project), saved) << row.what;
    }
    // A file without comments of its own gets the header, once.
    ProjectError error;
    const std::string once = FormatProject(*ParseProject("block 1 1\n", error));
    EXPECT_EQ(FormatProject(*ParseProject(once, error)), once);
    EXPECT_EQ(once.rfind('#'), 0u);
}

}  // namespace
}  // namespace lumarsim
