#include "ui/line_sync.h"

#include <algorithm>

namespace lm::ui {
namespace {

// The cut points tried before the text is rewritten compare at most this many
// times the shown lines in all, so a memo of many equal lines costs no more
// than a few comparisons of it.
constexpr std::size_t kCompareBudget = 4;

// How many lines of `shown` from `from` on equal the wanted ones from the start.
std::size_t SameLines(const std::vector<std::string>& shown, std::size_t from,
                      const std::vector<std::string>& wanted) {
    const auto first = shown.begin() + static_cast<std::ptrdiff_t>(from);
    const std::size_t kept = shown.size() - from;
    const std::size_t compared = std::min(kept, wanted.size());
    return static_cast<std::size_t>(
        std::mismatch(first, first + static_cast<std::ptrdiff_t>(compared), wanted.begin()).first -
        first);
}

}  // namespace

LinePlan PlanLines(const std::vector<std::string>& shown, const std::vector<std::string>& wanted) {
    if (wanted.empty()) return shown.empty() ? LinePlan{} : LinePlan{true, 0, 0};
    if (shown.size() <= wanted.size() && SameLines(shown, 0, wanted) == shown.size())
        return {false, 0, shown.size()};
    // A cut keeps no more lines than are wanted, so smaller cuts are not
    // tried: in a log, whose lines repeat, they would use up the budget
    // before the real cut is reached.
    const std::size_t first_cut = shown.size() > wanted.size() ? shown.size() - wanted.size() : 1;
    std::size_t compared = 0;
    for (std::size_t drop = first_cut;
         drop < shown.size() && compared <= kCompareBudget * shown.size(); ++drop) {
        const std::size_t kept = shown.size() - drop;
        const std::size_t same = SameLines(shown, drop, wanted);
        if (same == kept) return {false, drop, kept};
        compared += same + 1;
    }
    return {true, 0, 0};
}

}  // namespace lm::ui
