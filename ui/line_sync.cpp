#include "ui/line_sync.h"

#include <algorithm>

namespace lm::ui {
namespace {

// At most this many candidate cut points are tried before the text is rewritten,
// so a memo of many equal lines costs no more than a few comparisons of it.
constexpr int kMaxCandidates = 4;

bool SameRun(const std::vector<std::string>& shown, std::size_t from,
             const std::vector<std::string>& wanted) {
    const std::size_t kept = shown.size() - from;
    return kept <= wanted.size() && std::equal(shown.begin() + static_cast<std::ptrdiff_t>(from),
                                               shown.end(), wanted.begin());
}

}  // namespace

LinePlan PlanLines(const std::vector<std::string>& shown, const std::vector<std::string>& wanted) {
    if (wanted.empty()) return shown.empty() ? LinePlan{} : LinePlan{true, 0, 0};
    if (SameRun(shown, 0, wanted)) return {false, 0, shown.size()};
    int candidates = 0;
    for (std::size_t drop = 1; drop < shown.size() && candidates < kMaxCandidates; ++drop) {
        if (shown[drop] != wanted.front()) continue;
        ++candidates;
        if (SameRun(shown, drop, wanted)) return {false, drop, shown.size() - drop};
    }
    return {true, 0, 0};
}

}  // namespace lm::ui
