// Hexadecimal texts of bytes, words and 32-bit values (upper-case digits).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lm {

// 0..9 -> '0'..'9', 10..15 -> 'A'..'F', anything else -> '?'.
char HEX_DIGIT(int value);

// Two digits, high nibble first: "0A".
std::string HEX_BYTE(std::uint8_t value);

// Four digits, high byte first: "12AB".
std::string HEX_WORD(std::uint16_t value);

// High word, a colon, low word: "0040:1A2C".
std::string HEX_DWORD(std::uint32_t value);

// Every byte as two digits followed by one space, in memory order: "01 2F 00 ".
std::string HEX_BYTES(std::span<const std::uint8_t> bytes);

}  // namespace lm
