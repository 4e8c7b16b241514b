#include "values/short_real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace lm {
namespace {

struct ShortRealRow {
    ShortRealBytes bytes;
    double value;
};

const ShortRealRow kKnown[] = {
    {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0.0},
    {{0x81, 0x00, 0x00, 0x00, 0x00, 0x00}, 1.0},
    {{0x81, 0x00, 0x00, 0x00, 0x00, 0x80}, -1.0},
    {{0x80, 0x00, 0x00, 0x00, 0x00, 0x00}, 0.5},
    {{0x82, 0x00, 0x00, 0x00, 0x00, 0x40}, 3.0},
    {{0x84, 0x00, 0x00, 0x00, 0x00, 0x20}, 10.0},
    {{0x81, 0x01, 0x00, 0x00, 0x00, 0x00}, 1.0 + 0x1p-39},
    {{0x01, 0x00, 0x00, 0x00, 0x00, 0x00}, 0x1p-128},
    {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, kShortRealMax},
    {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, -kShortRealMax},
};

TEST(ShortReal, KnownLayouts) {
    for (const auto& row : kKnown) {
        EXPECT_EQ(DecodeShortReal(row.bytes), row.value) << row.value;
        EXPECT_EQ(EncodeShortReal(row.value), row.bytes) << row.value;
    }
}

TEST(ShortReal, PiRoundsToNearest) {
    const ShortRealBytes pi{0x82, 0x21, 0xA2, 0xDA, 0x0F, 0x49};
    EXPECT_EQ(EncodeShortReal(std::numbers::pi), pi);
    EXPECT_NEAR(DecodeShortReal(pi), std::numbers::pi, 1e-11);
}

TEST(ShortReal, ZeroExponentByteIsZeroWhateverFollows) {
    EXPECT_EQ(DecodeShortReal(ShortRealBytes{0x00, 0x12, 0x34, 0x56, 0x78, 0x9A}), 0.0);
}

TEST(ShortReal, RangeLimits) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        std::optional<double> limited;
    } rows[] = {
        {1.7e38, 1.7e38},
        {-1.7e38, -1.7e38},
        {kShortRealMax, kShortRealMax},
        {std::nextafter(kShortRealMax, inf), std::nullopt},
        {1.8e38, std::nullopt},
        {-1e39, std::nullopt},
        {inf, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {2.94e-39, 2.94e-39},
        {2.93e-39, 0.0},
        {kShortRealMin, kShortRealMin},
        {std::nextafter(kShortRealMin, 0.0), 0.0},
        {-2.9e-40, 0.0},
        {1e-300, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LimitToShortReal(row.x), row.limited) << row.x;
        EXPECT_EQ(EncodeShortReal(row.x).has_value(), row.limited.has_value()) << row.x;
    }
}

TEST(ShortReal, RoundsTheFractionToNearestEven) {
    EXPECT_EQ(DecodeShortReal(*EncodeShortReal(1.0 + 0x1p-40)), 1.0);  // tie, down to even
    EXPECT_EQ(DecodeShortReal(*EncodeShortReal(1.0 + 3 * 0x1p-40)), 1.0 + 0x1p-38);  // tie, up
    EXPECT_EQ(DecodeShortReal(*EncodeShortReal(2.0 - 0x1p-41)), 2.0);  // carries into exponent
}

TEST(ShortReal, RandomLayoutsRoundTrip) {
    std::mt19937_64 random(4);
    for (int i = 0; i < 20000; ++i) {
        ShortRealBytes bytes;
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        if (bytes[0] == 0) bytes[0] = 1;
        ASSERT_EQ(EncodeShortReal(DecodeShortReal(bytes)), bytes) << i;
    }
}

TEST(ShortReal, ValuesWithFortyBitMantissasRoundTrip) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 20000; ++i) {
        const auto mantissa = static_cast<double>((random() >> 24) | (std::uint64_t{1} << 39));
        const int exponent = static_cast<int>(random() % 255) - 128 - 39;
        const double x = std::ldexp(i % 2 ? -mantissa : mantissa, exponent);
        const auto bytes = EncodeShortReal(x);
        ASSERT_TRUE(bytes.has_value()) << x;
        ASSERT_EQ(DecodeShortReal(*bytes), x);
    }
}

}  // namespace
}  // namespace lm
