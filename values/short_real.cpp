#include "values/short_real.h"

#include <cmath>

namespace lm {

namespace {

constexpr int kBias = 129;
constexpr int kFractionBits = 39;

}  // namespace

std::optional<double> LimitToShortReal(double x) {
    if (std::isnan(x)) return std::nullopt;
    const double a = std::fabs(x);
    if (a > kShortRealMax) return std::nullopt;
    if (a < kShortRealMin) return 0.0;
    return x;
}

double DecodeShortReal(std::span<const std::uint8_t, 6> bytes) {
    if (bytes[0] == 0) return 0.0;
    std::uint64_t fraction = bytes[5] & 0x7F;
    for (int i = 4; i >= 1; --i) fraction = (fraction << 8) | bytes[i];
    const double mantissa = 1.0 + std::ldexp(static_cast<double>(fraction), -kFractionBits);
    const double magnitude = std::ldexp(mantissa, bytes[0] - kBias);
    return (bytes[5] & 0x80) ? -magnitude : magnitude;
}

std::optional<ShortRealBytes> EncodeShortReal(double x) {
    const std::optional<double> limited = LimitToShortReal(x);
    if (!limited) return std::nullopt;
    ShortRealBytes bytes{};
    if (*limited == 0.0) return bytes;

    int exponent = 0;
    // frexp gives a in [0.5, 1); the layout wants [1, 2).
    const double a = std::frexp(std::fabs(*limited), &exponent) * 2.0;
    --exponent;
    // nearbyint rounds ties to even in the default rounding mode.
    auto fraction = static_cast<std::uint64_t>(std::nearbyint(std::ldexp(a - 1.0, kFractionBits)));
    if (fraction >> kFractionBits) {  // rounded up to the next power of two
        fraction = 0;
        ++exponent;
    }
    // In range by LimitToShortReal: the biased exponent stays within 1..255,
    // since a value rounding up past the largest fraction is beyond the maximum.
    bytes[0] = static_cast<std::uint8_t>(exponent + kBias);
    for (int i = 1; i <= 5; ++i) {
        bytes[i] = static_cast<std::uint8_t>(fraction & 0xFF);
        fraction >>= 8;
    }
    if (std::signbit(x)) bytes[5] |= 0x80;
    return bytes;
}

}  // namespace lm
