// Small text helpers for values typed by users and texts handed in from outside.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lm {

// The text without leading and trailing spaces (only the space character).
std::string TRIM_SPACES(std::string_view text);

// Takes the first number off a line of numbers: `text` becomes its form
// without leading and trailing blanks and tabs, cut to `limit` characters; the characters up to the
// first space or tab are read as a real; they are removed from the front of `text` (the separating
// space stays). `error` is set when they are not a number or lie beyond the range of the driver's
// reals, and is never cleared, so one flag can collect the failures of a whole line; the result is
// then 0.
double TAKE_NUMBER(std::string& text, std::size_t limit, bool& error);

// Every ',' replaced by '.' (decimal commas typed by users).
std::string COMMA_TO_POINT(std::string_view text);

// A zero-terminated text as a bounded text of at most 255 characters; null
// gives an empty text.
std::string PCHAR_TEXT(const char* text);

}  // namespace lm
