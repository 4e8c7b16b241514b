#include "values/text_helpers.h"

#include <algorithm>

#include "base/bounded_text.h"
#include "values/number_syntax.h"
#include "values/short_real.h"

namespace lm {

std::string TRIM_SPACES(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

double TAKE_NUMBER(std::string& text, std::size_t limit, bool& error) {
    // Blanks and tabs both separate the numbers of a line, so both are
    // trimmed; trimming spaces alone would leave a tab in front of the next
    // number and make it unreadable.
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    text = first == std::string::npos ? std::string()
                                      : Bounded(text.substr(first, last - first + 1), limit);
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    std::optional<double> value = ParseDecimalReal(std::string_view(text).substr(0, end));
    if (value) value = LimitToShortReal(*value);
    text.erase(0, end);
    if (!value) {
        error = true;
        return 0.0;
    }
    return *value;
}

std::string COMMA_TO_POINT(std::string_view text) {
    std::string result(text);
    std::replace(result.begin(), result.end(), ',', '.');
    return result;
}

std::string PCHAR_TEXT(const char* text) {
    return std::string(ReadZeroText(text, kMaxText));
}

}  // namespace lm
