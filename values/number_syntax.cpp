#include "values/number_syntax.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace lm {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Skips leading spaces and an optional sign; true when the sign was '-'.
bool TakeSign(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return false;
    const char c = text.front();
    if (c == '+' || c == '-') text.remove_prefix(1);
    return c == '-';
}

// The two's-complement pattern of an integer of `bits` bits (32 or 64), kept
// in the low bits of the result.
std::optional<std::uint64_t> ParseIntegerBits(std::string_view text, int bits) {
    const bool negative = TakeSign(text);
    const std::uint64_t all_bits =
        bits == 64 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t{1} << bits) - 1;

    bool hex = false;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        hex = true;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;

    std::uint64_t value = 0;
    if (hex) {
        // Every bit may be used: a pattern, not a magnitude.
        for (char c : text) {
            const int digit = HexValue(c);
            if (digit < 0 || value > (all_bits >> 4)) return std::nullopt;
            value = (value << 4) | static_cast<std::uint64_t>(digit);
        }
    } else {
        // The magnitude of the most negative value is one more than the most positive.
        const std::uint64_t limit = (all_bits >> 1) + (negative ? 1 : 0);
        for (char c : text) {
            if (!IsDigit(c)) return std::nullopt;
            const auto digit = static_cast<std::uint64_t>(c - '0');
            if (value > (limit - digit) / 10) return std::nullopt;
            value = value * 10 + digit;
        }
    }
    if (negative) value = (~value + 1);
    return value & all_bits;
}

}  // namespace

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    const auto bits = ParseIntegerBits(text, 32);
    if (!bits) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*bits));
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
    const auto bits = ParseIntegerBits(text, 64);
    if (!bits) return std::nullopt;
    return static_cast<std::int64_t>(*bits);
}

std::optional<double> ParseDecimalReal(std::string_view text) {
    const bool negative = TakeSign(text);

    // Check the syntax and note the decimal magnitude of the first significant
    // digit, which tells overflow from underflow when the conversion cannot
    // hold the value.
    std::size_t i = 0;
    int digits = 0;
    long long magnitude = 0;  // position of the first non-zero digit, 10^magnitude
    bool significant = false;
    long long integer_digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (text[i] != '0') significant = true;
        if (significant) ++integer_digits;
        ++digits;
        ++i;
    }
    if (significant) magnitude = integer_digits - 1;
    if (i < text.size() && text[i] == '.') {
        ++i;
        long long position = -1;
        while (i < text.size() && IsDigit(text[i])) {
            if (!significant && text[i] != '0') {
                significant = true;
                magnitude = position;
            }
            --position;
            ++digits;
            ++i;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exponent_negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            exponent_negative = text[i] == '-';
            ++i;
        }
        if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
        long long exponent = 0;
        while (i < text.size() && IsDigit(text[i])) {
            if (exponent < 1'000'000) exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        magnitude += exponent_negative ? -exponent : exponent;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace lm
