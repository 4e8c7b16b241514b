#include "settings/settings_numbers.h"

#include <cmath>
#include <cstdio>

#include "values/number_syntax.h"
#include "values/number_texts.h"

namespace lm::settings {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    text = SkipBlanks(text);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The length of the sign and digits at the start of `text`.
std::size_t SignedDigits(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

std::string WithSeparator(std::string text, char separator) {
    for (char& c : text) {
        if (c == '.') c = separator;
    }
    return text;
}

}  // namespace

std::optional<std::int32_t> LeadingInt(std::string_view line) {
    line = SkipBlanks(line);
    return ParseInt32(line.substr(0, SignedDigits(line)));
}

std::optional<double> LeadingReal(std::string_view line) {
    line = SkipBlanks(line);
    std::size_t end = SignedDigits(line);
    if (end < line.size() && (line[end] == '.' || line[end] == ',')) {
        ++end;
        while (end < line.size() && IsDigit(line[end])) ++end;
    }
    if (end < line.size() && (line[end] == 'e' || line[end] == 'E')) {
        const std::size_t exponent = SignedDigits(line.substr(end + 1));
        if (exponent > 0 && IsDigit(line[end + exponent])) end += 1 + exponent;
    }
    std::string number(line.substr(0, end));
    for (char& c : number) {
        if (c == ',') c = '.';
    }
    std::optional<double> value = ParseDecimalReal(number);
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> TypedInt(std::string_view text) {
    return ParseInt32(TrimBlanks(text));
}

std::optional<double> TypedReal(std::string_view text, char separator) {
    std::string point(TrimBlanks(text));
    // Either mark reads as the decimal point: a file written under another
    // number format still reads.
    for (char& c : point) {
        if (c == separator || c == ',') c = '.';
    }
    std::optional<double> value = ParseDecimalReal(point);
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::string TimeOutText(double seconds, char separator) {
    return WithSeparator(REAL_TEXT(seconds, 3, 1), separator);
}

std::string RealText(double value, char separator) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return WithSeparator(text, separator);
}

}  // namespace lm::settings
