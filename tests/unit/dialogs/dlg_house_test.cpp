// The analog module dialog headless: the module list file, the change rule,
// the layouts of 6 and 12 channels.
#include "dialogs/dlg_house.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/cp1250.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_files.h"

namespace lm::dialogs {
namespace {

// A module line: code, separator, description to column 45, then the rest.
std::string ModuleLine(char code, std::string_view text, std::string_view range) {
    std::string line(1, code);
    line += ' ';
    line += text;
    line.resize(kModuleTextColumns, ' ');
    line += range;
    return line + "\r\n";
}

TEST(ModuleList, ReadsModuleLinesAndLeavesOutWhatIsNoModule) {
    const std::string first = ModuleLine('0', "bez", "0 0");
    struct Case {
        const char* what;
        std::string text;
        std::size_t modules;
        int bad_line;
        double last_max;
    } cases[] = {
        {"comment lines of any length",
         ";" + std::string(80, 'x') + "\r\n;\r\n" + first +
             ModuleLine('A', "Pt100", "  -50.5\t 150.25  "),
         2, 0, 150.25},
        {"short lines", "kratky\r\n" + first + "A 4-20 mA\r\n", 1, 0, 0},
        {"exactly 45 columns: no range", first + ModuleLine('A', "x", ""), 1, 2, 0},
        {"1e999 and nan",
         first + ModuleLine('A', "x", "1e999 5") + ModuleLine('B', "y", "0 nan") +
             ModuleLine('C', "z", "1 2"),
         2, 2, 2},
        {"a bad first module keeps its place",
         ModuleLine('0', "bez", "x") + ModuleLine('A', "y", "4 20"), 2, 0, 20},
        {"10,000 characters", first + "A " + std::string(10000, 'd') + " 1 2\r\n", 1, 2, 0},
        {"10,000 characters after the range",
         first + ModuleLine('A', "y", "1 2 " + std::string(10000, '9')), 2, 0, 2},
        {"no line ends", first.substr(0, first.size() - 2), 1, 0, 0},
    };
    for (const auto& c : cases) {
        const ModuleList list = ParseModuleList(c.text);
        EXPECT_EQ(list.modules.size(), c.modules) << c.what;
        EXPECT_EQ(list.bad_line, c.bad_line) << c.what;
        ASSERT_FALSE(list.modules.empty()) << c.what;
        EXPECT_EQ(list.modules.back().max, c.last_max) << c.what;
        for (const Module& m : list.modules) EXPECT_EQ(m.description.size(), 45u) << c.what;
    }
}

TEST(ModuleList, KeepsFiftyOneModulesAndBlanksZeroBytes) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += ModuleLine('A', std::string("a\0b\x01", 4), "1 2");
    const ModuleList list = ParseModuleList(text);
    EXPECT_EQ(list.modules.size(), kMaxModules);
    EXPECT_TRUE(list.too_many);
    EXPECT_EQ(list.modules[0].shown().substr(0, 4), std::string("a b\x01", 4));
}

TEST(ModuleList, TheSampleFileIsReadWhole) {
    std::ifstream in(std::filesystem::path(LM_SAMPLE_DRIVER_DIR) / kModuleFileName,
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const ModuleList list = ParseModuleList(text.str());
    EXPECT_EQ(list.modules.size(), 13u);
    EXPECT_EQ(list.bad_line, 0);
    EXPECT_EQ(list.modules[8].code(), 'H');
    EXPECT_EQ(list.modules[8].min, 4);
}

class HouseDialog : public ::testing::Test {
protected:
    TDlgHouse& Open() {
        dialog_ = std::make_unique<TDlgHouse>(platform_, files_, "D/");
        return *dialog_;
    }
    void Choose(int channel, int item) {
        dialog_->ModuleBox(channel).selection = item;
        dialog_->Fire(dialog_->ModuleBox(channel).name, ui::Event::Change);
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& box : platform_.boxes) texts.push_back(box.text);
        return texts;
    }

    test::MemoryFiles files_;
    test::FakePlatform platform_;
    std::unique_ptr<TDlgHouse> dialog_;
};

TEST_F(HouseDialog, ReadsTheOldFileNameWhenTheNewOneIsMissing) {
    files_.files["D/caimodul.cfg"] = ModuleLine('0', "bez", "0 0") + ModuleLine('A', "Pt", "1 2");
    TDlgHouse& d = Open();
    EXPECT_EQ(d.ModuleBox(11).items.size(), 2u);
    EXPECT_TRUE(platform_.boxes.empty());
    files_.files["D/cai_modul.cfg"] = ModuleLine('0', "bez", "0 0");
    EXPECT_EQ(Open().ModuleBox(0).items.size(), 1u);  // the new name wins
}

TEST_F(HouseDialog, ProblemsOfTheFileAreToldAndTheDialogStillOpens) {
    struct Case {
        std::string file;
        std::string box;
    } cases[] = {
        {"", "Chyba čtení konfigurace zásuvných modulů AI."_cp},
        {";jen komentar\r\n",
         "Soubor D/cai_modul.cfg neobsahuje žádný domeček; kanály mají vlastní rozsah."_cp},
        {ModuleLine('0', "bez", "0 0") + ModuleLine('A', "x", "a b"),
         "Chyba čtení konfigurace zásuvných modulů AI.\rŘádek 2: min a max nejsou čísla, "
         "domeček je vynechán."_cp},
    };
    for (const auto& c : cases) {
        platform_.boxes.clear();
        files_.files.clear();
        if (!c.file.empty()) files_.files["D/cai_modul.cfg"] = c.file;
        TDlgHouse& d = Open();
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(d.ModuleBox(3).items.size(), 1u);
        d.range(3) = {2, 8};
        d.Preselect(3, 'A');
        EXPECT_EQ(d.MaxEdit(3).text, "8");
        EXPECT_TRUE(d.Usable(d.MinEdit(3)));
    }
}

TEST_F(HouseDialog, FirstModuleShowsTheChannelsOwnRangeAndOthersTheModules) {
    files_.files["D/cai_modul.cfg"] =
        ModuleLine('0', "bez", "0 0") + ModuleLine('H', "4-20 mA", "4 20");
    TDlgHouse& d = Open();
    d.range(2) = {-1.5, 99};
    Choose(2, 1);
    EXPECT_EQ(d.MinEdit(2).text, "4");
    EXPECT_EQ(d.MaxEdit(2).text, "20");
    EXPECT_FALSE(d.Usable(d.MinEdit(2)));
    EXPECT_FALSE(d.Usable(d.MaxEdit(2)));
    Choose(2, 0);
    EXPECT_EQ(d.MinEdit(2).text, "-1,5");
    EXPECT_EQ(d.MaxEdit(2).text, "99");
    EXPECT_TRUE(d.Usable(d.MinEdit(2)));
    // A typed range is not the channel's own: the module and back show the record.
    d.MinEdit(2).text = "7";
    Choose(2, 1);
    Choose(2, 0);
    EXPECT_EQ(d.MinEdit(2).text, "-1,5");
    EXPECT_EQ(d.ChosenCode(2), '0');
}

TEST_F(HouseDialog, LayoutAndHelpFollowTheChannelCount) {
    struct Case {
        int channels;
        bool row11, counter;
        long help;
    } cases[] = {{6, false, true, 11}, {12, true, false, 18}};
    for (const auto& c : cases) {
        TDlgHouse& d = Open();
        d.UseChannels(c.channels);
        EXPECT_EQ(d.Showing(d.ModuleBox(11)), c.row11);
        EXPECT_EQ(d.Showing(d["Label16"]), c.row11);
        EXPECT_EQ(d.Showing(d["e_counter"]), c.counter);
        const ui::Rect fit = c.counter ? d["l_counter"].bounds : d["LabelXX"].bounds;
        EXPECT_EQ(d.height, fit.top + fit.height + 31);
        d.Fire("Button1", ui::Event::Click);
        ASSERT_FALSE(platform_.helps.empty());
        EXPECT_EQ(platform_.helps.back().file, "D/LMRX7.HLP");
        EXPECT_EQ(platform_.helps.back().context, c.help);
    }
}

TEST_F(HouseDialog, OkWaitsForNumbersInEveryShownField) {
    TDlgHouse& d = Open();
    d.UseChannels(6);
    d.CorrectionEdit(11).text = "x";  // hidden row: not looked at
    d.CorrectionEdit(4).text = "1,2,3";
    d.Fire("OKBtn", ui::Event::Click);
    EXPECT_EQ(d.modal_result, ui::ModalResult::None);
    EXPECT_TRUE(d.CorrectionEdit(4).number.wants_focus);
    d.CorrectionEdit(4).text = "1,25";
    d.Fire("OKBtn", ui::Event::Click);
    EXPECT_EQ(d.modal_result, ui::ModalResult::Ok);
}

}  // namespace
}  // namespace lm::dialogs
