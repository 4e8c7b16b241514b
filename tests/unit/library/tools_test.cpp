#include "library/tools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp1250.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/library/library_test_support.h"

namespace lm {
namespace {

using namespace lm::literals;
using test::RecordingLog;
using test::Text;
using Names = std::vector<std::string>;

class ToolsTest : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& content) {
        test::WriteFile(dir.driver_dir() / name, content);
    }
    // An object definition file with one item.
    void WriteObject(const std::string& name, int ident, std::string_view extra = "") {
        Write(name, Concat({"OBJECT IDENT ", std::to_string(ident), " JMENO \"", name, "\" ", extra,
                            " D_IN ITEM JMENO \"IN\" TYP BYTE ITEM_END D_IN_END OBJECT_END\r\n"}));
    }
    // Writes TOOLS.INI and loads it.
    bool Load(const std::string& tools_ini) {
        Write("TOOLS.INI", tools_ini);
        return LOAD_TOOLS(platform.files(), path(), driver_dir(), library, error, kMaxText, log);
    }
    std::string driver_dir() const { return dir.driver_dir_text(); }
    std::string path() const { return driver_dir() + "TOOLS.INI"; }
    Names ObjectNames() const {
        Names names;
        for (dLM_OBJECT* o : library.objects.records()) names.push_back(Text(o->name));
        return names;
    }
    std::vector<int> ObjectTools() const {
        std::vector<int> tools;
        for (dLM_OBJECT* o : library.objects.records()) tools.push_back(o->tool);
        return tools;
    }
    Names ToolNames() const {
        Names names;
        for (dLMN_TOOL* t : library.tools.records()) names.push_back(Text(t->description));
        return names;
    }

    test::TempDir dir;
    test::FakePlatform platform;
    ObjectLibrary library{platform};
    std::string error;
    RecordingLog log;
};

TEST_F(ToolsTest, Firmware) {
    const struct {
        std::string_view words;
        std::uint32_t low, high;
    } rows[] = {
        {"FIRMWARE 2 3", 2000, 3000},
        {"FIRMWARE 1500 0", 1500, 0},
        {"FIRMWARE 21 999", 2100, 9990},
        {"FIRMWARE 1000 $FFFFFFFF", 1000, 4294967295u},
        {"FIRMWARE x 5", 0, 5000},  // a value that cannot be read counts as 0
        {"FIRMWARE 5", 5000, 0},    // the input ends before the second value
        {"FIRMWARE 1 1 FIRMWARE 3 4", 3000, 4000},
        {"firmware 2 3", 0, 0},
        {"", 0, 0},
    };
    for (const auto& row : rows) {
        ObjectLibrary fresh(platform);
        Write("TOOLS.INI", std::string(row.words));
        EXPECT_TRUE(
            LOAD_TOOLS(platform.files(), path(), driver_dir(), fresh, error, kMaxText, log));
        EXPECT_EQ(fresh.firmware_low, row.low) << row.words;
        EXPECT_EQ(fresh.firmware_high, row.high) << row.words;
    }
}

TEST_F(ToolsTest, ScaleFirmware) {
    const std::uint32_t rows[][2] = {{0, 0},       {1, 1000},   {2, 2000},
                                     {21, 2100},   {999, 9990}, {1000, 1000},
                                     {1001, 1001}, {100, 1000}, {4294967295u, 4294967295u}};
    for (const auto& row : rows) EXPECT_EQ(ScaleFirmware(row[0]), row[1]) << row[0];
}

TEST_F(ToolsTest, AMissingToolsFileLoadsNothing) {
    EXPECT_FALSE(LOAD_TOOLS(platform.files(), path(), driver_dir(), library, error, kMaxText, log));
    EXPECT_EQ(error, Concat({"Soubor ", path(), " neexistuje, nebo je prázdný."_cp}));
    EXPECT_TRUE(library.empty());
}

