// The 6-byte real in which the driver's definitions keep real limits. Reals are
// computed in double, which has more range and precision; the 6-byte range is
// applied where reals are read, and the exact byte layout is available for the
// host records that carry one.
//
// Layout: byte 0 is the exponent with bias 129 (0 means the value 0); bytes 1
// to 5 hold a 39-bit fraction with an implicit leading 1, byte 1 lowest; the
// top bit of byte 5 is the sign.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace lm {

using ShortRealBytes = std::array<std::uint8_t, 6>;

// The smallest magnitude a short real holds (2^-128, about 2.9E-39).
inline constexpr double kShortRealMin = 0x1p-128;
// The largest magnitude a short real holds ((2 - 2^-39) * 2^126, about 1.7E38).
inline constexpr double kShortRealMax = 0x1.fffffffffep126;

// x as a short real holds it in range: magnitudes below kShortRealMin become 0.
// Nothing when x is NaN or its magnitude is beyond kShortRealMax.
std::optional<double> LimitToShortReal(double x);

// The exact value of a short real.
double DecodeShortReal(std::span<const std::uint8_t, 6> bytes);

// The short real nearest to x (fraction rounded to nearest, ties to even),
// all bytes 0 for values that become 0. Nothing when LimitToShortReal refuses x.
std::optional<ShortRealBytes> EncodeShortReal(double x);

}  // namespace lm
