#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "library/objects.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/unit/library/library_test_support.h"

namespace lm {
namespace {

using namespace lm::literals;
using test::LoadedObject;
using test::LoadObjectText;
using test::NamesOf;
using test::ObjectWith;
using test::RecordingLog;
using test::Text;
using Names = std::vector<std::string>;

constexpr std::string_view kNoObject = "LOAD OBJECT: Nenalezeno pocatecni slovo OBJECT";

class ObjectTest : public ::testing::Test {
protected:
    test::FakePlatform platform;
};

TEST_F(ObjectTest, TheWorkedMinimalObject) {
    LoadedObject r(platform);
    LoadObjectText(r, "OBJECT IDENT 7 JMENO \"AND\" OBJECT_END", 3);
    ASSERT_TRUE(r.appended) << r.error;
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.objects.size(), 1u);
    const dLM_OBJECT& o = *r.object();
    EXPECT_EQ(+o.next, nullptr);
    EXPECT_EQ(+o.ident, 7);
    EXPECT_EQ(Text(o.name), "AND");
    EXPECT_EQ(Text(o.title), "");
    EXPECT_EQ(+o.level, 0);
    EXPECT_EQ(+o.instance, 0);
    EXPECT_EQ(o.inputs + o.outputs + o.init_vars + o.vars, 0);
    EXPECT_EQ(o.ver_high + o.ver_low, 0);
    EXPECT_EQ(+o.tool, 3);
    EXPECT_EQ(+o.attributes, 0u);
    EXPECT_EQ(+o.bm_lib, 0u);
    EXPECT_EQ(+o.bm_desktop, 0u);
    for (dLM_DATAITEM* list : ItemListsOf(o)) EXPECT_EQ(list, nullptr);
    EXPECT_EQ(o.reserved1 + o.reserved2 + o.reserved3, 0u);
}

TEST_F(ObjectTest, NumbersKeepTheirLowBitsAndTextsAreCut) {
    LoadedObject r(platform);
    LoadObjectText(r,
                   Concat({"words before the start are ignored OBJECT\r\n"
                           "LEVEL 65537 IDENT 70000 VSTUPU 260 VYSTUPU -1 INIT_PROM $102 PROM 3\r\n"
                           "VER_HIGH 513 VER_LOW 7 JMENO \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\" NAZEV \"",
                           "Časovač zpožděný a dlouhý"_cp, "\"\r\nOBJECT_END"}));
    ASSERT_TRUE(r.appended) << r.error;
    const dLM_OBJECT& o = *r.object();
    EXPECT_EQ(+o.level, 1);
    EXPECT_EQ(+o.ident, 4464);
    EXPECT_EQ(+o.inputs, 4);
    EXPECT_EQ(+o.outputs, 255);
    EXPECT_EQ(+o.init_vars, 2);
    EXPECT_EQ(+o.vars, 3);
    EXPECT_EQ(+o.ver_high, 1);
    EXPECT_EQ(+o.ver_low, 7);
    EXPECT_EQ(Text(o.name), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(Text(o.title), std::string("Časovač zpožděný a d"_cp));  // 20 CP1250 characters
}

TEST_F(ObjectTest, AKeywordGivenTwiceKeepsTheLastValue) {
    LoadedObject r(platform);
    LoadObjectText(r, "OBJECT IDENT 1 JMENO \"A\" IDENT 2 JMENO \"B\" OBJECT_END");
    ASSERT_TRUE(r.appended);
    EXPECT_EQ(+r.object()->ident, 2);
    EXPECT_EQ(Text(r.object()->name), "B");
}

TEST_F(ObjectTest, AttributeGroups) {
    const struct {
        std::string_view group;
        std::uint32_t attributes;
    } rows[] = {
        {"( SPECDIAL RUNSPECDIAL )", 0x41},
        {"( SPECDIAL JEDEN SETSIZE NOUNIDIAL RUNSPECDIAL )", 0x4F},
        {"( JEDEN JEDEN )", 0x04},
        {"( JEDEF ZOBRAZ specdial )", 0},  // item attributes mean nothing here
    };
    for (const auto& row : rows) {
        LoadedObject r(platform);
        LoadObjectText(r, ObjectWith(Concat({"ATRIBUTY ", row.group})));
        ASSERT_TRUE(r.appended) << row.group << ": " << r.error;
        EXPECT_EQ(+r.object()->attributes, row.attributes) << row.group;
    }
}

TEST_F(ObjectTest, RejectedObjectsAndTheirMessages) {
    const std::string huge(10000, 'K');
    const struct {
        std::string text;
        std::string error;
    } rows[] = {
        {"", std::string(kNoObject)},
        {"object IDENT 1 OBJECT_END", std::string(kNoObject)},
        {"{ OBJECT } IDENT 1", std::string(kNoObject)},  // a commented start does not count
        {ObjectWith("FOO 1"), "LOAD OBJECT: Nezname klicove slovo: FOO"},
        {ObjectWith("ident 1"), "LOAD OBJECT: Nezname klicove slovo: ident"},
        {ObjectWith("OBJECT"), "LOAD OBJECT: Nezname klicove slovo: OBJECT"},
        {ObjectWith("ITEM JMENO \"X\" TYP BYTE ITEM_END"),
         "LOAD OBJECT: Nezname klicove slovo: ITEM"},
        {ObjectWith("D_IN_END"), "LOAD OBJECT: Nezname klicove slovo: D_IN_END"},
        {ObjectWith(huge),
         Concat({"LOAD OBJECT: Nezname klicove slovo: ", huge.substr(0, 255 - 36)})},
        {ObjectWith("ATRIBUTY SPECDIAL"),
         "LOADOBJECT_ATTR: Nenalezena pocatecni zavorka skupiny - \"(\""},
        {"OBJECT ATRIBUTY ( SPECDIAL OBJECT_END",
         "LOADOBJECT_ATTR: Nenalezena koncova zavorka skupiny - \")\""},
        {ObjectWith("D_IN ITEM TYP WORD ITEM_END D_IN_END"),
         "LOAD DATAITEM: JMENO nebo TYP nedefinovano"},
        {ObjectWith("DATA_USER ITEM JMENO \"A\" TYP ushort ITEM_END DATA_USER_END"),
         "LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER."},
        // Failures without a message of their own.
        {"OBJECT IDENT 7", ""},                          // no OBJECT_END
        {ObjectWith("VSTUPU x"), ""},                    // not a number
        {"OBJECT JMENO \"never closed OBJECT_END", ""},  // no closing quote
        {ObjectWith("D_IN ITEM JMENO \"A\" TYP BYTE ITEM_END"),
         ""},                                                 // the list swallows OBJECT_END
        {ObjectWith("D_OUT ITEM JMENO \"A\" TYP BYTE"), ""},  // ITEM without its end
        {"OBJECT BM_LIB", ""},
    };
    for (const auto& row : rows) {
        LoadedObject r(platform);
        LoadObjectText(r, row.text);
        EXPECT_FALSE(r.appended) << row.text.substr(0, 80);
        EXPECT_EQ(r.error, row.error) << row.text.substr(0, 80);
        EXPECT_TRUE(r.objects.empty());
    }
}

TEST_F(ObjectTest, TheErrorTextIsClearedAtTheStartAndKeptWithinItsLimit) {
    LoadedObject r(platform);
    r.error = "left over";
    LoadObjectText(r, ObjectWith(""));
    EXPECT_TRUE(r.appended);
    EXPECT_EQ(r.error, "");

    TextSource source{ObjectWith("UNKNOWN")};
    std::string error;
    NoLog log;
    EXPECT_FALSE(LOAD_OBJECT(source, 0, error, 10, r.objects, r.bitmaps, "", log));
    EXPECT_EQ(error, "LOAD OBJEC");
}

TEST_F(ObjectTest, ItemListsKeepFileOrderAndSkipStrayTokens) {
    LoadedObject r(platform);
    LoadObjectText(r, ObjectWith(R"(
        D_IN  { the inputs } ITEM JMENO "I1" TYP BYTE ITEM_END stray ; D_OUT_END OBJECT_END
              ITEM JMENO "I2" TYP BYTE ITEM_END D_IN_END
        D_OUT ITEM JMENO "O1" TYP BYTE ITEM_END D_OUT_END
        D_INIT ITEM JMENO "N1" TYP BYTE ITEM_END D_INIT_END
        D_PROM ITEM JMENO "P1" TYP BYTE ITEM_END D_PROM_END
        DATA_USER ITEM JMENO "U1" TYP BYTE ITEM_END DATA_USER_END
        D_IN ITEM JMENO "I3" TYP BYTE ITEM_END D_IN_END
        D_PROM D_PROM_END)"));
    ASSERT_TRUE(r.appended) << r.error;
    const dLM_OBJECT& o = *r.object();
    EXPECT_EQ(NamesOf(o.d_in), (Names{"I1", "I2", "I3"}));  // a list given twice appends
    EXPECT_EQ(NamesOf(o.d_out), (Names{"O1"}));
    EXPECT_EQ(NamesOf(o.d_init), (Names{"N1"}));
    EXPECT_EQ(NamesOf(o.d_prom), (Names{"P1"}));
    EXPECT_EQ(NamesOf(o.data_user), (Names{"U1"}));
}

TEST_F(ObjectTest, LogLinesOfAnObject) {
    LoadedObject r(platform);
    RecordingLog log;
    LoadObjectText(r,
                   Concat({"OBJECT JMENO \"AND\" NAZEV \"", "Logický součin"_cp,
                           "\" D_IN ITEM JMENO \"IN1\" TYP BYTE CW_OUT READ ITEM_END D_IN_END "
                           "OBJECT_END"}),
                   0, "", &log);
    ASSERT_TRUE(r.appended);
    EXPECT_EQ(log.lines, (Names{"READ_CW_OUT: \"READ\"", "INS_DATAITEM: IN1",
                                Concat({"INS_OBJECT: AND ", "Logický součin"_cp})}));
}

TEST_F(ObjectTest, RandomBytesNeverCrash) {
    std::mt19937 random(5);
    const std::string words[] = {"OBJECT",   "OBJECT_END", "D_IN",     "D_IN_END", "ITEM",
                                 "ITEM_END", "JMENO",      "\"",       "TYP",      "BYTE",
                                 "{",        "}",          "ATRIBUTY", "(",        ")"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i) {
            if (random() % 4 == 0) {
                text += words[random() % std::size(words)];
                text += ' ';
            } else {
                text += static_cast<char>(random() % 256);
            }
        }
        LoadedObject r(platform);
        LoadObjectText(r, text);
        EXPECT_LE(r.error.size(), 255u);
        EXPECT_EQ(r.appended, r.objects.size() == 1);
    }
    EXPECT_EQ(platform.live_bitmaps(), 0);
}

// --- Bitmaps

class ObjectBitmapTest : public ObjectTest {
protected:
    void SetUp() override {
        test::WriteFile(dir.driver_dir() / "A.BMP", "BM picture");
        test::WriteFile(dir.driver_dir() / "B.BMP", "BM picture");
    }
    test::TempDir dir;
};

TEST_F(ObjectBitmapTest, BitmapsAreLoadedPerReference) {
    LoadedObject r(platform);
    RecordingLog log;
    const std::string drv = dir.driver_dir_text();
    LoadObjectText(r, ObjectWith("BM_DESKTOP B.BMP BM_LIB A.BMP"), 0, drv, &log);
    LoadObjectText(r, ObjectWith("BM_LIB A.BMP BM_DESKTOP MISSING.BMP"), 0, drv, &log);
    LoadObjectText(r, ObjectWith(""), 0, drv, &log);
    ASSERT_EQ(r.objects.size(), 3u);
    const dLM_OBJECT& first = *r.objects.head();
    const dLM_OBJECT& second = *first.next;
    const dLM_OBJECT& third = *second.next;
    EXPECT_NE(+first.bm_lib, 0u);
    EXPECT_NE(+first.bm_desktop, 0u);
    EXPECT_NE(+second.bm_lib, 0u);
    EXPECT_NE(+second.bm_lib, +first.bm_lib);  // the same file loaded again: its own entry
    EXPECT_EQ(+second.bm_desktop, 0u);         // a missing file: handle 0, object still there
    EXPECT_EQ(+third.bm_lib, 0u);
    EXPECT_EQ(+third.bm_desktop, 0u);
    ASSERT_EQ(r.bitmaps.size(), 3u);
    EXPECT_EQ(r.bitmaps.entries()[0].file_name, "A.BMP");  // BM_LIB is loaded first
    EXPECT_EQ(r.bitmaps.entries()[1].file_name, "B.BMP");
    EXPECT_EQ(r.bitmaps.entries()[2].file_name, "A.BMP");
    EXPECT_EQ(platform.live_bitmaps(), 3);
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "INS_BITMAP: A.BMP"), 2);
    r.bitmaps.Clear();
    EXPECT_EQ(platform.live_bitmaps(), 0);
}

