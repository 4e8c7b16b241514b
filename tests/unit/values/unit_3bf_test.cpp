#include "values/unit_3bf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lm {
namespace {

struct Bf3Row {
    double x;
    Bf3Bytes bytes;
    double decoded;
};

// The worked values of the format, exact decoded values included.
const Bf3Row kWorked[] = {
    {0, {0x00, 0x00, 0x00}, 0},
    {1, {0x40, 0x00, 0x00}, 1},
    {-1, {0xC0, 0x00, 0x00}, -1},
    {2, {0x41, 0x00, 0x00}, 2},
    {10, {0x43, 0x40, 0x00}, 10},
    {-2.5, {0xC1, 0x40, 0x00}, -2.5},
    {0.5, {0x3F, 0x00, 0x00}, 0.5},
    {0.1, {0x3C, 0x99, 0x99}, 0.09999942779541015625},
    {100, {0x46, 0x90, 0x00}, 100},
    {1000, {0x49, 0xF4, 0x00}, 1000},
    {12.345, {0x43, 0x8B, 0x0A}, 12.344970703125},
    {65535, {0x4F, 0xFF, 0xFE}, 65535},
    {1000000, {0x53, 0xE8, 0x48}, 1000000},
    {-0.001, {0xB6, 0x06, 0x24}, -0.000999987125396728515625},
    // Truncated, not rounded.
    {3.14159, {0x41, 0x92, 0x1F}, 3.141571044921875},
};

TEST(Unit3BF, WorkedValuesEncode) {
    for (const auto& row : kWorked) {
        EXPECT_EQ(REAL_TO_BF3(row.x), row.bytes) << row.x;
    }
}

TEST(Unit3BF, WorkedValuesDecode) {
    for (const auto& row : kWorked) {
        EXPECT_EQ(BF3_TO_REAL(row.bytes), row.decoded) << row.x;
    }
}

TEST(Unit3BF, DecodesTheEdgesOfTheFormat) {
    const struct {
        Bf3Bytes bytes;
        double value;
    } rows[] = {
        {{0x80, 0x00, 0x00}, -0x1p-64},  // only 00 00 00 is zero
        {{0x00, 0x00, 0x01}, (1 + 0x1p-16) * 0x1p-64},
        {{0x01, 0x00, 0x00}, 0x1p-63},
        {{0x7F, 0xFF, 0xFF}, 18446603336221196288.0},
        {{0xFF, 0xFF, 0xFF}, -18446603336221196288.0},
        {{0x40, 0x80, 0x00}, 1.5},
        {{0x40, 0x00, 0x01}, 1 + 0x1p-16},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BF3_TO_REAL(row.bytes), row.value) << row.value;
    }
}

TEST(Unit3BF, EncodesOutOfRangeMagnitudesToTheNearestEndOfTheSameSign) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        Bf3Bytes bytes;
    } rows[] = {
        {0x1p-63, {0x01, 0x00, 0x00}},
        {1e-30, {0x01, 0x00, 0x00}},
        {-1e-30, {0x81, 0x00, 0x00}},
        {std::numeric_limits<double>::denorm_min(), {0x01, 0x00, 0x00}},
        {0x1p63, {0x7F, 0x00, 0x00}},
        {std::nextafter(0x1p64, 0.0), {0x7F, 0xFF, 0xFF}},
        {0x1p64, {0x7F, 0xFF, 0xFF}},
        {-0x1p64, {0xFF, 0xFF, 0xFF}},
        {1e300, {0x7F, 0xFF, 0xFF}},
        {inf, {0x7F, 0xFF, 0xFF}},
        {-inf, {0xFF, 0xFF, 0xFF}},
        {-0.0, {0x00, 0x00, 0x00}},
        {std::numeric_limits<double>::quiet_NaN(), {0x00, 0x00, 0x00}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(REAL_TO_BF3(row.x), row.bytes) << row.x;
    }
}

TEST(Unit3BF, EveryCanonicalPatternSurvivesDecodeAndEncode) {
    // Exponent fields 1..63 with either exponent sign, and field 0 with bit 6
    // set, are the patterns encoding produces; field 0 without bit 6 is only
    // read (00 00 00 is zero, the rest lie below 2^-63).
    for (int byte0 = 0; byte0 < 256; ++byte0) {
        if ((byte0 & 0x7F) == 0) continue;
        for (int fraction = 0; fraction < 65536; fraction += 251) {
            const Bf3Bytes bytes{static_cast<std::uint8_t>(byte0),
                                 static_cast<std::uint8_t>(fraction >> 8),
                                 static_cast<std::uint8_t>(fraction & 0xFF)};
            ASSERT_EQ(REAL_TO_BF3(BF3_TO_REAL(bytes)), bytes) << byte0 << " " << fraction;
        }
    }
}

TEST(Unit3BF, EncodingNeverRoundsUp) {
    // Just below a representable value the encoding falls to the one below it.
    const double upper = BF3_TO_REAL(Bf3Bytes{0x43, 0x40, 0x01});
    EXPECT_EQ(REAL_TO_BF3(std::nextafter(upper, 0.0)), (Bf3Bytes{0x43, 0x40, 0x00}));
    EXPECT_EQ(REAL_TO_BF3(-std::nextafter(upper, 0.0)), (Bf3Bytes{0xC3, 0x40, 0x00}));
    EXPECT_EQ(REAL_TO_BF3(std::nextafter(2.0, 0.0)), (Bf3Bytes{0x40, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace lm
