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

// Line and column lie inside the text, lines ending at LF (the column may
// stand just after the last byte of its line, where the end of input is).
inline bool Inside(std::string_view text, lm::TextPosition at) {
    if (at.line == 0 || at.column == 0) return false;
    std::size_t start = 0;
    for (std::uint32_t line = 1; line < at.line; ++line) {
        start = text.find('\n', start);
        if (start == std::string_view::npos) return false;
        ++start;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    return at.column <= end - start + 1;
}

}  // namespace fuzz
