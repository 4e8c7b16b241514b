#include "base/number_text.h"

#include <cstdio>

namespace lm {

std::string RightAligned(long long value, int width) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%*lld", width, value);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
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
