// CONVERT and VERFORMAT on their own: pictures, log lines, value texts, bounds
// and round trips.
#include "values/convert.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/unit/values/conversion_test_support.h"

namespace lm::test {
namespace {

constexpr auto kToText = ConvertDirection::BinToText;
constexpr auto kToBin = ConvertDirection::TextToBin;

TEST(VerFormat, Pictures) {
    const std::string widest(255, '?');
    const struct {
        FormatKind kind;
        std::string_view format;
        bool ok;
        int width;
        int decimals;
    } rows[] = {
        {FormatKind::Numeric, "####.##", true, 7, 2},
        {FormatKind::Numeric, "#####", true, 5, 0},
        {FormatKind::Numeric, "", true, 0, 0},
        {FormatKind::Numeric, "##.#.##", true, 7, 4},  // decimals count from the first point
        {FormatKind::Numeric, "###.", true, 4, 0},
        {FormatKind::Numeric, "abc", true, 3, 0},  // any character but '?'
        {FormatKind::Numeric, "##?", false, 0, 0},
        {FormatKind::Numeric, "?", false, 0, 0},
        {FormatKind::String, "?????", true, 5, 0},
        {FormatKind::String, "", true, 0, 0},
        {FormatKind::String, "??#", false, 0, 0},
        {FormatKind::String, "##.#", false, 0, 0},
        {FormatKind::String, widest, true, 255, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.format));
        NoLog log;
        const auto picture = VERFORMAT(row.kind, row.format, log);
        ASSERT_EQ(picture.has_value(), row.ok);
        if (picture) {
            EXPECT_EQ(picture->width, row.width);
            EXPECT_EQ(picture->decimals, row.decimals);
        }
    }
    NoLog log;
    EXPECT_FALSE(VERFORMAT(FormatKind::String, std::string(256, '?'), log));
    EXPECT_FALSE(VERFORMAT(FormatKind::Numeric, std::string(256, '#'), log));
}

TEST(VerFormat, OnlyAValidNumericPictureIsLogged) {
    ConversionLog log;
    VERFORMAT(FormatKind::Numeric, "############.##", log);
    VERFORMAT(FormatKind::Numeric, "#?", log);
    VERFORMAT(FormatKind::String, "???", log);
    EXPECT_EQ(log.lines, std::vector<std::string>{"num format OK, delka=15, des= 2"});
}

TEST(SizeOfTyp, StandardTypesOnly) {
    const std::array<std::size_t, 7> sizes = {0, 1, 2, 2, 4, 4, 0};
    for (unsigned t = 0; t < sizes.size(); ++t) EXPECT_EQ(SIZE_OF_TYP(t), sizes[t]) << t;
    EXPECT_EQ(SIZE_OF_TYP(kTypUser), 0u);
}

struct Converted {
    bool ok;
    std::string text;
    std::array<std::uint8_t, 8> bytes;
};

Converted ToBin(std::uint8_t typ_code, std::uint8_t subtyp_code, std::string_view format,
                std::string_view text) {
    Converted c{false, std::string(text), {}};
    NoLog log;
    c.ok = CONVERT(kToBin, c.bytes, c.text, subtyp_code, typ_code, nullptr, format, 255, log);
    return c;
}

Converted ToText(std::uint8_t typ_code, std::uint8_t subtyp_code, std::string_view format,
                 std::array<std::uint8_t, 8> bytes) {
    Converted c{false, "stale", bytes};
    NoLog log;
    c.ok = CONVERT(kToText, c.bytes, c.text, subtyp_code, typ_code, nullptr, format, 255, log);
    return c;
}

// 3BF texts go through the short real before they are encoded; the worked
// values of the three-byte real come out unchanged.
TEST(Convert, Bf3FromText) {
    const struct {
        std::string_view text;
        std::array<std::uint8_t, 3> bytes;
    } rows[] = {
        {"0", {0x00, 0x00, 0x00}},
        {"1", {0x40, 0x00, 0x00}},
        {"-1", {0xC0, 0x00, 0x00}},
        {"-2.5", {0xC1, 0x40, 0x00}},
        {"0.1", {0x3C, 0x99, 0x99}},
        {"65535", {0x4F, 0xFF, 0xFE}},
        {"1000000", {0x53, 0xE8, 0x48}},
        {"-0.001", {0xB6, 0x06, 0x24}},
        {"3.14159", {0x41, 0x92, 0x1F}},
        {"  12.345", {0x43, 0x8B, 0x0A}},
        // Rounded to the short real's 39 fraction bits first: 2 - 1E-14 is 2.
        {"1.99999999999999", {0x41, 0x00, 0x00}},
        {"1E-50", {0x00, 0x00, 0x00}},  // below the short real: 0
        {"18446603336221196288", {0x7F, 0xFF, 0xFF}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text));
        const Converted c = ToBin(kTypUser, kSubtyp3BF, "", row.text);
        ASSERT_TRUE(c.ok);
        EXPECT_EQ((std::array<std::uint8_t, 3>{c.bytes[0], c.bytes[1], c.bytes[2]}), row.bytes);
    }
    for (std::string_view bad : {"", "1,5", "1E19x", "-18446744073709551616", "inf", "NaN"})
        EXPECT_FALSE(ToBin(kTypUser, kSubtyp3BF, "", bad).ok) << bad;
}

