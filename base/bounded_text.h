// Bounded texts: at most N characters; longer input is cut, never rejected.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace lm {

inline constexpr std::size_t kMaxText = 255;

// The first `limit` characters of `text`.
inline std::string Bounded(std::string_view text, std::size_t limit = kMaxText) {
    return std::string(text.substr(0, limit));
}

// A zero-terminated text handed in from outside (the host, a window message),
// read up to its zero byte and never more than `limit` characters. Null reads
// as empty.
inline std::string_view ReadZeroText(const char* text, std::size_t limit = kMaxText) {
    if (text == nullptr) return {};
    std::size_t n = 0;
    while (n < limit && text[n] != '\0') ++n;
    return {text, n};
}

// A fixed character buffer of the driver that hands texts out by pointer: at
// most Capacity-1 characters and always zero-terminated.
template <std::size_t Capacity>
class TextBuffer {
public:
    static_assert(Capacity > 1);
    // Stores the first Capacity-1 characters of `text` and a zero byte.
    const char* Store(std::string_view text) {
        std::size_t n = text.size() < Capacity - 1 ? text.size() : Capacity - 1;
        if (n != 0) std::memcpy(chars_, text.data(), n);  // an empty view may have no data
        chars_[n] = '\0';
        return chars_;
    }
    const char* c_str() const { return chars_; }
    std::string_view view() const { return {chars_, std::strlen(chars_)}; }

private:
    char chars_[Capacity] = {};
};

}  // namespace lm
