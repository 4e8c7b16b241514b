#include "values/unit_3bf.h"

#include <cmath>

namespace lm {

namespace {

constexpr std::uint8_t kNegative = 0x80;
constexpr std::uint8_t kExponentNotNegative = 0x40;
constexpr int kExponentBias = 64;  // exponent field E of a negative exponent means E - 64
constexpr int kSmallestExponent = -63;

}  // namespace

double BF3_TO_REAL(std::span<const std::uint8_t, 3> bytes) {
    if (bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0) return 0.0;
    const int field = bytes[0] & 0x3F;
    const int exponent = (bytes[0] & kExponentNotNegative) ? field : field - kExponentBias;
    const double fraction = ((bytes[1] << 8) | bytes[2]) / 65536.0;
    const double magnitude = std::ldexp(1.0 + fraction, exponent);
    return (bytes[0] & kNegative) ? -magnitude : magnitude;
}

Bf3Bytes REAL_TO_BF3(double x) {
    if (std::isnan(x) || x == 0.0) return {0, 0, 0};
    const std::uint8_t sign = std::signbit(x) ? kNegative : 0;
    double a = std::fabs(x);
    if (a >= 0x1p64) return {static_cast<std::uint8_t>(sign | 0x7F), 0xFF, 0xFF};

    int exponent = 0;
    if (a >= 1.0) {
        while (a >= 2.0) {
            a /= 2.0;
            ++exponent;
        }
    } else {
        // The first k with 2^-k <= a, but no smaller exponent than -63.
        while (exponent > kSmallestExponent && a < 1.0) {
            a *= 2.0;
            --exponent;
        }
    }
    // a is now in [1, 2) except below 2^-63, where the fraction stays 0.
    // Scaling by powers of two is exact, so the truncation below is exact too.
    const double fraction = a - 1.0;
    const auto bits =
        fraction > 0.0 ? static_cast<std::uint16_t>(std::floor(fraction * 65536.0)) : 0;
    const auto byte0 = static_cast<std::uint8_t>(
        sign | (exponent >= 0 ? kExponentNotNegative | exponent : exponent + kExponentBias));
    return {byte0, static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits & 0xFF)};
}

}  // namespace lm
