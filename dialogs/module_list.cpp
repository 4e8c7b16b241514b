#include "dialogs/module_list.h"

#include <optional>

#include "ui/float_edit.h"

namespace lm::dialogs {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The next number of the rest of a line: it ends at the first blank or tab
// and is removed from the rest.
std::optional<double> NextNumber(std::string_view& rest) {
    rest = Trimmed(rest);
    const std::size_t end = rest.find_first_of(kBlanks);
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    if (word.empty()) return std::nullopt;
    return ui::ParseReal(word, '.');
}

}  // namespace

ModuleList ParseModuleList(std::string_view text, const std::function<bool(double)>& fits) {
    ModuleList list;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.size() < kModuleTextColumns) continue;
        if (list.modules.size() == kMaxModules) {
            list.too_many = true;
            break;
        }
        Module module;
        module.description = std::string(line.substr(0, kModuleTextColumns));
        for (char& ch : module.description) {
            if (ch == '\0') ch = ' ';
        }
        std::string_view rest = line.substr(kModuleTextColumns);
        const std::optional<double> min = NextNumber(rest);
        const std::optional<double> max = NextNumber(rest);
        if (min && max && fits && !list.modules.empty() && (!fits(*min) || !fits(*max))) {
            if (list.unfit_line == 0) list.unfit_line = number;
            continue;
        }
        if (min && max) {
            module.min = *min;
            module.max = *max;
        } else if (!list.modules.empty()) {
            if (list.bad_line == 0) list.bad_line = number;
            continue;
        }
        list.modules.push_back(std::move(module));
    }
    return list;
}

}  // namespace lm::dialogs
