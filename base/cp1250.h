// Texts inside the driver are CP1250 bytes, as the host (an ANSI program on a
// Central European Windows) and the driver's files expect. Czech literals are
// written in UTF-8 in the source and turned into CP1250 at compile time:
//     std::string_view t = "Nápověda"_cp;
// A character that CP1250 cannot hold is a compile error.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lm {

// Unicode code points of the CP1250 bytes 0x80..0xFF (0 = unused byte).
inline constexpr std::array<char16_t, 128> kCp1250High = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The CP1250 byte of a code point, or -1 when CP1250 has none.
constexpr int Cp1250ByteOf(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kCp1250High.size(); ++i) {
        if (kCp1250High[i] != 0 && kCp1250High[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

// The code point of a CP1250 byte (unused bytes map to U+FFFD).
constexpr char32_t Cp1250CodePoint(unsigned char b) {
    if (b < 0x80) return b;
    char16_t u = kCp1250High[b - 0x80];
    return u == 0 ? char32_t{0xFFFD} : char32_t{u};
}

namespace detail {

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input gives U+FFFD.
constexpr char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

template <std::size_t N>
struct Utf8Literal {
    char chars[N]{};
    constexpr Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) chars[i] = s[i];
    }
    constexpr std::string_view view() const { return {chars, N - 1}; }
};

template <Utf8Literal S>
struct Cp1250Literal {
    static constexpr std::size_t kSize = [] {
        std::size_t n = 0;
        auto v = S.view();
        for (std::size_t i = 0; i < v.size(); ++n) DecodeUtf8(v, i);
        return n;
    }();
    static constexpr std::array<char, kSize + 1> kBytes = [] {
        std::array<char, kSize + 1> out{};
        auto v = S.view();
        std::size_t n = 0;
        for (std::size_t i = 0; i < v.size();) {
            int b = Cp1250ByteOf(DecodeUtf8(v, i));
            if (b < 0) throw "character not in CP1250";  // compile error in constant evaluation
            out[n++] = static_cast<char>(b);
        }
        return out;
    }();
};

}  // namespace detail

// A converted literal: a view of static CP1250 bytes that joins with texts by +.
class CpText : public std::string_view {
public:
    constexpr CpText(const char* bytes, std::size_t size) : std::string_view(bytes, size) {}
    operator std::string() const { return std::string(data(), size()); }
};
inline std::string operator+(CpText a, std::string_view b) {
    std::string out(a);
    out += b;
    return out;
}
inline std::string operator+(std::string_view a, CpText b) {
    std::string out(a);
    out += b;
    return out;
}
inline std::string operator+(CpText a, CpText b) {
    return a + std::string_view(b);
}

namespace literals {
template <detail::Utf8Literal S>
constexpr CpText operator""_cp() {
    using L = detail::Cp1250Literal<S>;
    return {L::kBytes.data(), L::kSize};
}
}  // namespace literals

// Run-time conversions for the edges of the system (console output, Win32 W API).
std::string Utf8ToCp1250(std::string_view utf8);  // unmappable characters become '?'
std::string Cp1250ToUtf8(std::string_view cp1250);
std::u16string Cp1250ToUtf16(std::string_view cp1250);
std::string Utf16ToCp1250(std::u16string_view utf16);

}  // namespace lm

using namespace lm::literals;  // NOLINT: the _cp literal is used in every layer
