#include "dialogs/string_table.h"

#include <charconv>

#include "base/bounded_text.h"
#include "dialogs/about_dlg.h"

namespace lm::dialogs {
namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

FileStatus WriteStringTable(Files& files, const std::string& driver_dir, const StringTable& table) {
    std::vector<std::string> lines;
    lines.reserve(2 + 2 * table.rows.size());
    lines.push_back(Bounded(table.title, kMaxTableTitle));
    lines.push_back(std::to_string(table.maximum));
    for (const TextRow& row : table.rows) {
        lines.push_back(Bounded(row.name, kMaxRowText));
        lines.push_back(Bounded(row.text, kMaxRowText));
    }
    return files.WriteWhole(driver_dir + kHandOverFileName, JoinCrLfLines(lines));
}

std::optional<StringTable> ReadStringTable(Files& files, const std::string& driver_dir) {
    const std::optional<std::string> text = files.ReadWhole(driver_dir + kHandOverFileName);
    if (!text) return std::nullopt;
    const std::vector<std::string_view> lines = Lines(*text);
    auto line = [&lines](std::size_t i) {
        return i < lines.size() ? lines[i] : std::string_view();
    };
    StringTable table;
    table.title = Bounded(line(0), kMaxTableTitle);
    const std::string_view maximum = line(1);
    int value = -1;
    auto [end, ec] = std::from_chars(maximum.data(), maximum.data() + maximum.size(), value);
    const bool number = ec == std::errc() && end == maximum.data() + maximum.size();
    table.maximum = number && value >= 0 && value <= kMaxRuler ? value : int{kMaxRowText};
    for (std::size_t i = 2;
         table.rows.empty() || (i < lines.size() && table.rows.size() < kMaxTextRows); i += 2) {
        table.rows.push_back({Bounded(line(i), kMaxRowText), Bounded(line(i + 1), kMaxRowText)});
    }
    return table;
}

std::string Ruler(int maximum) {
    switch (maximum) {
        case 8:
            return "76543210";
        case 16:
            return "5432109876543210";
        case 18:
            return "345678901234567890";
        case 20:
            return "2345678901234567890";
        default:
            break;
    }
    std::string ruler;
    for (int i = 1; i <= maximum && i <= kMaxRuler; ++i) ruler += static_cast<char>('0' + i % 10);
    return ruler;
}

}  // namespace lm::dialogs
