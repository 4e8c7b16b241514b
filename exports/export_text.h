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

#include <concepts>
#include <cstdint>
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
    explicit ExportText(Sink sink) : sink_(std::move(sink)) { text_.reserve(kPieceBytes + 256); }

    void Line(std::string_view line) {
        text_ += line;
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
    void Add(std::string_view text) { text_ += text; }
    void Add(char c) { text_ += c; }
    // `value` in decimal, right-aligned in `width` characters (never cut).
    void AddNumber(long long value, int width = 0) {
        const bool negative = value < 0;
        AddDigits(negative ? 0ULL - static_cast<unsigned long long>(value)
                           : static_cast<unsigned long long>(value),
                  negative, width);
    }
    void AddUnsigned(unsigned long long value, int width = 0) { AddDigits(value, false, width); }
    void EndLine() {
        text_ += "\r\n";
        if (sink_ && text_.size() >= kPieceBytes) Flush();
    }

    // Hands what is left to the sink; without a sink nothing happens.
    void Flush() {
        if (!sink_ || text_.empty()) return;
        sink_(text_);
        text_.clear();
    }
    // The text not yet handed on: the whole text when there is no sink.
    const std::string& text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    void Put(std::string_view text) { Add(text); }
    void Put(char c) { Add(c); }
    template <std::integral Number>
        requires(!std::same_as<Number, char> && !std::same_as<Number, bool>)
    void Put(Number value) {
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
        const auto length = static_cast<int>(end - first);
        if (width > length) text_.append(static_cast<std::size_t>(width - length), ' ');
        text_.append(first, end);
    }

    Sink sink_;
    std::string text_;
};

}  // namespace lm
