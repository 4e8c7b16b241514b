#include "base/cp1250.h"

namespace lm {

std::string Utf8ToCp1250(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        int b = Cp1250ByteOf(detail::DecodeUtf8(utf8, i));
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string Cp1250ToUtf8(std::string_view cp1250) {
    std::string out;
    out.reserve(cp1250.size() + cp1250.size() / 4);
    for (char c : cp1250) {
        char32_t cp = Cp1250CodePoint(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string Cp1250ToUtf16(std::string_view cp1250) {
    std::u16string out;
    out.reserve(cp1250.size());
    for (char c : cp1250) {
        out.push_back(static_cast<char16_t>(Cp1250CodePoint(static_cast<unsigned char>(c))));
    }
    return out;
}

std::string Utf16ToCp1250(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (char16_t u : utf16) {
        int b = Cp1250ByteOf(u);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

}  // namespace lm
