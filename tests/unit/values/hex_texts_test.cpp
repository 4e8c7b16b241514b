#include "values/hex_texts.h"

#include <gtest/gtest.h>

#include <vector>

namespace lm {
namespace {

TEST(HexTexts, Digits) {
    const struct {
        int value;
        char digit;
    } rows[] = {{0, '0'}, {9, '9'}, {10, 'A'}, {15, 'F'}, {16, '?'}, {255, '?'}, {-1, '?'}};
    for (const auto& row : rows) EXPECT_EQ(HEX_DIGIT(row.value), row.digit) << row.value;
}

TEST(HexTexts, FixedWidths) {
    EXPECT_EQ(HEX_BYTE(0x00), "00");
    EXPECT_EQ(HEX_BYTE(0x0A), "0A");
    EXPECT_EQ(HEX_BYTE(0xFF), "FF");
    EXPECT_EQ(HEX_WORD(0x12AB), "12AB");
    EXPECT_EQ(HEX_WORD(0x0005), "0005");
    EXPECT_EQ(HEX_DWORD(0x12345678), "1234:5678");
    EXPECT_EQ(HEX_DWORD(0x00401A2C), "0040:1A2C");
    EXPECT_EQ(HEX_DWORD(0xFFFFFFFF), "FFFF:FFFF");
}

TEST(HexTexts, BytesInMemoryOrderWithTrailingSpace) {
    const std::vector<std::uint8_t> bytes{0x01, 0x2F, 0x00};
    EXPECT_EQ(HEX_BYTES(bytes), "01 2F 00 ");
    EXPECT_EQ(HEX_BYTES(std::span<const std::uint8_t>{}), "");
}

}  // namespace
}  // namespace lm
