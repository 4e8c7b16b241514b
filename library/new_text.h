// Owned texts of the library records: zero-terminated copies that the record
// storing the pointer owns and releases.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace lm {

// A zero-terminated copy of the first `limit` characters of `text` (the whole
// text when it is shorter; `limit` is taken as at most 255). Never null.
std::unique_ptr<char[]> NEW_TEXT(std::string_view text, std::size_t limit);

}  // namespace lm
