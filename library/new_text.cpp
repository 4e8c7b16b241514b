#include "library/new_text.h"

#include <algorithm>
#include <cstring>

#include "base/bounded_text.h"

namespace lm {

std::unique_ptr<char[]> NEW_TEXT(std::string_view text, std::size_t limit) {
    const std::size_t n = std::min({text.size(), limit, kMaxText});
    auto copy = std::make_unique<char[]>(n + 1);  // value-initialised: the terminator is in place
    if (n > 0) std::memcpy(copy.get(), text.data(), n);
    return copy;
}

}  // namespace lm
