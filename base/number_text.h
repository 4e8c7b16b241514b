// Number layouts shared by log lines and exports.
#pragma once

#include <cstdint>
#include <string>

namespace lm {

// `value` in decimal, right-aligned in `width` characters (never cut).
std::string RightAligned(long long value, int width);
// The same appended to `text`, for lines built piece by piece.
void AppendRightAligned(std::string& text, long long value, int width);

// A 32-bit value as two groups of four upper-case hexadecimal digits, high
// word first: "0012:ABCD".
std::string Hex32(std::uint32_t value);

// An address shown the same way (its low 32 bits on a 64-bit build).
std::string HexAddress(const void* address);

}  // namespace lm
