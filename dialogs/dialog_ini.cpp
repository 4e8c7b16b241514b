#include "dialogs/dialog_ini.h"

#include <charconv>

#include "base/bounded_text.h"
#include "values/number_syntax.h"

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

std::string_view LineAt(const std::vector<std::string_view>& lines, std::size_t index) {
    return index < lines.size() ? lines[index] : std::string_view();
}

}  // namespace

FileStatus WriteStartupDialogFile(Files& files, const std::string& driver_dir,
                                  const StartupOptions& options) {
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    return ReplaceWholeFile(files, driver_dir + kDialogFileName,
                            JoinCrLfLines({flag(options.hide_dialog), flag(options.status_dialog),
                                           flag(options.log_file)}));
}

std::optional<StartupOptions> ReadStartupDialogFile(Files& files, const std::string& driver_dir) {
    const std::optional<std::string> content = files.ReadWhole(driver_dir + kDialogFileName);
    if (!content) return std::nullopt;
    const std::vector<std::string_view> lines = Lines(*content);
    StartupOptions options;
    bool* targets[] = {&options.hide_dialog, &options.status_dialog, &options.log_file};
    for (std::size_t i = 0; i < std::size(targets); ++i) {
        const std::optional<std::int32_t> number = ParseInt32(LineAt(lines, i));
        *targets[i] = number.has_value() && *number == 1;
    }
    return options;
}

FileStatus WriteAboutDialogFile(Files& files, const std::string& driver_dir,
                                std::string_view identification, std::string_view label_table) {
    std::string line(Bounded(identification));
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return ReplaceWholeFile(files, driver_dir + kDialogFileName,
                            JoinCrLfLines({line, Bounded(label_table)}));
}

AboutHandOver ReadAboutDialogFile(Files& files, const std::string& driver_dir) {
    const std::string content =
        files.ReadWhole(driver_dir + kDialogFileName).value_or(std::string());
    const std::vector<std::string_view> lines = Lines(content);
    AboutHandOver hand_over{Bounded(LineAt(lines, 0)), Bounded(LineAt(lines, 1))};
    if (hand_over.label_table == kNoLabelTable) hand_over.label_table.clear();
    return hand_over;
}

FileStatus WriteStringTable(Files& files, const std::string& driver_dir, const StringTable& table) {
    std::vector<std::string> lines;
    lines.reserve(2 + 2 * table.rows.size());
    lines.push_back(Bounded(table.title, kMaxTableTitle));
    lines.push_back(std::to_string(table.maximum));
    for (const TextRow& row : table.rows) {
        lines.push_back(Bounded(row.name, kMaxRowText));
        lines.push_back(Bounded(row.text, kMaxRowText));
    }
    return ReplaceWholeFile(files, driver_dir + kDialogFileName, JoinCrLfLines(lines));
}

std::optional<StringTable> ReadStringTable(Files& files, const std::string& driver_dir) {
    const std::optional<std::string> text = files.ReadWhole(driver_dir + kDialogFileName);
    if (!text) return std::nullopt;
    const std::vector<std::string_view> lines = Lines(*text);
    StringTable table;
    table.title = Bounded(LineAt(lines, 0), kMaxTableTitle);
    const std::string_view maximum = LineAt(lines, 1);
    int value = -1;
    auto [end, ec] = std::from_chars(maximum.data(), maximum.data() + maximum.size(), value);
    const bool number = ec == std::errc() && end == maximum.data() + maximum.size();
    table.maximum = number && value >= 0 && value <= kMaxRuler ? value : int{kMaxRowText};
    for (std::size_t i = 2;
         table.rows.empty() || (i < lines.size() && table.rows.size() < kMaxTextRows); i += 2) {
        table.rows.push_back(
            {Bounded(LineAt(lines, i), kMaxRowText), Bounded(LineAt(lines, i + 1), kMaxRowText)});
    }
    return table;
}

}  // namespace lm::dialogs
