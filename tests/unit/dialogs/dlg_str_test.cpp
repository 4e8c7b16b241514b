// The string table dialog headless: DIALOG.INI read and written, the ruler,
// the characters-left message.
#include "dialogs/dlg_str.h"

#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "platform/headless/form_steps.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"

namespace lm::dialogs {
namespace {

constexpr const char kFile[] = "D/DIALOG.INI";

TEST(StringTable, RulerFollowsTheMaximum) {
    struct Case {
        int maximum;
        const char* ruler;
    } cases[] = {{8, "76543210"},
                 {16, "5432109876543210"},
                 {18, "345678901234567890"},
                 {20, "2345678901234567890"},
                 {12, "123456789012"},
                 {0, ""}};
    for (const auto& [maximum, ruler] : cases) EXPECT_EQ(Ruler(maximum), ruler) << maximum;
    EXPECT_EQ(Ruler(1000).size(), 255u);
}

TEST(StringTable, ReadsWhatIsWrittenAndWhatAHandLeft) {
    struct Case {
        const char* what;
        std::string file;
        int maximum;
        std::vector<TextRow> rows;
    } cases[] = {
        {"as written", "T.1\r\n8\r\nA\r\nx\r\nB\r\ny\r\n", 8, {{"A", "x"}, {"B", "y"}}},
        {"no rows", "T.1\r\n8\r\n", 8, {{"", ""}}},
        {"truncated in a pair", "T.1\r\n20\r\nA\r\nx\r\nB", 20, {{"A", "x"}, {"B", ""}}},
        {"maximum no number", "T.1\r\nosm\r\nA\r\nx\r\n", 40, {{"A", "x"}}},
        {"maximum too large", "T.1\r\n99999\r\nA\r\n", 40, {{"A", ""}}},
        {"long lines",
         "T\n8\n" + std::string(50, 'n') + "\n" + std::string(50, 't'),
         8,
         {{std::string(40, 'n'), std::string(40, 't')}}},
    };
    for (const auto& c : cases) {
        test::MemoryFiles files;
        files.files[kFile] = c.file;
        const auto table = ReadStringTable(files, "D/");
        ASSERT_TRUE(table) << c.what;
        EXPECT_EQ(table->maximum, c.maximum) << c.what;
        EXPECT_EQ(table->rows, c.rows) << c.what;
    }
    test::MemoryFiles files;
    std::string many = "T\r\n8\r\n";
    for (int i = 0; i < 40; ++i) many += "N\r\nV\r\n";
    files.files[kFile] = many;
    EXPECT_EQ(ReadStringTable(files, "D/")->rows.size(), kMaxTextRows);
    files.files.clear();
    EXPECT_FALSE(ReadStringTable(files, "D/"));
}

class StringDialog : public ::testing::Test {
protected:
    TDlgStr& Open(int maximum, std::vector<TextRow> rows) {
        EXPECT_TRUE(WriteStringTable(files_, "D/", {"TEXTY.3", maximum, std::move(rows)}));
        dialog_ = std::make_unique<TDlgStr>(platform_, files_, "D/");
        return *dialog_;
    }
    ui::Control& Grid() { return (*dialog_)["StringGrid1"]; }
    std::string Count() { return (*dialog_)["Label1"].text; }

    test::MemoryFiles files_;
    test::FakePlatform platform_;
    std::unique_ptr<TDlgStr> dialog_;
};

TEST_F(StringDialog, ShowsTheRowsUnderTheRuler) {
    TDlgStr& d = Open(8, {{"Radek1", "ABC"}, {"Radek2", ""}});
    EXPECT_EQ(d.caption, "TEXTY.3");
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Grid().Cell(0, 0), "Položka"_cp);
    EXPECT_EQ(Grid().Cell(1, 0), "76543210");
    EXPECT_EQ(Grid().Cell(0, 2), "Radek2");
    EXPECT_EQ(Count(), "Radek1 - zbývá 5 znaků"_cp);
}

TEST_F(StringDialog, CountsTheCharactersLeftOfTheCurrentRow) {
    struct Case {
        int maximum;
        std::size_t length;
        std::string message;
    } cases[] = {
        {20, 19, "Druhy - zbývá 0 znaků"_cp},
        {20, 20, "Druhy - Překročen maximální počet znaků (19) !"_cp},
        {8, 3, "Druhy - zbývá 5 znaků"_cp},
        {8, 40, "Druhy - Překročen maximální počet znaků (8) !"_cp},
    };
    for (const auto& c : cases) {
        Open(c.maximum, {{"Prvni", ""}, {"Druhy", ""}});
        const std::string step = "cell StringGrid1 1 2 " + std::string(c.length, 'x');
        EXPECT_EQ(PlayFormSteps(*dialog_, step), "");
        EXPECT_EQ(Count(), c.message) << c.maximum << " " << c.length;
    }
}

TEST_F(StringDialog, OkWritesTheRowsBackAndCancelLeavesTheFile) {
    Open(16, {{"A", "stary"}, {"B", "druhy"}});
    const std::string handed = files_[kFile];
    EXPECT_EQ(PlayFormSteps(*dialog_, "cell StringGrid1 1 1 novy\npress CancelBtn"), "");
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Cancel);
    EXPECT_EQ(files_[kFile], handed);
    Open(16, {{"A", "stary"}, {"B", "druhy"}});
    EXPECT_EQ(PlayFormSteps(*dialog_, "cell StringGrid1 1 1 novy\npress OKBtn"), "");
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::Ok);
    EXPECT_EQ(files_[kFile], "TEXTY.3\r\n16\r\nA\r\nnovy\r\nB\r\ndruhy\r\n");
}

TEST_F(StringDialog, ANotWrittenFileIsToldAndTheDialogStays) {
    Open(8, {{"A", "x"}});
    files_.read_only.insert(kFile);
    dialog_->Fire("OKBtn", ui::Event::Click);
    EXPECT_EQ(dialog_->modal_result, ui::ModalResult::None);
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_NE(platform_.boxes[0].text.find("D/DIALOG.INI"), std::string::npos);
}

TEST_F(StringDialog, RunModeShowsTheTextsWithoutEditing) {
    Open(8, {{"A", "x"}});
    dialog_->SetEditable(false);
    EXPECT_NE(PlayFormSteps(*dialog_, "cell StringGrid1 1 1 y"), "");
    EXPECT_EQ(Grid().Cell(1, 1), "x");
}

}  // namespace
}  // namespace lm::dialogs
