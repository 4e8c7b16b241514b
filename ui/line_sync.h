// How a window that shows a list of lines (a memo) catches up with the model's
// lines cheaply. A log memo only grows at the end and, when it is full, loses
// lines at the top; the plan then removes those lines and appends the new
// ones instead of rewriting the whole text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lm::ui {

struct LinePlan {
    bool replace_all = false;     // set the whole text to the wanted lines
    std::size_t drop = 0;         // otherwise: remove this many lines at the top,
    std::size_t append_from = 0;  // then append wanted[append_from..]
    bool operator==(const LinePlan&) const = default;
};

LinePlan PlanLines(const std::vector<std::string>& shown, const std::vector<std::string>& wanted);

}  // namespace lm::ui