TEST_F(ObjectBitmapTest, ARejectedObjectLoadsNoBitmap) {
    LoadedObject r(platform);
    LoadObjectText(r, "OBJECT BM_LIB A.BMP FOO OBJECT_END", 0, dir.driver_dir_text());
    EXPECT_FALSE(r.appended);
    EXPECT_TRUE(r.bitmaps.empty());
    EXPECT_EQ(platform.live_bitmaps(), 0);
}

// A platform that cannot read some picture files.
class PickyPlatform : public test::FakePlatform {
public:
    BitmapHandle LoadBitmapFile(const std::string& path) override {
        return path.find("BROKEN") != std::string::npos ? 0 : FakePlatform::LoadBitmapFile(path);
    }
};

TEST_F(ObjectBitmapTest, AFileThatIsNoPictureGivesHandleZeroAndNoEntry) {
    PickyPlatform picky;
    test::WriteFile(dir.driver_dir() / "BROKEN.BMP", "not a picture");
    LoadedObject r(picky);
    RecordingLog log;
    LoadObjectText(r, ObjectWith("BM_LIB BROKEN.BMP BM_DESKTOP A.BMP"), 0, dir.driver_dir_text(),
                   &log);
    ASSERT_TRUE(r.appended);
    EXPECT_EQ(+r.object()->bm_lib, 0u);
    EXPECT_NE(+r.object()->bm_desktop, 0u);
    EXPECT_EQ(r.bitmaps.size(), 1u);
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "INS_BITMAP: BROKEN.BMP"), 0);
}

