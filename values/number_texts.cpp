#include "values/number_texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "base/bounded_text.h"

namespace lm {

namespace {

std::string NonFiniteText(double x) {
    if (std::isnan(x)) return kNanText;
    return x < 0 ? kMinusInfinityText : kPlusInfinityText;
}

// The decimal digits of |x| in scientific form with `precision` digits after
// the first, and the decimal exponent of the first digit. x is finite.
struct Scientific {
    std::string digits;  // precision + 1 digits, no point
    int exponent = 0;
};

Scientific ToScientific(double x, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                      std::chars_format::scientific, precision);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // "d.ddd...e+XX"
    const std::size_t e = text.find('e');
    Scientific s;
    for (char c : text.substr(0, e))
        if (c != '.') s.digits += c;
    const std::string_view exponent = text.substr(e + 1);
    const std::size_t skip = exponent.front() == '+' ? 1 : 0;
    std::from_chars(exponent.data() + skip, exponent.data() + exponent.size(), s.exponent);
    return s;
}

// Adds one to a string of decimal digits, growing it on a carry out.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string REAL_DEFAULT_TEXT(double x) {
    if (!std::isfinite(x)) return NonFiniteText(x);
    const Scientific s = ToScientific(x, 14);
    std::string text;
    text.reserve(23);
    text += x < 0 ? '-' : ' ';
    text += s.digits[0];
    text += '.';
    text.append(s.digits, 1, std::string::npos);
    text += 'E';
    text += s.exponent < 0 ? '-' : '+';
    const int e = std::abs(s.exponent);
    for (int power = 1000; power > 0; power /= 10) text += static_cast<char>('0' + e / power % 10);
    return text;
}

std::string REAL_TEXT(double x, int width, int decimals) {
    width = std::clamp(width, 0, static_cast<int>(kMaxText));
    decimals = std::clamp(decimals, 0, static_cast<int>(kMaxText));
    std::string text;
    if (!std::isfinite(x)) {
        text = NonFiniteText(x);
    } else {
        // 18 significant digits; the first is worth 10^exponent. Counted in
        // units of the last shown decimal, the first digit is worth 10^shift.
        constexpr int kDigits = 18;
        const Scientific s = ToScientific(x, kDigits - 1);
        const int shift = s.exponent + decimals;
        std::string units;  // the rounded value in units of 10^-decimals
        if (shift >= kDigits - 1) {
            units = s.digits + std::string(static_cast<std::size_t>(shift - (kDigits - 1)), '0');
        } else {
            const int kept = shift + 1;  // digits at or above the last shown decimal
            units = kept > 0 ? s.digits.substr(0, static_cast<std::size_t>(kept)) : "0";
            const int next = kept;  // index of the first dropped digit
            if (next >= 0 && s.digits[static_cast<std::size_t>(next)] >= '5') Increment(units);
        }
        const bool zero = units.find_first_not_of('0') == std::string::npos;
        if (units.size() < static_cast<std::size_t>(decimals) + 1)
            units.insert(0, static_cast<std::size_t>(decimals) + 1 - units.size(), '0');
        if (decimals > 0) units.insert(units.size() - static_cast<std::size_t>(decimals), 1, '.');
        if (x < 0 && !zero) text += '-';
        text += units;
    }
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string REAL_FORMAT_TEXT(double x, int width, int decimals) {
    if (width == 0 && decimals == 0) return REAL_DEFAULT_TEXT(x);
    return REAL_TEXT(x, width, decimals);
}

std::int32_t ROUND_INT(double x) {
    // Values this far out cannot round into range; spare the long text.
    if (!(std::fabs(x) < 4294967296.0)) return 0;
    const std::string text = REAL_TEXT(x, 1, 0);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return 0;
    if (value < INT32_MIN || value > INT32_MAX) return 0;
    return static_cast<std::int32_t>(value);
}

std::optional<double> SingleToReal(std::uint32_t pattern) {
    const bool negative = (pattern >> 31) != 0;
    const int exponent_field = static_cast<int>((pattern >> 23) & 0xFF);
    const std::uint32_t fraction = pattern & 0x7FFFFF;
    if (exponent_field == 0xFF) return std::nullopt;
    // Subnormals (exponent field 0) follow IEEE-754: F * 2^-126, so the values
    // run on evenly below the smallest normal single.
    const double magnitude =
        exponent_field == 0
            ? std::ldexp(static_cast<double>(fraction), -126 - 23)
            : std::ldexp(static_cast<double>(fraction | 0x800000), exponent_field - 127 - 23);
    if (magnitude > 1e38) return std::nullopt;
    if (magnitude == 0.0) return 0.0;
    return negative ? -magnitude : magnitude;
}

std::string SINGLE_TO_TEXT(std::uint32_t pattern) {
    if (const std::optional<double> value = SingleToReal(pattern)) return REAL_DEFAULT_TEXT(*value);
    // Exponent field 255 with a fraction is a NaN, whichever fraction bits are
    // set; the infinities and the finite values beyond 1E38 show by their sign.
    const bool nan = ((pattern >> 23) & 0xFF) == 0xFF && (pattern & 0x7FFFFF) != 0;
    if (nan) return kNanText;
    return (pattern >> 31) ? kMinusInfinityText : kPlusInfinityText;
}

std::string FIRMWARE_TEXT(std::uint32_t version) {
    const unsigned v = version & 0xFFFF;
    if (v == 0) return "?";
    const unsigned rest = v % 1000;
    return std::to_string(v / 1000) + '.' + static_cast<char>('0' + rest / 100) +
           static_cast<char>('0' + rest / 10 % 10) + static_cast<char>('0' + rest % 10);
}

}  // namespace lm