// Every text a binary value gives reads back to the same bytes.
TEST(Convert, RoundTripsOfExactForms) {
    const struct {
        std::uint8_t typ_code;
        std::uint8_t subtyp_code;
        std::string_view format;
        std::size_t size;
    } forms[] = {
        {kTypByte, kSubtypNone, "###", 1},
        {kTypInt, kSubtypNone, "######", 2},
        {kTypWord, kSubtypNone, "", 2},
        {kTypLong, kSubtypNone, "#", 4},
        {kTypDword, kSubtypNone, "##########", 4},
        {kTypUser, kSubtypBit, "#", 1},
        {kTypUser, kSubtypWordHex, "", 2},
        {kTypUser, kSubtypByteHex, "", 1},
        {kTypUser, kSubtypFloat, "", 4},
        {kTypUser, kSubtypString, "????", 4},
    };
    const std::array<std::uint8_t, 8> patterns[] = {
        {0, 0, 0, 0},
        {1, 0, 0, 0},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {0x00, 0x00, 0x00, 0x80},
        {0xFF, 0xFF, 0xFF, 0x7F},
        {0x80, 0x7F, 0x01, 0xFE},
        {'a', 'b', 'c', 'd'},
    };
    for (const auto& form : forms) {
        for (const auto& pattern : patterns) {
            const Converted text = ToText(form.typ_code, form.subtyp_code, form.format, pattern);
            SCOPED_TRACE(std::to_string(form.typ_code) + "/" + std::to_string(form.subtyp_code) +
                         " \"" + text.text + "\"");
            ASSERT_TRUE(text.ok);
            const bool special = text.text.find("inf") != std::string::npos ||
                                 text.text.find("NaN") != std::string::npos;
            if (special) {
                // Only FLOAT has texts that are no values.
                EXPECT_EQ(form.subtyp_code, kSubtypFloat);
                continue;
            }
            const Converted back = ToBin(form.typ_code, form.subtyp_code, form.format, text.text);
            ASSERT_TRUE(back.ok);
            if (form.typ_code == kTypUser && form.subtyp_code == kSubtypBit) {
                // BIT shows what it stores: 0 or 1.
                EXPECT_EQ(back.bytes[0], pattern[0] == 1 ? 1 : 0);
            } else if (form.typ_code == kTypUser &&
                       (form.subtyp_code == kSubtypFloat || form.subtyp_code == kSubtypString)) {
                // A single's text shows 15 digits, a STRING's ends at a zero
                // byte: what is read back shows the same text.
                EXPECT_EQ(ToText(kTypUser, form.subtyp_code, form.format, back.bytes).text,
                          text.text);
            } else {
                for (std::size_t i = 0; i < form.size; ++i) {
                    EXPECT_EQ(back.bytes[i], pattern[i]) << i;
                }
            }
        }
    }
}

TEST(Convert, SingleFromText) {
    const struct {
        std::string_view text;
        std::uint32_t pattern;
    } rows[] = {
        {"1", 0x3F800000},
        {"-0", 0x80000000},
        {"1E-46", 0x00000000},
        {"1.401298464E-45", 0x00000001},
        {"3.4028235E38", 0x7F7FFFFF},
        {"3.40282356E38", 0x7F7FFFFF},  // below the rounding edge
    };
    for (const auto& row : rows) {
        const Converted c = ToBin(kTypUser, kSubtypFloat, "", row.text);
        ASSERT_TRUE(c.ok) << row.text;
        EXPECT_EQ(c.bytes[0] | c.bytes[1] << 8 | c.bytes[2] << 16 | std::uint32_t{c.bytes[3]} << 24,
                  row.pattern)
            << row.text;
    }
    for (std::string_view bad : {"3.4028236E38", "-1E39", "1E400", "+infinity", "NaN/x87 err"})
        EXPECT_FALSE(ToBin(kTypUser, kSubtypFloat, "", bad).ok) << bad;
}

TEST(Convert, FailedTextConversionLeavesNoStaleText) {
    EXPECT_EQ(ToText(kTypWord, kSubtypNone, "#?", {1, 0}).text, "");
    EXPECT_EQ(ToText(kTypUser, kSubtypNone, "", {1, 0}).text, "");
    EXPECT_EQ(ToText(kTypNone, kSubtypNone, "", {1, 0}).text, "");
}

TEST(Convert, FailedBinaryConversionLeavesTheBytes) {
    std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    std::string text = "12x";
    NoLog log;
    EXPECT_FALSE(CONVERT(kToBin, bytes, text, kSubtypNone, kTypLong, nullptr, "", 255, log));
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(text, "12x");
}