// --- Copies, deletion, lookups

constexpr std::string_view kTwoListObject = R"(OBJECT IDENT 9 JMENO "PID" NAZEV "Regulator"
    LEVEL 4 VSTUPU 1 VYSTUPU 1 VER_HIGH 2 VER_LOW 3 ATRIBUTY ( SPECDIAL )
    D_IN ITEM IDENT 1 JMENO "W" TYP USER SUBTYP 3BF DEFAULT "0.5" ITEM_END D_IN_END
    D_OUT ITEM IDENT 10 JMENO "Y" TYP USER SUBTYP 3BF ITEM_END D_OUT_END
    D_INIT ITEM IDENT 20 JMENO "KP" TYP USER SUBTYP 3BF DEFAULT "1.0" ITEM_END D_INIT_END
    D_PROM ITEM IDENT 9999 JMENO "HELPINDEX" TYP WORD DEFAULT "1401" ITEM_END D_PROM_END
    DATA_USER ITEM IDENT 10 JMENO "Y2" TYP BYTE ITEM_END
              ITEM IDENT 100 JMENO "TEXT1" TYP USER SUBTYP STRING DEFAULT "abc" ITEM_END
    DATA_USER_END
    OBJECT_END)";

TEST_F(ObjectTest, CopyObjectGivesDefaultsAndSharesBitmaps) {
    LoadedObject library(platform);
    LoadObjectText(library, kTwoListObject, 4);
    ASSERT_TRUE(library.appended) << library.error;
    dLM_OBJECT& source = *library.object();
    source.bm_lib = 0x2000;  // as if loaded
    // The library object's values edited: the copies must not see it.
    for (dLM_DATAITEM* head : ItemListsOf(source)) {
        for (dLM_DATAITEM* item : Chain(head)) item->ext->value.assign("edited");
    }

    ObjectList instances;
    RecordingLog log;
    COPY_OBJECT(source, instances, 1, log);
    dLM_OBJECT* copy = COPY_OBJECT(source, instances, 2, log);
    ASSERT_EQ(instances.size(), 2u);
    EXPECT_EQ(copy, instances.tail());
    EXPECT_EQ(+instances.head()->instance, 1);
    EXPECT_EQ(+copy->instance, 2);
    EXPECT_EQ(+source.instance, 0);
    EXPECT_EQ(+copy->ident, 9);
    EXPECT_EQ(Text(copy->name), "PID");
    EXPECT_EQ(Text(copy->title), "Regulator");
    EXPECT_EQ(+copy->level, 4);
    EXPECT_EQ(+copy->inputs, 1);
    EXPECT_EQ(+copy->ver_high, 2);
    EXPECT_EQ(+copy->ver_low, 3);
    EXPECT_EQ(+copy->tool, 4);
    EXPECT_EQ(+copy->attributes, kAttrSpecDial);
    EXPECT_EQ(+copy->bm_lib, 0x2000u);
    const auto source_lists = ItemListsOf(source);
    const auto copy_lists = ItemListsOf(*copy);
    for (std::size_t l = 0; l < 5; ++l) {
        EXPECT_EQ(NamesOf(copy_lists[l]), NamesOf(source_lists[l]));
        for (dLM_DATAITEM* item : Chain(copy_lists[l])) {
            EXPECT_EQ(item->ext->value.view(), item->ext->default_value.view()) << item->name;
            for (dLM_DATAITEM* original : Chain(source_lists[l])) EXPECT_NE(item, original);
        }
    }
    EXPECT_EQ(FindObjectItem(*copy, 1)->ext->value.view(), "0.5");
    EXPECT_EQ(FindObjectItem(*copy, 100)->ext->value.view(), "abc");
    EXPECT_EQ(log.lines.back(), "INS_OBJECT: PID Regulator");
    // Freeing the copies leaves the library object whole (ASan checks).
    FREE_OBJECTS(instances);
    EXPECT_TRUE(instances.empty());
    EXPECT_EQ(FindObjectItem(source, 20)->ext->value.view(), "edited");
}

