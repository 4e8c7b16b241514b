// The sample driver directory of the repository (driverdir/) loaded whole:
// it must stay a valid and complete KADEX-RX7 library.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "library/dump_library.h"
#include "library/tools.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/library/library_test_support.h"
#include "values/number_syntax.h"

namespace lm {
namespace {

namespace fs = std::filesystem;
using test::RecordingLog;
using test::Text;

// The repository: the folder of the sample driver directory.
fs::path SourceRoot() {
    return fs::path(LM_SAMPLE_DRIVER_DIR).parent_path();
}

// Addresses in log lines: every non-null one becomes "@@@@:@@@@", so the
// lines compare between runs; null ones stay "0000:0000".
std::string MaskAddresses(std::string line) {
    auto hex = [&](std::size_t i) {
        return std::isdigit(static_cast<unsigned char>(line[i])) ||
               (line[i] >= 'A' && line[i] <= 'F');
    };
    for (std::size_t i = 0; i + 9 <= line.size(); ++i) {
        if (line[i + 4] != ':') continue;
        bool address = true;
        for (std::size_t k = 0; k < 9 && address; ++k) address = k == 4 || hex(i + k);
        if (!address || line.compare(i, 9, "0000:0000") == 0) continue;
        line.replace(i, 9, "@@@@:@@@@");
        i += 8;
    }
    return line;
}

int Count(const dLM_DATAITEM* head) {
    int n = 0;
    for (; head != nullptr; head = head->next) ++n;
    return n;
}

class SampleDriverDir : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path sample = SourceRoot() / "driverdir";
        ASSERT_TRUE(fs::is_directory(sample)) << sample;
        for (const auto& entry : fs::directory_iterator(sample)) {
            fs::copy_file(entry.path(), dir.driver_dir() / entry.path().filename());
        }
        const std::string driver_dir = dir.driver_dir_text();
        loaded = LOAD_TOOLS(platform.files(), driver_dir + "TOOLS.INI", driver_dir, library, error,
                            kMaxText, log);
    }

    const dLM_OBJECT* Object(std::uint16_t ident) const {
        for (const dLM_OBJECT* o : library.objects.records()) {
            if (o->ident == ident) return o;
        }
        return nullptr;
    }

    test::TempDir dir;
    test::FakePlatform platform;
    ObjectLibrary library{platform};
    RecordingLog log;
    std::string error;
    bool loaded = false;
};

TEST_F(SampleDriverDir, LoadsEveryToolAndObjectWithoutAnError) {
    EXPECT_TRUE(loaded);
    EXPECT_EQ(error, "");
    EXPECT_EQ(library.firmware_low, 2100u);
    EXPECT_EQ(library.firmware_high, 3000u);
    EXPECT_EQ(library.tools.size(), 5u);
    EXPECT_EQ(library.objects.size(), 33u);
    std::set<int> tool_ids;
    for (const dLMN_TOOL* tool : library.tools.records()) {
        EXPECT_NE(+tool->bitmap, 0u) << tool->description;
        EXPECT_NE(Text(tool->description), "");
        tool_ids.insert(tool->id);
    }
    std::set<int> idents;
    for (const dLM_OBJECT* o : library.objects.records()) {
        EXPECT_TRUE(idents.insert(o->ident).second) << "ident used twice: " << o->ident;
        EXPECT_EQ(tool_ids.count(+o->tool), 1u) << o->name;
        EXPECT_NE(+o->bm_lib, 0u) << o->name;
        EXPECT_NE(+o->bm_desktop, 0u) << o->name;
        EXPECT_NE(Text(o->title), "") << o->name;
    }
    // One entry per reference: a tool bitmap each, two per object.
    EXPECT_EQ(library.bitmaps.size(), library.tools.size() + 2 * library.objects.size());
}

