// The number syntax of definition files and typed-in values.
//
// Integers: optional leading spaces, an optional sign, then decimal digits, or
// hexadecimal digits after one of the prefixes `$`, `x`, `X`, `0x`, `0X`.
// Reals: optional leading spaces, an optional sign, decimal digits with an
// optional point (at least one digit), an optional exponent `E` or `e` with an
// optional sign and at least one digit. The whole text must match.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lm {

// A signed 32-bit integer. Decimal values must lie in -2147483648..2147483647;
// hexadecimal values may use all 32 bits (`$FFFFFFFF` is -1).
std::optional<std::int32_t> ParseInt32(std::string_view text);

// A signed 64-bit integer, with the same rules over 64 bits.
std::optional<std::int64_t> ParseInt64(std::string_view text);

// A real, correctly rounded to double. Values too large for a double give an
// infinity of their sign; values too small give 0 (or a subnormal double).
std::optional<double> ParseDecimalReal(std::string_view text);

}  // namespace lm
