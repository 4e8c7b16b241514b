// The controller's three-byte real ("3BF"): byte 0 holds the sign (bit 7), the
// exponent sign (bit 6: set for 0 and positive exponents) and a six-bit
// exponent field; bytes 1 and 2 hold a 16-bit fraction with an implicit
// leading 1. 17 significant bits, magnitudes from 2^-64 to just below 2^64.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lm {

using Bf3Bytes = std::array<std::uint8_t, 3>;

// The exact value of a 3BF. `00 00 00` is 0; every other pattern, including
// `80 00 00` (-2^-64), is a normal number.
double BF3_TO_REAL(std::span<const std::uint8_t, 3> bytes);

// The 3BF of x, its magnitude truncated (never rounded up) to 16 fraction bits.
// Magnitudes below 2^-63 give the smallest 3BF of the same sign (`01 00 00`,
// `81 00 00`); magnitudes of 2^64 and more, infinities included, give the
// largest 3BF of the same sign (`7F FF FF`, `FF FF FF`) instead of spilling the
// exponent into the sign bit; NaN gives `00 00 00`.
Bf3Bytes REAL_TO_BF3(double x);

}  // namespace lm