TEST_F(SampleDriverDir, UsesEveryTypeSubtypeDirectionAttributeAndList) {
    std::set<int> types, subtypes, directions;
    std::uint32_t item_attributes = 0, object_attributes = 0;
    std::array<bool, 5> lists_used{};
    for (const dLM_OBJECT* o : library.objects.records()) {
        object_attributes |= o->attributes;
        std::set<int> item_idents;
        const auto lists = ItemListsOf(*o);
        // The counts of the object match its lists.
        EXPECT_EQ(+o->inputs, Count(o->d_in)) << o->name;
        EXPECT_EQ(+o->outputs, Count(o->d_out)) << o->name;
        EXPECT_EQ(+o->init_vars, Count(o->d_init)) << o->name;
        EXPECT_EQ(+o->vars, Count(o->d_prom)) << o->name;
        for (std::size_t l = 0; l < lists.size(); ++l) {
            for (const dLM_DATAITEM* item : Chain(lists[l])) {
                lists_used[l] = true;
                types.insert(item->typ);
                subtypes.insert(item->ext->subtyp);
                directions.insert(item->ext->cw_out);
                item_attributes |= item->attributes;
                EXPECT_TRUE(item_idents.insert(item->ident).second)
                    << o->name << ": item ident used twice: " << item->ident;
                // The format picture fits the item's kind.
                const std::string format = Text(item->format);
                const bool string_item =
                    item->typ == kTypUser && item->ext->subtyp == kSubtypString;
                if (string_item) {
                    EXPECT_EQ(format.find_first_not_of('?'), std::string::npos) << item->name;
                    EXPECT_LE(item->ident + 7, 255) << item->name;  // eight controller items
                    EXPECT_LE(item->ext->default_value.view().size(), format.size()) << item->name;
                } else {
                    EXPECT_EQ(format.find('?'), std::string::npos) << item->name;
                    EXPECT_NE(format, "") << item->name;
                }
                if ((item->attributes & kAttrJeMinMax) != 0) {
                    EXPECT_LT(ItemMin(*item), ItemMax(*item)) << item->name;
                }
            }
        }
    }
    EXPECT_EQ(types, (std::set<int>{kTypByte, kTypInt, kTypWord, kTypLong, kTypDword, kTypUser}));
    EXPECT_EQ(subtypes, (std::set<int>{0, kSubtyp3BF, kSubtypString, kSubtypBit, kSubtypWordHex,
                                       kSubtypByteHex, kSubtypFloat}));
    EXPECT_EQ(directions, (std::set<int>{kCwOutNone, kCwOutRead, kCwOutWrite, kCwOutBidir}));
    EXPECT_EQ(item_attributes, 0xFFu);
    EXPECT_EQ(object_attributes,
              kAttrSpecDial | kAttrJeden | kAttrSetSize | kAttrNoUniDial | kAttrRunSpecDial);
    EXPECT_EQ(lists_used, (std::array<bool, 5>{true, true, true, true, true}));
}

TEST_F(SampleDriverDir, EveryObjectHasAHelpIndex) {
    int second_help_files = 0;
    for (const dLM_OBJECT* o : library.objects.records()) {
        const dLM_DATAITEM* help = FindObjectItem(*o, 9999);
        ASSERT_NE(help, nullptr) << o->name;
        EXPECT_TRUE(ParseInt32(help->ext->default_value.view()).has_value()) << o->name;
        if (Text(help->second_help) != "") {
            ++second_help_files;
            EXPECT_EQ(Text(help->second_help), "KAVLIN.HLP");
        }
    }
    EXPECT_EQ(second_help_files, 1);
}

