#include "base/number_text.h"

#include <cstdio>

namespace lm {

void AppendRightAligned(std::string& text, long long value, int width) {
    // The digits from the last; exports write millions of these, so no printf.
    char digits[24];
    std::size_t n = 0;
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[n++] = '-';
    if (width > 0 && static_cast<std::size_t>(width) > n) {
        text.append(static_cast<std::size_t>(width) - n, ' ');
    }
    while (n > 0) text.push_back(digits[--n]);
}

std::string RightAligned(long long value, int width) {
    std::string text;
    AppendRightAligned(text, value, width);
    return text;
}

std::string Hex32(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X:%04X", static_cast<unsigned>(value >> 16),
                  static_cast<unsigned>(value & 0xFFFF));
    return buf;
}

std::string HexAddress(const void* address) {
    return Hex32(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address)));
}

}  // namespace lm