TEST_F(ToolsTest, ToolsWithTheirObjectsAndBitmaps) {
    Write("TL.BMP", "BM");
    Write("OB.BMP", "BM");
    WriteObject("A.DEF", 1, "BM_LIB OB.BMP");
    WriteObject("B.DEF", 2, "BM_LIB OB.BMP");
    WriteObject("C.DEF", 3);
    EXPECT_TRUE(
        Load(Concat({"{ sample } FIRMWARE 2 3\r\nTOOL LEVEL 2 ID 258 POPIS \"", "Logické funkce"_cp,
                     "\" BITMAP TL.BMP unknown words OBJECTS A.DEF B.DEF END_OBJECTS "
                     "END_TOOL\r\nstray words at the top level\r\n"
                     "TOOL ID 7 OBJECTS C.DEF END_OBJECTS BITMAP NONE.BMP END_TOOL\r\n"})));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ObjectNames(), (Names{"A.DEF", "B.DEF", "C.DEF"}));
    EXPECT_EQ(ObjectTools(), (std::vector<int>{2, 2, 7}));  // ID 258 is used as 8 bits
    ASSERT_EQ(library.tools.size(), 2u);
    const dLMN_TOOL& first = *library.tools.head();
    EXPECT_EQ(+first.level, 2);
    EXPECT_EQ(+first.id, 2);
    EXPECT_EQ(Text(first.description), std::string("Logické funk"_cp));  // 12 characters
    EXPECT_NE(+first.bitmap, 0u);
    const dLMN_TOOL& second = *first.next;
    EXPECT_EQ(+second.id, 7);
    EXPECT_EQ(Text(second.description), "");
    EXPECT_EQ(+second.bitmap, 0u);  // a missing bitmap file
    // Two objects naming the same file: two entries with their own handles.
    const dLM_OBJECT& a = *library.objects.head();
    EXPECT_NE(+a.bm_lib, 0u);
    EXPECT_NE(+a.next->bm_lib, 0u);
    EXPECT_NE(+a.bm_lib, +a.next->bm_lib);
    EXPECT_EQ(library.bitmaps.size(), 3u);
    EXPECT_EQ(platform.live_bitmaps(), 3);
    // What the log shows, in order.
    Names expected_log = {"INS_DATAITEM: IN",
                          "INS_BITMAP: OB.BMP",
                          "INS_OBJECT: A.DEF ",
                          "INS_DATAITEM: IN",
                          "INS_BITMAP: OB.BMP",
                          "INS_OBJECT: B.DEF ",
                          "INS_BITMAP: TL.BMP",
                          Concat({"INS_TOOL: ", "Logické funk"_cp}),
                          "INS_DATAITEM: IN",
                          "INS_OBJECT: C.DEF ",
                          "INS_BITMAP: NONE.BMP not loaded - handle 0",
                          "INS_TOOL: "};
    EXPECT_EQ(log.lines, expected_log);

    library.Free();
    EXPECT_TRUE(library.empty());
    EXPECT_TRUE(library.bitmaps.empty());
    EXPECT_EQ(platform.live_bitmaps(), 0);
    EXPECT_EQ(library.firmware_low, 0u);
}

TEST_F(ToolsTest, AToolWithoutKeywordsAddsNoRecordButLoadsItsObjects) {
    WriteObject("a.obj", 1);
    EXPECT_TRUE(Load("TOOL OBJECTS a.obj END_OBJECTS END_TOOL"));
    EXPECT_EQ(ObjectNames(), (Names{"a.obj"}));
    EXPECT_EQ(ObjectTools(), (std::vector<int>{0}));
    EXPECT_TRUE(library.tools.empty());
}

TEST_F(ToolsTest, TheIdMustPrecedeTheObjects) {
    WriteObject("A.DEF", 1);
    WriteObject("B.DEF", 2);
    WriteObject("C.DEF", 3);
    EXPECT_TRUE(
        Load("TOOL OBJECTS A.DEF END_OBJECTS ID 5 END_TOOL\r\n"
             "TOOL ID 3 OBJECTS B.DEF END_OBJECTS ID 4 OBJECTS C.DEF END_OBJECTS END_TOOL"));
    EXPECT_EQ(ObjectTools(), (std::vector<int>{0, 3, 4}));
    ASSERT_EQ(library.tools.size(), 2u);
    EXPECT_EQ(+library.tools.head()->id, 5);
    EXPECT_EQ(+library.tools.tail()->id, 4);  // the last ID of the block
}

TEST_F(ToolsTest, MissingObjectFilesAreSkippedSilently) {
    WriteObject("B.DEF", 2);
    std::string many = "TOOL ID 1 OBJECTS ";
    for (int i = 0; i < 10000; ++i) many += Concat({"MISSING", std::to_string(i), ".DEF "});
    many += "B.DEF END_OBJECTS END_TOOL";
    EXPECT_TRUE(Load(many));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ObjectNames(), (Names{"B.DEF"}));
    EXPECT_EQ(library.tools.size(), 1u);
}

