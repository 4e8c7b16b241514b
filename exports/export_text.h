// The text of an export file while it is built: CP1250 lines, each ended by
// CR LF. Kept whole in one buffer, or, with a sink, handed on in pieces of
// about kPieceBytes as it grows, so that a large export never holds its whole
// text in memory (the buffer is reused, and stays in the processor's cache).
//
// A line is either given whole (Line) or built in place from its pieces
// (LineOf, or Add ... EndLine): texts and whole numbers go straight into the
// buffer, so that an export of a million lines makes no text of its own for
// any of them.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace lm {

// The separator line of NETLIST.TXT.
inline constexpr std::string_view kListingSeparator = "-------------------------------------------";

class ExportText {
public:
    using Sink = std::function<void(std::string_view)>;
    static constexpr std::size_t kPieceBytes = 256 * 1024;

    ExportText() = default;
    explicit ExportText(Sink sink) : sink_(std::move(sink)) { text_.resize(kPieceBytes + 256); }

    void Line(std::string_view line) {
        Add(line);
        EndLine();
    }
    // One line of its pieces in order: texts as they are, whole numbers in
    // decimal ("-5", "300"); a char is a character.
    template <class... Pieces>
    void LineOf(const Pieces&... pieces) {
        (Put(pieces), ...);
        EndLine();
    }

    // Pieces of the line being built; EndLine ends it.
    void Add(std::string_view text) {
        if (!text.empty()) std::memcpy(Room(text.size()), text.data(), text.size());
    }
    void Add(char c) { *Room(1) = c; }
    // `value` in decimal, right-aligned in `width` characters (never cut).
    void AddNumber(long long value, int width = 0) {
        const bool negative = value < 0;
        AddDigits(negative ? 0ULL - static_cast<unsigned long long>(value)
                           : static_cast<unsigned long long>(value),
                  negative, width);
    }
    void AddUnsigned(unsigned long long value, int width = 0) { AddDigits(value, false, width); }
    void EndLine() {
        std::memcpy(Room(2), "\r\n", 2);
        if (sink_ && size_ >= kPieceBytes) Flush();
    }

    // Hands what is left to the sink; without a sink nothing happens.
    void Flush() {
        if (!sink_ || size_ == 0) return;
        sink_(std::string_view(text_.data(), size_));
        size_ = 0;
    }
    // The text not yet handed on: the whole text when there is no sink.
    std::string text() const { return text_.substr(0, size_); }
    std::string Take() {
        text_.resize(size_);
        size_ = 0;
        return std::move(text_);
    }

private:
    // `count` bytes at the end of the text, for the caller to fill.
    char* Room(std::size_t count) {
        if (text_.size() - size_ < count) Grow(count);
        char* at = text_.data() + size_;
        size_ += count;
        return at;
    }
    void Grow(std::size_t count) { text_.resize(std::max(2 * text_.size(), size_ + count + 256)); }

    void Put(std::string_view text) { Add(text); }
    void Put(char c) { Add(c); }
    template <std::integral Number>
    requires(!std::same_as<Number, char> && !std::same_as<Number, bool>) void Put(Number value) {
        if constexpr (std::signed_integral<Number>) {
            AddNumber(static_cast<long long>(value));
        } else {
            AddUnsigned(static_cast<unsigned long long>(value));
        }
    }
    void AddDigits(unsigned long long magnitude, bool negative, int width) {
        char digits[24];
        char* const end = digits + sizeof digits;
        char* first = end;
        do {
            *--first = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative) *--first = '-';
        const auto length = static_cast<std::size_t>(end - first);
        const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > length
                                    ? static_cast<std::size_t>(width) - length
                                    : 0;
        char* at = Room(pad + length);
        std::memset(at, ' ', pad);
        std::memcpy(at + pad, first, length);
    }

    Sink sink_;
    // The text is the first size_ bytes; the rest is room to grow into.
    std::string text_;
    std::size_t size_ = 0;
};

}  // namespace lm