TEST_F(SampleDriverDir, TheBlocksTheDialogsAndExportsLookFor) {
    // Analog inputs, 6 channels: max 30+3c, min 31+3c, correction 62+c, items 50 and 69.
    const dLM_OBJECT* ai6 = Object(11);
    ASSERT_NE(ai6, nullptr);
    EXPECT_NE(+ai6->attributes & kAttrSpecDial, 0u);
    for (int c = 0; c < 6; ++c) {
        for (int ident : {30 + 3 * c, 31 + 3 * c, 62 + c}) {
            EXPECT_NE(FindObjectItem(*ai6, static_cast<std::uint16_t>(ident)), nullptr) << ident;
        }
    }
    ASSERT_NE(FindObjectItem(*ai6, 50), nullptr);
    EXPECT_EQ(Text(FindObjectItem(*ai6, 50)->format).size(), 8u);  // the counter switch mask
    ASSERT_NE(FindObjectItem(*ai6, 69), nullptr);
    EXPECT_EQ(Text(FindObjectItem(*ai6, 69)->name), "LINEARISATION");
    EXPECT_EQ(FindObjectItem(*ai6, 69)->ext->default_value.view().size(), 6u);

    // 12 channels: max 22+2c, min 23+2c, correction 56+c, item 69.
    const dLM_OBJECT* ai12 = Object(18);
    ASSERT_NE(ai12, nullptr);
    EXPECT_NE(+ai12->attributes & kAttrSpecDial, 0u);
    for (int c = 0; c < 12; ++c) {
        for (int ident : {22 + 2 * c, 23 + 2 * c, 56 + c}) {
            EXPECT_NE(FindObjectItem(*ai12, static_cast<std::uint16_t>(ident)), nullptr) << ident;
        }
    }
    ASSERT_NE(FindObjectItem(*ai12, 69), nullptr);
    EXPECT_EQ(FindObjectItem(*ai12, 69)->ext->default_value.view().size(), 12u);

    const dLM_OBJECT* kavlin = Object(155);
    ASSERT_NE(kavlin, nullptr);
    EXPECT_NE(+kavlin->attributes & kAttrSpecDial, 0u);

    const dLM_OBJECT* project = Object(164);
    ASSERT_NE(project, nullptr);
    ASSERT_NE(FindObjectItem(*project, 162), nullptr);
    EXPECT_EQ(FindObjectItem(*project, 162)->typ, kTypLong);

    // Blocks whose user items begin with a run of string items.
    int text_blocks = 0;
    for (const dLM_OBJECT* o : library.objects.records()) {
        if (o->ident == 11 || o->ident == 18 || (o->attributes & kAttrSpecDial) == 0) continue;
        int run = 0;
        bool started = false;
        for (const dLM_DATAITEM* item : Chain(o->data_user)) {
            const bool string_item = item->typ == kTypUser && item->ext->subtyp == kSubtypString;
            if (string_item) {
                started = true;
                ++run;
            } else if (started) {
                break;
            }
        }
        if (run >= 2) ++text_blocks;
    }
    EXPECT_GE(text_blocks, 3);
}

TEST_F(SampleDriverDir, DumpLibraryGolden) {
    RecordingLog dump;
    DumpLibrary(library, dump);
    std::string actual;
    for (const std::string& line : dump.lines) actual += MaskAddresses(line) + "\r\n";
    if (sizeof(void*) != 8)
        GTEST_SKIP() << "the golden dump holds the record sizes of 64-bit builds";

    const fs::path golden = SourceRoot() / "tests" / "golden" / "library_dump_driverdir.txt";
    if (std::getenv("LM_UPDATE_GOLDEN") != nullptr) test::WriteFile(golden, actual);
    const std::string expected = test::ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << golden << " is missing (LM_UPDATE_GOLDEN=1 writes it)";
    EXPECT_EQ(test::SplitCrLf(actual), test::SplitCrLf(expected));
}

TEST(DumpLibrary, NothingWhileLoggingIsOff) {
    RecordingLog off;
    off.on = false;
    ObjectList objects;
    ToolList tools;
    DumpLibrary(objects, tools, off);
    EXPECT_TRUE(off.lines.empty());
}

}  // namespace
}  // namespace lm
