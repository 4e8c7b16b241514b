// What every fuzz target checks with: a trap on a broken promise, and a log
// that is on (so every line is formatted) and checks each line's length.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/log_sink.h"
#include "library/load_problems.h"

namespace fuzz {

// Not inlined, so that a broken check's stack names the line that made it.
[[gnu::noinline]] inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

class CheckingLog : public lm::LogSink {
public:
    bool enabled() const override { return true; }
    void Write(std::string_view message) override { Check(message.size() < 4096); }
};

// The problems a checking reader reports, kept to be checked.
class CollectedProblems : public lm::LoadProblems {
public:
    void EnterFile(const std::string&) override {}
    void LeaveFile() override {}
    std::vector<lm::LoadProblem> all;

protected:
    void Take(lm::LoadProblem problem) override { all.push_back(std::move(problem)); }
};

// How a reader ends its lines: SETCOM.INI at LF; profiles.ini at LF, and
// after the last LF at CR; the definition files at CR, LF and CR LF alike.
enum class LineEnds { Lf, Profile, Any };

// Where the line that begins at `start` ends (at its line end, or the end).
inline std::size_t LineEnd(std::string_view text, std::size_t start, LineEnds ends) {
    std::size_t end =
        ends == LineEnds::Any ? text.find_first_of("\r\n", start) : text.find('\n', start);
    if (end == std::string_view::npos && ends == LineEnds::Profile) end = text.find('\r', start);
    return end == std::string_view::npos ? text.size() : end;
}

// Line and column lie inside the text (the column may stand just after the
// last byte of its line, where the end of input is).
inline bool Inside(std::string_view text, lm::TextPosition at, LineEnds ends = LineEnds::Lf) {
    if (at.line == 0 || at.column == 0) return false;
    std::size_t start = 0;
    for (std::uint32_t line = 1; line < at.line; ++line) {
        const std::size_t end = LineEnd(text, start, ends);
        if (end == text.size()) return false;
        start = end + 1;
        if (ends == LineEnds::Any && text[end] == '\r' && start < text.size() &&
            text[start] == '\n') {
            ++start;
        }
    }
    return at.column <= LineEnd(text, start, ends) - start + 1;
}

}  // namespace fuzz
