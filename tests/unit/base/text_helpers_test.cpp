#include <gtest/gtest.h>

#include "base/bounded_text.h"
#include "base/number_text.h"

namespace lm {
namespace {

TEST(BoundedText, CutsNeverRejects) {
    EXPECT_EQ(Bounded("abc", 2), "ab");
    EXPECT_EQ(Bounded("abc", 3), "abc");
    EXPECT_EQ(Bounded("", 3), "");
    EXPECT_EQ(Bounded(std::string(300, 'a')).size(), 255u);
}

TEST(BoundedText, ZeroTextsAreReadUpToTheZeroOrTheLimit) {
    EXPECT_EQ(ReadZeroText(nullptr), "");
    EXPECT_EQ(ReadZeroText("ab\0cd"), "ab");
    std::vector<char> no_zero(255, 'x');  // exactly the limit, nothing after it
    EXPECT_EQ(ReadZeroText(no_zero.data()).size(), 255u);
    std::vector<char> short_limit(3, 'y');
    EXPECT_EQ(ReadZeroText(short_limit.data(), 3), "yyy");
}

TEST(BoundedText, BufferKeepsCapacityMinusOneAndAZeroByte) {
    TextBuffer<4> buffer;
    EXPECT_STREQ(buffer.Store("abcdef"), "abc");
    EXPECT_STREQ(buffer.Store(""), "");
    EXPECT_EQ(buffer.view(), "");
}

TEST(NumberText, RightAlignedAndHexLayouts) {
    EXPECT_EQ(RightAligned(5, 3), "  5");
    EXPECT_EQ(RightAligned(65535, 5), "65535");
    EXPECT_EQ(RightAligned(123456, 3), "123456");  // never cut
    EXPECT_EQ(RightAligned(-1, 4), "  -1");
    EXPECT_EQ(RightAligned(0, 1), "0");
    EXPECT_EQ(RightAligned(-120, 0), "-120");
    EXPECT_EQ(RightAligned(-9223372036854775807LL - 1, 3), "-9223372036854775808");
    EXPECT_EQ(Hex32(0), "0000:0000");
    EXPECT_EQ(Hex32(0x0012ABCD), "0012:ABCD");
    EXPECT_EQ(Hex32(0xFFFFFFFF), "FFFF:FFFF");
    EXPECT_EQ(HexAddress(nullptr), "0000:0000");
}

}  // namespace
}  // namespace lm
