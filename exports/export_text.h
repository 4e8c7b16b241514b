// The text of an export file while it is built: CP1250 lines, each ended by
// CR LF. Kept whole in one buffer, or, with a sink, handed on in pieces of
// about kPieceBytes as it grows, so that a large export never holds its whole
// text in memory (the buffer is reused, and stays in the processor's cache).
#pragma once

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
    Sink sink_;
    std::string text_;
};

}  // namespace lm
