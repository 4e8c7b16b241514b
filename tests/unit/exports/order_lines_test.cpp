#include "exports/order_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        const char* line;  // "" for no line
    };
    const Row rows[] = {
        {5, 1, 12, kTypByte, 0, "200", "QQwrite   5   1  12 200   0   0   0"},
        {5, 1, 12, kTypByte, 0, "  7", "QQwrite   5   1  12   7   0   0   0"},
        {5, 1, 12, kTypByte, 0, "300", "QQwrite   5   1  12  44   0   0   0"},
        {43, 2, 20, kTypInt, 0, "    -2", "QQwrite  43   2  20 254 255   0   0"},
        {24, 1, 20, kTypWord, 0, "70000", "QQwrite  24   1  20 112  17   0   0"},
        {22, 1, 1, kTypLong, 0, "-1", "QQwrite  22   1   1 255 255 255 255"},
        {7, 1, 20, kTypDword, 0, "3000000000", "QQwrite   7   1  20   0  94 208 178"},
        {7, 1, 20, kTypDword, 0, "4294967295", "QQwrite   7   1  20 255 255 255 255"},
        {7, 1, 20, kTypDword, 0, "4294967296", ""},
        {22, 1, 1, kTypLong, 0, "3000000000", ""},
        {42, 1, 20, kTypUser, kSubtypFloat, "      1.500", "QQwrite  42   1  20   0   0 192  63"},
        {42, 1, 20, kTypUser, kSubtypFloat, "1E39", ""},
        {42, 1, 20, kTypUser, kSubtypFloat, "+infinity", ""},
        {40, 1, 20, kTypUser, kSubtyp3BF, "   10.00", ""},
        {1, 1, 1, kTypUser, kSubtypBit, "1", ""},
        {20, 1, 1, kTypInt, 0, "12abc", ""},
        {20, 1, 1, kTypInt, 0, "", ""},
        {20, 1, 1, 0, 0, "1", ""},
        {255, 255, 255, kTypByte, 0, "255", "QQwrite 255 255 255 255   0   0   0"},
        {155, 256, 20, kTypByte, 0, "1", ""},
        {256, 1, 20, kTypByte, 0, "1", ""},
        {155, 1, 256, kTypByte, 0, "1", ""},
    };
    for (const Row& row : rows) {
        Instance r(row.ident, row.instance, row.item, row.typ, row.subtyp, row.value);
        ExportText out;
        WriteComOrder(out, r.object, r.item);
        const std::vector<std::string> expected =
            *row.line ? std::vector<std::string>{row.line} : std::vector<std::string>{};
        EXPECT_EQ(Lines(out), expected) << "typ " << int(row.typ) << " value '" << row.value << "'";
    }
}

TEST(OrderLines, WireNamesTheSourceAtTheOtherEnd) {
    struct Row {
        unsigned ident, instance, item, other_ident, other_instance, other_item;
        const char* line;
    };
    const Row rows[] = {
        {10, 2, 3, 20, 1, 7, "QQwrite  10   2   3   7   1  20   0"},
        {10, 2, 3, 20, 256, 7, ""},
        {10, 2, 300, 20, 1, 7, ""},
        {10, 2, 3, 20, 1, 256, ""},
    };
    for (const Row& row : rows) {
        Instance here(row.ident, row.instance, row.item, kTypByte, 0, "");
        Instance there(row.other_ident, row.other_instance, row.other_item, kTypByte, 0, "");
        ExportText out;
        WriteWireOrder(out, here.object, here.item, there.object, there.item);
        EXPECT_EQ(out.text(), *row.line ? std::string(row.line) + "\r\n" : "") << row.line;
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

    Instance not_a_string(60, 1, 100, kTypUser, kSubtypFloat, "AB");
    ExportText none;
    WriteStringOrders(none, not_a_string.object, not_a_string.item);
    EXPECT_EQ(none.text(), "");
}

}  // namespace
}  // namespace lm