TEST_F(ToolsTest, AnObjectRejectedWithAMessageStopsTheLoad) {
    WriteObject("A.DEF", 1);
    WriteObject("B.DEF", 2);
    WriteObject("BAD.DEF", 3, "UNKNOWN");
    WriteObject("C.DEF", 4);
    EXPECT_FALSE(
        Load("TOOL ID 1 POPIS \"First\" OBJECTS A.DEF END_OBJECTS END_TOOL\r\n"
             "TOOL ID 2 POPIS \"Second\" OBJECTS B.DEF BAD.DEF C.DEF END_OBJECTS END_TOOL\r\n"
             "TOOL ID 3 POPIS \"Third\" OBJECTS C.DEF END_OBJECTS END_TOOL\r\n"));
    EXPECT_EQ(error, "LOAD OBJECT: Nezname klicove slovo: UNKNOWN");
    EXPECT_EQ(ObjectNames(), (Names{"A.DEF", "B.DEF"}));  // what came before stays
    EXPECT_EQ(ToolNames(), (Names{"First"}));             // the tool being read is not added
}

TEST_F(ToolsTest, AnObjectRejectedWithoutAMessageIsSkipped) {
    WriteObject("A.DEF", 1);
    Write("NOEND.DEF", "OBJECT IDENT 2 JMENO \"NOEND\" D_IN ITEM JMENO \"X\" TYP BYTE ITEM_END");
    Write("NAN.DEF", "OBJECT IDENT x OBJECT_END");
    WriteObject("C.DEF", 4);
    EXPECT_TRUE(
        Load("TOOL ID 1 POPIS \"T\" OBJECTS A.DEF NOEND.DEF NAN.DEF C.DEF END_OBJECTS END_TOOL"));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ObjectNames(), (Names{"A.DEF", "C.DEF"}));
    EXPECT_EQ(ToolNames(), (Names{"T"}));
}

TEST_F(ToolsTest, BadToolValuesStopTheLoad) {
    WriteObject("A.DEF", 1);
    const struct {
        std::string_view tool;
        std::string_view keyword;
    } rows[] = {
        {"TOOL LEVEL x END_TOOL", "LEVEL"},
        {"TOOL ID END_TOOL", "ID"},  // END_TOOL is taken as the value
        {"TOOL ID 1.5 END_TOOL", "ID"},
        {"TOOL POPIS \"never closed END_TOOL", "POPIS"},
    };
    for (const auto& row : rows) {
        ObjectLibrary fresh(platform);
        Write("TOOLS.INI", "TOOL ID 1 POPIS \"Kept\" OBJECTS A.DEF END_OBJECTS END_TOOL\r\n" +
                               std::string(row.tool) +
                               "\r\nTOOL ID 2 OBJECTS A.DEF END_OBJECTS END_TOOL");
        EXPECT_FALSE(
            LOAD_TOOLS(platform.files(), path(), driver_dir(), fresh, error, kMaxText, log));
        EXPECT_EQ(error, path() + ": " + std::string(row.keyword) + " - chyba definice")
            << row.tool;
        EXPECT_EQ(fresh.objects.size(), 1u) << row.tool;
        EXPECT_EQ(fresh.tools.size(), 1u) << row.tool;
    }
}

TEST_F(ToolsTest, ABlockCutOffByTheEndOfTheFileStillCounts) {
    WriteObject("A.DEF", 1);
    EXPECT_TRUE(Load("TOOL ID 1 POPIS \"T\" OBJECTS A.DEF"));
    EXPECT_EQ(ObjectNames(), (Names{"A.DEF"}));
    EXPECT_EQ(ToolNames(), (Names{"T"}));
}

TEST_F(ToolsTest, ReleasedWhenTheLibraryGoes) {
    Write("TL.BMP", "BM");
    WriteObject("A.DEF", 1, "BM_LIB TL.BMP BM_DESKTOP TL.BMP");
    {
        ObjectLibrary scoped(platform);
        Write("TOOLS.INI", "TOOL ID 1 BITMAP TL.BMP OBJECTS A.DEF END_OBJECTS END_TOOL");
        EXPECT_TRUE(
            LOAD_TOOLS(platform.files(), path(), driver_dir(), scoped, error, kMaxText, log));
        EXPECT_EQ(platform.live_bitmaps(), 3);
    }
    EXPECT_EQ(platform.live_bitmaps(), 0);
}

}  // namespace
}  // namespace lm
