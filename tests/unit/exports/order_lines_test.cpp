#include "exports/order_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exports/left_out_orders.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"
#include "values/convertible_item.h"

namespace lm {
namespace {

// An instance record and one of its items, with only what the order writers read.
struct Instance {
    Instance(unsigned ident, unsigned instance_number, unsigned item_ident, std::uint8_t typ,
             std::uint8_t subtyp, std::string_view value) {
        object.ident = static_cast<std::uint16_t>(ident);
        object.instance = static_cast<std::uint16_t>(instance_number);
        item.ident = static_cast<std::uint16_t>(item_ident);
        item.typ = typ;
        item.ext = &ext;
        ext.subtyp = subtyp;
        ext.value.assign(value);
    }
    dLM_OBJECT object{};
    dLM_DATAITEM item{};
    dLM_DATAITEM_EXT ext{};
};

std::vector<std::string> Lines(const ExportText& text) {
    return test::SplitCrLf(text.text());
}

TEST(OrderLines, ConstantsAndUserValuesByType) {
    struct Row {
        unsigned ident, instance, item;
        std::uint8_t typ, subtyp;
        const char* value;
        const char* line;      // "" for no line
        const char* left_out;  // why the order was left out, "" for no word of it
    };
    const Row rows[] = {
        {5, 1, 12, kTypByte, 0, "200", "QQwrite   5   1  12 200   0   0   0", ""},
        {5, 1, 12, kTypByte, 0, "  7", "QQwrite   5   1  12   7   0   0   0", ""},
        {5, 1, 12, kTypByte, 0, "300", "QQwrite   5   1  12  44   0   0   0", ""},
        {43, 2, 20, kTypInt, 0, "    -2", "QQwrite  43   2  20 254 255   0   0", ""},
        {24, 1, 20, kTypWord, 0, "70000", "QQwrite  24   1  20 112  17   0   0", ""},
        {22, 1, 1, kTypLong, 0, "-1", "QQwrite  22   1   1 255 255 255 255", ""},
        {7, 1, 20, kTypDword, 0, "3000000000", "QQwrite   7   1  20   0  94 208 178", ""},
        {7, 1, 20, kTypDword, 0, "4294967295", "QQwrite   7   1  20 255 255 255 255", ""},
        {7, 1, 20, kTypDword, 0, "4294967296", "", "value \"4294967296\" cannot be written"},
        {22, 1, 1, kTypLong, 0, "3000000000", "", "value \"3000000000\" cannot be written"},
        {42, 1, 20, kTypUser, kSubtypFloat, "      1.500", "QQwrite  42   1  20   0   0 192  63",
         ""},
        {42, 1, 20, kTypUser, kSubtypFloat, "1E39", "", "value \"1E39\" cannot be written"},
        {42, 1, 20, kTypUser, kSubtypFloat, "+infinity", "",
         "value \"+infinity\" cannot be written"},
        {40, 1, 20, kTypUser, kSubtyp3BF, "   10.00", "", ""},
        {1, 1, 1, kTypUser, kSubtypBit, "1", "", ""},
        {20, 1, 1, kTypInt, 0, "12abc", "", "value \"12abc\" cannot be written"},
        {20, 1, 1, kTypInt, 0, "", "", "value \"\" cannot be written"},
        {20, 1, 1, 0, 0, "1", "", ""},
        {255, 255, 255, kTypByte, 0, "255", "QQwrite 255 255 255 255   0   0   0", ""},
        {155, 256, 20, kTypByte, 0, "1", "", "instance 256 above 255"},
        {256, 1, 20, kTypByte, 0, "1", "", "object number 256 above 255"},
        {155, 1, 256, kTypByte, 0, "1", "", "item 256 above 255"},
    };
    for (const Row& row : rows) {
        Instance r(row.ident, row.instance, row.item, row.typ, row.subtyp, row.value);
        ExportText out;
        test::RecordingLog log;
        LeftOutOrders left_out(log);
        if (LeftOut why = WriteComOrder(out, r.object, r.item)) left_out.Add("B.1.I", *why);
        const std::vector<std::string> expected =
            *row.line ? std::vector<std::string>{row.line} : std::vector<std::string>{};
        EXPECT_EQ(Lines(out), expected) << "typ " << int(row.typ) << " value '" << row.value << "'";
        const std::vector<std::string> told =
            *row.left_out
                ? std::vector<std::string>{std::string("LMKOMUN: order left out: B.1.I, ") +
                                           row.left_out}
                : std::vector<std::string>{};
        EXPECT_EQ(log.lines, told) << "value '" << row.value << "'";
    }
}

TEST(OrderLines, WireNamesTheSourceAtTheOtherEnd) {
    struct Row {
        unsigned ident, instance, item, other_ident, other_instance, other_item;
        const char* line;
        const char* left_out;  // the box's line of the order left out
    };
    const Row rows[] = {
        {10, 2, 3, 20, 1, 7, "QQwrite  10   2   3   7   1  20   0", ""},
        {10, 2, 3, 20, 256, 7, "", "A.2.X: zdroj B.256.Y, instance 256 > 255"},
        {10, 2, 300, 20, 1, 7, "", "A.2.X: polo\x9eka 300 > 255"},
        {10, 2, 3, 20, 1, 256, "", "A.2.X: zdroj B.1.Y, polo\x9eka 256 > 255"},
        {300, 2, 3, 20, 1, 7, "", "A.2.X: \xe8\xedslo objektu 300 > 255"},
    };
    for (const Row& row : rows) {
        Instance here(row.ident, row.instance, row.item, kTypByte, 0, "");
        Instance there(row.other_ident, row.other_instance, row.other_item, kTypByte, 0, "");
        here.object.name = const_cast<char*>("A");
        here.item.name = const_cast<char*>("X");
        there.object.name = const_cast<char*>("B");
        there.item.name = const_cast<char*>("Y");
        ExportText out;
        NoLog log;
        LeftOutOrders left_out(log);
        const LeftOut why = WriteWireOrder(out, here.object, here.item, there.object, there.item);
        if (why) left_out.Add(BlockItem(here.object, here.item), *why);
        EXPECT_EQ(out.text(), *row.line ? std::string(row.line) + "\r\n" : "") << row.line;
        const std::string box = left_out.BoxText();
        EXPECT_EQ(box.substr(box.find_last_of('\r') + 1), *row.left_out ? row.left_out : box)
            << row.left_out;
    }
}

TEST(OrderLines, StringsTakeEightItemsOfFourCharacters) {
    Instance ab(60, 1, 100, kTypUser, kSubtypString, "AB");
    ExportText out;
    WriteStringOrders(out, ab.object, ab.item);
    std::vector<std::string> expected = {"QQwrite  60   1 100  65  66   0  32"};
    for (unsigned item = 101; item <= 107; ++item) {
        expected.push_back("QQwrite  60   1 " + std::to_string(item) + "  32  32  32  32");
    }
    EXPECT_EQ(Lines(out), expected);

    struct Row {
        std::string value;
        unsigned item;
        std::size_t lines;
        std::string last;  // the last line, when there are lines
    };
    const Row rows[] = {
        {std::string(32, 'x'), 100, 8, "QQwrite  60   1 107 120 120 120 120"},
        {std::string(31, 'x'), 100, 8, "QQwrite  60   1 107 120 120 120   0"},
        {std::string(40, 'x') + "y", 100, 8, "QQwrite  60   1 107 120 120 120 120"},
        {"\xE8", 100, 8, "QQwrite  60   1 107  32  32  32  32"},  // a CP1250 letter
        {"AB", 248, 8, "QQwrite  60   1 255  32  32  32  32"},
        {"AB", 249, 0, ""},
    };
    for (const Row& row : rows) {
        Instance r(60, 1, row.item, kTypUser, kSubtypString, row.value);
        ExportText text;
        WriteStringOrders(text, r.object, r.item);
        const std::vector<std::string> lines = Lines(text);
        ASSERT_EQ(lines.size(), row.lines) << row.value << " at " << row.item;
        if (!lines.empty()) {
            EXPECT_EQ(lines.back(), row.last) << row.value;
        }
    }
    Instance letter(60, 1, 100, kTypUser, kSubtypString, "\xE8");
    ExportText text;
    WriteStringOrders(text, letter.object, letter.item);
    EXPECT_EQ(Lines(text).front(), "QQwrite  60   1 100 232   0  32  32");

    Instance too_high(60, 1, 249, kTypUser, kSubtypString, "AB");
    ExportText nothing;
    const LeftOut why = WriteStringOrders(nothing, too_high.object, too_high.item);
    ASSERT_TRUE(why.has_value());
    test::RecordingLog log;
    LeftOutOrders left_out(log);
    left_out.Add("TEXTY.1.T", *why);
    EXPECT_EQ(log.lines, std::vector<std::string>{
                             "LMKOMUN: order left out: TEXTY.1.T, items 249 to 256 above 255"});

    Instance not_a_string(60, 1, 100, kTypUser, kSubtypFloat, "AB");
    ExportText none;
    EXPECT_FALSE(WriteStringOrders(none, not_a_string.object, not_a_string.item));
    EXPECT_EQ(none.text(), "");
}

}  // namespace
}  // namespace lm
