#include "ui/float_edit.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace lm::ui {

std::optional<double> ParseReal(std::string_view text, char decimal_separator) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // The characters a number is written with, the separator made '.', so
    // that "nan", "inf" and hexadecimal forms are no numbers.
    std::string plain;
    plain.reserve(text.size());
    bool digits = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch >= '0' && ch <= '9') {
            digits = true;
            plain += ch;
        } else if (ch == decimal_separator) {
            plain += '.';
        } else if (ch == 'e' || ch == 'E' || ch == '-') {
            plain += ch;
        } else if (ch == '+') {
            // from_chars takes no '+': drop it where a sign may stand.
            if (i != 0 && text[i - 1] != 'e' && text[i - 1] != 'E') return std::nullopt;
            if (i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '+'))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    double value = 0;
    const char* end = plain.data() + plain.size();
    auto [stop, ec] = std::from_chars(plain.data(), end, value);
    if (ec != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string RealText(double value, char decimal_separator) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text;
    // "1.5E+20" is written "1,5E20", "2E-05" "2E-5".
    const std::string_view raw(buffer);
    const std::size_t e = raw.find('E');
    std::string_view mantissa = raw.substr(0, e);
    for (char ch : mantissa) text += ch == '.' ? decimal_separator : ch;
    if (e != std::string_view::npos) {
        text += 'E';
        std::string_view exponent = raw.substr(e + 1);
        if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
        if (!exponent.empty() && exponent.front() == '-') {
            text += '-';
            exponent.remove_prefix(1);
        }
        while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
        text += exponent;
    }
    return text;
}

Control MakeFloatEdit(std::string name, Rect bounds, char decimal_separator) {
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::FloatEdit;
    c.bounds = bounds;
    c.text.assign(1, '0');  // a designer-placed control starts with "0"
    c.number.decimal_separator = decimal_separator;
    return c;
}

double TFloatEdit::Value() {
    if (c_.text.empty()) return s_.default_value;
    if (auto value = ParseReal(c_.text, s_.decimal_separator)) return *value;
    s_.wants_focus = true;
    return s_.default_value;
}

void TFloatEdit::SetValue(double value) {
    c_.text = RealText(Bound(value), s_.decimal_separator);
}

double TFloatEdit::Bound(double x) const {
    const double lo = s_.min_value, hi = s_.max_value;
    if (lo == hi) return x;
    if (s_.include_bounds) {
        if (x < lo) return lo;
        if (x > hi) return hi;
        return x;
    }
    if (x <= lo || x >= hi) return lo + (hi - lo) / 2;
    return x;
}

// The value and the default after a change of the bounds or their mode. A
// text that is no number is left for the user to correct.
void TFloatEdit::Rebound() {
    if (c_.text.empty() || ParseReal(c_.text, s_.decimal_separator)) SetValue(Value());
    s_.default_value = Bound(s_.default_value);
}

void TFloatEdit::SetMinValue(double value) {
    if (value == s_.min_value) return;
    s_.min_value = value;
    Rebound();
}

void TFloatEdit::SetMaxValue(double value) {
    if (value == s_.max_value) return;
    s_.max_value = value;
    Rebound();
}

void TFloatEdit::SetDefaultValue(double value) {
    if (value == s_.default_value || Bound(value) != value) return;
    s_.default_value = value;
}

void TFloatEdit::SetIncludeBounds(bool include) {
    if (include == s_.include_bounds) return;
    s_.include_bounds = include;
    if (c_.text.empty() || ParseReal(c_.text, s_.decimal_separator)) SetValue(Value());
}

bool TFloatEdit::KeyPress(char key) const {
    const auto code = static_cast<unsigned char>(key);
    return code < 32 || key == '+' || key == '-' || (key >= '0' && key <= '9') ||
           key == s_.decimal_separator;
}

void TFloatEdit::KeyDown(ArrowKey key) {
    if (!c_.text.empty() && !ParseReal(c_.text, s_.decimal_separator)) {
        s_.wants_focus = true;
        return;
    }
    const double step = key == ArrowKey::Up ? s_.increment : -s_.increment;
    SetValue(Value() + step);
}

bool TFloatEdit::Exit() {
    if (c_.text.empty()) return true;
    if (!ParseReal(c_.text, s_.decimal_separator)) {
        s_.wants_focus = true;
        return false;
    }
    SetValue(Value());
    return true;
}

}  // namespace lm::ui