TEST_F(ObjectTest, FindObjectItemSearchesTheListsInOrder) {
    LoadedObject r(platform);
    LoadObjectText(r, kTwoListObject);
    ASSERT_TRUE(r.appended);
    const dLM_OBJECT& o = *r.object();
    EXPECT_EQ(Text(FindObjectItem(o, 10)->name), "Y");  // d_out before data_user
    EXPECT_EQ(Text(FindObjectItem(o, 9999)->name), "HELPINDEX");
    EXPECT_EQ(Text(FindObjectItem(o, 100)->name), "TEXT1");
    EXPECT_EQ(FindObjectItem(o, 2), nullptr);
    const auto lists = ItemListsOf(o);
    EXPECT_EQ(lists[0], +o.d_in);
    EXPECT_EQ(lists[1], +o.d_out);
    EXPECT_EQ(lists[2], +o.d_init);
    EXPECT_EQ(lists[3], +o.d_prom);
    EXPECT_EQ(lists[4], +o.data_user);
}

TEST_F(ObjectTest, DeleteObjectUnlinksAnywhereInTheList) {
    LoadedObject library(platform);
    LoadObjectText(library, kTwoListObject);
    ASSERT_TRUE(library.appended);
    NoLog log;
    const struct {
        int deleted;  // index of the deleted instance
        std::vector<int> left;
    } rows[] = {{0, {2, 3}}, {1, {1, 3}}, {2, {1, 2}}};
    for (const auto& row : rows) {
        ObjectList instances;
        std::vector<dLM_OBJECT*> made;
        for (int i = 1; i <= 3; ++i) {
            made.push_back(
                COPY_OBJECT(*library.object(), instances, static_cast<std::uint16_t>(i), log));
        }
        EXPECT_TRUE(DELETE_OBJECT(instances, made[row.deleted]));
        // Appending after the deletion still links at the real end.
        COPY_OBJECT(*library.object(), instances, 4, log);
        std::vector<int> left;
        for (dLM_OBJECT* o : instances.records()) left.push_back(o->instance);
        std::vector<int> expected = row.left;
        expected.push_back(4);
        EXPECT_EQ(left, expected) << "deleted " << row.deleted;
        EXPECT_EQ(instances.size(), 3u);
        EXPECT_EQ(+instances.tail()->instance, 4);
    }
}

TEST_F(ObjectTest, DeleteObjectLeavesARecordOfAnotherListAlone) {
    LoadedObject library(platform);
    LoadObjectText(library, kTwoListObject);
    ObjectList instances;
    NoLog log;
    COPY_OBJECT(*library.object(), instances, 1, log);
    EXPECT_FALSE(DELETE_OBJECT(instances, library.object()));
    EXPECT_FALSE(DELETE_OBJECT(instances, nullptr));
    EXPECT_EQ(instances.size(), 1u);
    EXPECT_EQ(library.objects.size(), 1u);
    EXPECT_EQ(Text(library.object()->name), "PID");
    EXPECT_TRUE(DELETE_OBJECT(instances, instances.head()));
    EXPECT_TRUE(instances.empty());
    EXPECT_EQ(instances.tail(), nullptr);
}

}  // namespace
}  // namespace lm