TEST(Convert, TheTextLimitBoundsEveryText) {
    NoLog log;
    std::array<std::uint8_t, 8> bytes = {0x39, 0x30, 'A', 'B'};
    std::string text;
    ASSERT_TRUE(CONVERT(kToText, bytes, text, kSubtypNone, kTypWord, nullptr, std::string(20, '#'),
                        6, log));
    EXPECT_EQ(text, "      ");  // right-aligned in 20, cut to 6
    ASSERT_TRUE(CONVERT(kToText, bytes, text, kSubtypNone, kTypWord, nullptr, "", 3, log));
    EXPECT_EQ(text, "123");
    ASSERT_TRUE(
        CONVERT(kToText, bytes, text, kSubtypString, kTypUser, nullptr, "????????", 5, log));
    EXPECT_EQ(text, "90AB ");
    text = "ABCDEFGH";
    ASSERT_TRUE(CONVERT(kToBin, bytes, text, kSubtypString, kTypUser, nullptr, "??????", 4, log));
    EXPECT_EQ(text, "ABCD");
    EXPECT_EQ(bytes[5], 'F');  // all six bytes are stored
}

TEST(Convert, TooSmallABinaryFails) {
    NoLog log;
    std::array<std::uint8_t, 2> two = {1, 2};
    std::string text = "1";
    EXPECT_FALSE(CONVERT(kToBin, std::span(two).first(1), text, kSubtypNone, kTypWord, nullptr, "",
                         255, log));
    EXPECT_FALSE(CONVERT(kToText, std::span(two).first(1), text, kSubtypNone, kTypWord, nullptr, "",
                         255, log));
    EXPECT_FALSE(CONVERT(kToText, two, text, kSubtypFloat, kTypUser, nullptr, "", 255, log));
    EXPECT_FALSE(CONVERT(kToText, two, text, kSubtypString, kTypUser, nullptr, "???", 255, log));
    EXPECT_EQ(two, (std::array<std::uint8_t, 2>{1, 2}));
}

TEST(Convert, WithAnItemTheItemDecidesAndKeepsTheText) {
    ConversionTestItem item(ItemFacts{
        .name = "Teplota", .typ = kTypUser, .subtyp = kSubtyp3BF, .delka = 3, .format = "#.#"});
    ConversionLog log;
    std::array<std::uint8_t, 4> bytes = {};
    std::string text = "-2.5";
    // Type and subtype arguments are ignored: the item is a 3BF.
    ASSERT_TRUE(
        CONVERT(kToBin, bytes, text, kSubtypNone, kTypWord, &item, item.format(), 255, log));
    EXPECT_EQ(item.value(), "-2.5");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Konverze dat", "  Item.Jmeno=Teplota", "  text -> bin, text=-2.5",
                             "num format OK, delka= 3, des= 1", "  BinData [Hex] = C1 40 00 "}));
    log.lines.clear();
    ASSERT_TRUE(
        CONVERT(kToText, bytes, text, kSubtypNone, kTypNone, &item, item.format(), 255, log));
    EXPECT_EQ(text, "-2.5");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Konverze dat", "  Item.Jmeno=Teplota", "  bin -> text",
                             "  3bf -> real", "num format OK, delka= 3, des= 1", "  3bf = -2.5"}));

    // Failures rewrite the value text too: with the text given, or with none.
    text = "abc";
    EXPECT_FALSE(
        CONVERT(kToBin, bytes, text, kSubtypNone, kTypNone, &item, item.format(), 255, log));
    EXPECT_EQ(item.value(), "abc");
    EXPECT_FALSE(CONVERT(kToText, bytes, text, kSubtypNone, kTypNone, &item, "#?", 255, log));
    EXPECT_EQ(item.value(), "");

    text = std::string(100, '7');
    CONVERT(kToBin, bytes, text, kSubtypNone, kTypNone, &item, item.format(), 255, log);
    EXPECT_EQ(item.value(), std::string(80, '7'));
}

TEST(Convert, FloatLogsItsDecodingBeforeTheFormatCheck) {
    ConversionLog log;
    std::array<std::uint8_t, 4> bytes = {0x00, 0x00, 0x80, 0x7F};
    std::string text;
    EXPECT_FALSE(CONVERT(kToText, bytes, text, kSubtypFloat, kTypUser, nullptr, "?", 255, log));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "Konverze dat", "  ext_typ=255, ext_subtyp=6", "  bin -> text",
                  "  bindata -> real4 moved  2.13909504000000E+0009", "  floatStr=+infinity"}));
}

TEST(Convert, StringLogsQuoted) {
    ConversionLog log;
    std::array<std::uint8_t, 4> bytes = {};
    std::string text = "A";
    ASSERT_TRUE(CONVERT(kToBin, bytes, text, kSubtypString, kTypUser, nullptr, "???", 255, log));
    EXPECT_EQ(log.lines.back(), "StrToBin = \"A  \"");
    ASSERT_TRUE(CONVERT(kToText, bytes, text, kSubtypString, kTypUser, nullptr, "????", 255, log));
    EXPECT_EQ(log.lines.back(), "StrToText = \"A   \"");
}

}  // namespace
}  // namespace lm::test
