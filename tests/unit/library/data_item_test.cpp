#include <gtest/gtest.h>

#include <string>

#include "library/data_items.h"
#include "tests/unit/library/library_test_support.h"

namespace lm {
namespace {

using test::RecordingLog;
using test::Text;

constexpr std::string_view kNoNameOrTyp = "LOAD DATAITEM: JMENO nebo TYP nedefinovano";
constexpr std::string_view kTypMessage =
    "LOAD DATAITEM TYP: ocekavano BYTE, INT, WORD, LONG, DWORD nebo USER.";
constexpr std::string_view kSubtypMessage =
    "LOAD DATAITEM SUBTYP: ocekavano 3BF, FLOAT, STRING, BIT, BYTEHEX nebo WORDHEX";
constexpr std::string_view kCwOutMessage =
    "LOAD DATAITEM CW_OUT: ocekavano READ, WRITE, BIDIR nebo NONE.";

struct LoadedItem {
    bool ok = false;
    std::string error;
    ItemList list;
    RecordingLog log;
    std::string rest;  // the next token after the block
    dLM_DATAITEM* item() const { return list.head(); }
};

// Reads one item block (the text after ITEM).
void LoadItem(LoadedItem& into, std::string_view block) {
    TextSource source{std::string(block)};
    into.ok = LOAD_DATAITEM(source, into.list, into.error, kMaxText, into.log);
    into.rest = READ_TOKEN(source);
}

TEST(DataItem, MinimalItemTakesTheDefaults) {
    LoadedItem r;
    LoadItem(r, "JMENO \"X\" TYP WORD ITEM_END NEXT");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.rest, "NEXT");  // the block ends at ITEM_END
    ASSERT_EQ(r.list.size(), 1u);
    const dLM_DATAITEM& item = *r.item();
    EXPECT_EQ(Text(item.name), "X");
    EXPECT_EQ(+item.typ, kTypWord);
    EXPECT_EQ(+item.ident, 0);
    EXPECT_EQ(+item.delka, 0);
    EXPECT_EQ(+item.attributes, 0u);
    EXPECT_EQ(Text(item.help), "");
    EXPECT_EQ(Text(item.second_help), "");
    EXPECT_EQ(Text(item.format), "");
    ASSERT_NE(+item.ext, nullptr);
    EXPECT_EQ(+item.ext->subtyp, 0);
    EXPECT_EQ(ItemMin(item), 0.0);
    EXPECT_EQ(ItemMax(item), 65535.0);
    EXPECT_EQ(item.ext->default_value.view(), "");
    EXPECT_EQ(item.ext->value.view(), "");
    EXPECT_EQ(+item.ext->cw_out, kCwOutNone);
    EXPECT_EQ(+item.ext->save_flag, 0);
    EXPECT_EQ(+item.ext->cw_selected, 0);
    EXPECT_EQ(r.log.lines, std::vector<std::string>{"INS_DATAITEM: X"});
}

TEST(DataItem, EveryKeywordIsStored) {
    LoadedItem r;
    LoadItem(r,
             "IDENT 70000 JMENO \"Teplota\" HELP1 \"Merena teplota\" HELP2 \"DRUHY.HLP\"\r\n"
             "TYP USER SUBTYP 3BF DELKA 3 FORMAT \"####.##\" POZICE_X 12 POZICE_Y -1\r\n"
             "ATRIBUTY ( SETRUN ZOBRAZ ) LABEL \"T1\" INDEX \"a.b\" SUBINDEX 300\r\n"
             "DEFAULT \"12.5\" MIN -1.5 MAX 1E30 CW_OUT BIDIR ITEM_END");
    ASSERT_TRUE(r.ok) << r.error;
    const dLM_DATAITEM& item = *r.item();
    EXPECT_EQ(+item.ident, 4464);  // low 16 bits of 70000
    EXPECT_EQ(Text(item.name), "Teplota");
    EXPECT_EQ(Text(item.help), "Merena teplota");
    EXPECT_EQ(Text(item.second_help), "DRUHY.HLP");
    EXPECT_EQ(+item.typ, kTypUser);
    EXPECT_EQ(+item.ext->subtyp, kSubtyp3BF);
    EXPECT_EQ(+item.delka, 3);
    EXPECT_EQ(Text(item.format), "####.##");
    EXPECT_EQ(+item.pos_x, 12);
    EXPECT_EQ(+item.pos_y, 0xFFFF);
    EXPECT_EQ(+item.attributes, kAttrSetRun | kAttrZobraz);
    EXPECT_EQ(item.ext->label.view(), "T1");
    EXPECT_EQ(item.ext->index.view(), "a.b");
    EXPECT_EQ(+item.ext->subindex, 44);  // low 8 bits of 300
    EXPECT_EQ(item.ext->default_value.view(), "12.5");
    EXPECT_EQ(item.ext->value.view(), "12.5");  // the value starts as the default
    EXPECT_EQ(ItemMin(item), -1.5);
    EXPECT_NEAR(ItemMax(item), 1e30, 1e30 * 1e-11);
    EXPECT_EQ(+item.ext->cw_out, kCwOutBidir);
}

TEST(DataItem, ShortRealsAreStoredAsTheirSixBytes) {
    LoadedItem r;
    LoadItem(r, "JMENO \"X\" TYP WORD MIN 1 MAX -2 ITEM_END");
    ASSERT_TRUE(r.ok);
    const dLM_DATAITEM_EXT& ext = *r.item()->ext;
    // 1 = 2^0: exponent 129, fraction 0; -2: exponent 130, sign bit in byte 5.
    EXPECT_EQ(std::vector<int>(ext.min, ext.min + 6), (std::vector<int>{0x81, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(ext.max, ext.max + 6), (std::vector<int>{0x82, 0, 0, 0, 0, 0x80}));
}

TEST(DataItem, TypesSubtypesAndDirections) {
    const struct {
        std::string_view words;
        std::uint8_t typ, subtyp, cw_out;
    } rows[] = {
        {"TYP BYTE", kTypByte, 0, 0},
        {"TYP INT", kTypInt, 0, 0},
        {"TYP WORD", kTypWord, 0, 0},
        {"TYP LONG", kTypLong, 0, 0},
        {"TYP DWORD", kTypDword, 0, 0},
        {"TYP USER", kTypUser, 0, 0},
        {"TYP USER SUBTYP 3BF", kTypUser, kSubtyp3BF, 0},
        {"TYP USER SUBTYP STRING", kTypUser, kSubtypString, 0},
        {"TYP USER SUBTYP BIT", kTypUser, kSubtypBit, 0},
        {"TYP USER SUBTYP WORDHEX", kTypUser, kSubtypWordHex, 0},
        {"TYP USER SUBTYP BYTEHEX", kTypUser, kSubtypByteHex, 0},
        {"TYP USER SUBTYP FLOAT", kTypUser, kSubtypFloat, 0},
        {"TYP BYTE CW_OUT NONE", kTypByte, 0, kCwOutNone},
        {"TYP BYTE CW_OUT READ", kTypByte, 0, kCwOutRead},
        {"TYP BYTE CW_OUT WRITE", kTypByte, 0, kCwOutWrite},
        {"TYP BYTE CW_OUT BIDIR", kTypByte, 0, kCwOutBidir},
        {"TYP BYTE TYP LONG", kTypLong, 0, 0},  // the last value wins
    };
    for (const auto& row : rows) {
        LoadedItem r;
        LoadItem(r, Concat({"JMENO \"X\" ", row.words, " ITEM_END"}));
        ASSERT_TRUE(r.ok) << row.words << ": " << r.error;
        EXPECT_EQ(+r.item()->typ, row.typ) << row.words;
        EXPECT_EQ(+r.item()->ext->subtyp, row.subtyp) << row.words;
        EXPECT_EQ(+r.item()->ext->cw_out, row.cw_out) << row.words;
    }
}

TEST(DataItem, AttributeGroups) {
    const struct {
        std::string_view group;
        std::uint32_t attributes;
    } rows[] = {
        {"( JEDEF JEMINMAX )", 0x30},
        {"( SETRUN SETEDIT DOBLOKU ZOBRAZ JEDEF JEMINMAX EDITFORM POLE )", 0xFF},
        {"( )", 0},
        {"( JEDEF JEDEF )", 0x20},            // values are added: twice adds twice
        {"( FOO jedef JEDEF, POLE )", 0x80},  // unknown names are ignored
        {"words before ( ZOBRAZ )", 0x08},    // tokens before "(" are skipped
        {"(JEDEF) ( ZOBRAZ )", 0x08},         // the brackets must stand alone: "(JEDEF)" is skipped
    };
    for (const auto& row : rows) {
        LoadedItem r;
        LoadItem(r, Concat({"JMENO \"X\" TYP BYTE ATRIBUTY ", row.group, " ITEM_END"}));
        ASSERT_TRUE(r.ok) << row.group << ": " << r.error;
        EXPECT_EQ(+r.item()->attributes, row.attributes) << row.group;
    }
}

TEST(DataItem, FailuresAndTheirMessages) {
    const struct {
        std::string_view block;
        std::string_view error;
    } rows[] = {
        {"TYP WORD ITEM_END", kNoNameOrTyp},
        {"JMENO \"X\" ITEM_END", kNoNameOrTyp},
        {"JMENO \"NONE\" TYP WORD ITEM_END", kNoNameOrTyp},  // NONE reads as an empty name
        {"JMENO \"X\" TYP word ITEM_END", kTypMessage},
        {"JMENO \"X\" TYP BIT ITEM_END", kTypMessage},
        {"JMENO \"X\" TYP WORD SUBTYP float ITEM_END", kSubtypMessage},
        {"JMENO \"X\" TYP WORD SUBTYP NONE ITEM_END", kSubtypMessage},
        {"JMENO \"X\" TYP WORD CW_OUT read ITEM_END", kCwOutMessage},
        {"JMENO \"X\" TYP WORD ATRIBUTY JEDEF ITEM_END",
         "LOADDATAITEM_ATTR: Nenalezena pocatecni zavorka skupiny - \"(\""},
        {"JMENO \"X\" TYP WORD ATRIBUTY ( JEDEF ITEM_END",
         "LOADDATAITEM_ATTR: Nenalezena koncova zavorka skupiny - \")\""},
        // A failed number or string has no message of its own.
        {"JMENO \"X\" TYP WORD IDENT 12a ITEM_END", kNoNameOrTyp},
        {"JMENO \"X\" TYP WORD DELKA ITEM_END", kNoNameOrTyp},
        {"JMENO \"X\" TYP WORD MIN abc ITEM_END", kNoNameOrTyp},
        {"JMENO \"X\" TYP WORD MAX 1E39 ITEM_END", kNoNameOrTyp},  // beyond the short real
        {"JMENO \"X\" TYP WORD DEFAULT \"never closed ITEM_END", kNoNameOrTyp},
    };
    for (const auto& row : rows) {
        LoadedItem r;
        LoadItem(r, row.block);
        EXPECT_FALSE(r.ok) << row.block;
        EXPECT_EQ(r.error, row.error) << row.block;
        EXPECT_TRUE(r.list.empty()) << row.block;
    }
}

TEST(DataItem, UnknownTokensInsideTheBlockAreSkipped) {
    LoadedItem r;
    LoadItem(r, "FOO JMENO \"X\" = ; TYP BYTE item_end ITEM_END; ITEM_END");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Text(r.item()->name), "X");
    EXPECT_EQ(r.rest, "");  // only the exact word ITEM_END ends the block
}

TEST(DataItem, EndOfInputEndsTheBlock) {
    LoadedItem complete;
    LoadItem(complete, "JMENO \"X\" TYP BYTE");
    EXPECT_TRUE(complete.ok);  // judged on what was read; the object then lacks OBJECT_END
    LoadedItem incomplete;
    LoadItem(incomplete, "JMENO \"X\"");
    EXPECT_FALSE(incomplete.ok);
    EXPECT_EQ(incomplete.error, kNoNameOrTyp);
}

TEST(DataItem, TextsAreCutToTheirBounds) {
    const std::string long_text(300, 'a');
    const std::string q = "\"" + long_text + "\"";
    LoadedItem r;
    LoadItem(r, "JMENO " + q + " HELP1 " + q + " HELP2 " + q + " FORMAT " + q + " LABEL " + q +
                    " INDEX " + q + " DEFAULT " + q + " TYP BYTE ITEM_END");
    ASSERT_TRUE(r.ok) << r.error;
    const dLM_DATAITEM& item = *r.item();
    EXPECT_EQ(Text(item.name), std::string(20, 'a'));
    EXPECT_EQ(Text(item.help), std::string(30, 'a'));
    EXPECT_EQ(Text(item.second_help), std::string(30, 'a'));
    EXPECT_EQ(Text(item.format), std::string(80, 'a'));
    EXPECT_EQ(item.ext->label.view(), std::string(8, 'a'));
    EXPECT_EQ(item.ext->index.view(), std::string(255, 'a'));
    EXPECT_EQ(item.ext->default_value.view(), std::string(80, 'a'));
    EXPECT_EQ(item.ext->value.view(), std::string(80, 'a'));

    LoadedItem label;
    LoadItem(label, "JMENO \"X\" TYP BYTE LABEL \"ABCDEFGHIJ\" ITEM_END");
    EXPECT_EQ(label.item()->ext->label.view(), "ABCDEFGH");
    EXPECT_EQ(+label.item()->ext->label.length, 8);
}

TEST(DataItem, ReadCwOutLogsTheWordBeforeDeciding) {
    for (std::string_view word : {"BIDIR", "bidir"}) {
        TextSource source{std::string(word)};
        std::string error;
        std::uint8_t code = 7;
        RecordingLog log;
        const bool ok = READ_CW_OUT(source, error, kMaxText, code, log);
        EXPECT_EQ(ok, word == "BIDIR");
        EXPECT_EQ(code, ok ? kCwOutBidir : 7);  // a bad word leaves the code alone
        EXPECT_EQ(log.lines, std::vector<std::string>{Concat({"READ_CW_OUT: \"", word, "\""})});
    }
}

TEST(DataItem, ReadTypClearsTheErrorTextAndKeepsTheCodeOnFailure) {
    TextSource source{"WORD nonsense"};
    std::string error = "old message";
    std::uint8_t code = 0;
    EXPECT_TRUE(READ_TYP(source, error, kMaxText, TypMode::Type, code));
    EXPECT_EQ(error, "");
    EXPECT_EQ(code, kTypWord);
    EXPECT_FALSE(READ_TYP(source, error, 20, TypMode::Subtype, code));
    EXPECT_EQ(error, kSubtypMessage.substr(0, 20));  // cut to the caller's limit
    EXPECT_EQ(code, kTypWord);
}

TEST(DataItem, CopyHasEveryFieldButTheValueIsTheDefaultAgain) {
    LoadedItem r;
    LoadItem(r,
             "IDENT 5 JMENO \"X\" HELP1 \"h\" HELP2 \"s\" TYP USER SUBTYP FLOAT DELKA 4 "
             "FORMAT \"##.#\" POZICE_X 3 POZICE_Y 4 ATRIBUTY ( POLE ) LABEL \"L\" INDEX \"I\" "
             "SUBINDEX 9 DEFAULT \"1.5\" MIN -3 MAX 7.25 CW_OUT WRITE ITEM_END");
    ASSERT_TRUE(r.ok);
    dLM_DATAITEM& source = *r.item();
    source.ext->value.assign("99.9");
    source.ext->save_flag = 1;
    source.ext->cw_selected = 1;

    ItemList copies;
    RecordingLog log;
    dLM_DATAITEM* copy = COPY_DATAITEM(source, copies, log);
    ASSERT_EQ(copy, copies.head());
    EXPECT_NE(copy, &source);
    EXPECT_NE(+copy->ext, +source.ext);
    EXPECT_NE(static_cast<void*>(copy->name), static_cast<void*>(source.name));  // own texts
    EXPECT_EQ(copy->ext->value.view(), "1.5");
    EXPECT_EQ(log.lines, std::vector<std::string>{"INS_DATAITEM: X"});
    // Everything else as defined, the two flags carried over.
    EXPECT_EQ(+copy->ident, 5);
    EXPECT_EQ(Text(copy->name), "X");
    EXPECT_EQ(Text(copy->help), "h");
    EXPECT_EQ(Text(copy->second_help), "s");
    EXPECT_EQ(+copy->typ, kTypUser);
    EXPECT_EQ(+copy->delka, 4);
    EXPECT_EQ(Text(copy->format), "##.#");
    EXPECT_EQ(+copy->pos_x, 3);
    EXPECT_EQ(+copy->pos_y, 4);
    EXPECT_EQ(+copy->attributes, kAttrPole);
    const dLM_DATAITEM_EXT& ext = *copy->ext;
    EXPECT_EQ(+ext.subtyp, kSubtypFloat);
    EXPECT_EQ(+ext.subindex, 9);
    EXPECT_EQ(ext.label.view(), "L");
    EXPECT_EQ(ext.index.view(), "I");
    EXPECT_EQ(ext.default_value.view(), "1.5");
    EXPECT_EQ(ItemMin(*copy), -3.0);
    EXPECT_EQ(ItemMax(*copy), 7.25);
    EXPECT_EQ(+ext.save_flag, 1);
    EXPECT_EQ(+ext.cw_out, kCwOutWrite);
    EXPECT_EQ(+ext.cw_selected, 1);
}

TEST(DataItem, NothingIsLoggedWhileLoggingIsOff) {
    LoadedItem r;
    r.log.on = false;
    LoadItem(r, "JMENO \"X\" TYP BYTE CW_OUT READ ITEM_END");
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.log.lines.empty());
}

}  // namespace
}  // namespace lm
