#include "values/hex_texts.h"

#include "base/number_text.h"

namespace lm {

char HEX_DIGIT(int value) {
    if (value >= 0 && value <= 9) return static_cast<char>('0' + value);
    if (value >= 10 && value <= 15) return static_cast<char>('A' + value - 10);
    return '?';
}

std::string HEX_BYTE(std::uint8_t value) {
    return {HEX_DIGIT(value >> 4), HEX_DIGIT(value & 0xF)};
}

std::string HEX_WORD(std::uint16_t value) {
    return HEX_BYTE(static_cast<std::uint8_t>(value >> 8)) +
           HEX_BYTE(static_cast<std::uint8_t>(value & 0xFF));
}

std::string HEX_DWORD(std::uint32_t value) {
    return Hex32(value);
}

std::string HEX_BYTES(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        text += HEX_DIGIT(b >> 4);
        text += HEX_DIGIT(b & 0xF);
        text += ' ';
    }
    return text;
}

}  // namespace lm
