// Small text helpers of the library loaders.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/bounded_text.h"

namespace lm {

// The pieces joined into one text (log lines and messages are built this way:
// it is plain appending, and it spares g++ 12 a false -Wrestrict alarm on
// literal + temporary string chains).
inline std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    std::string text;
    text.reserve(size);
    for (std::string_view piece : pieces) text += piece;
    return text;
}

// The error text of a loader: stores `message` cut to `limit` characters (at
// most 255). Empty while all is well; it holds the first message that
// stopped a load.
inline void SetErrorText(std::string& error, std::size_t limit, std::string_view message) {
    error = Bounded(message, limit < kMaxText ? limit : kMaxText);
}

}  // namespace lm
