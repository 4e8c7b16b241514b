#include "tools/lumarsim/project_file.h"

#include <charconv>

namespace lumarsim {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    std::size_t end = rest.find_first_of(" \t");
    std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    return word;
}

std::optional<std::uint16_t> Number16(std::string_view word) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || word.empty() || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<Project> ParseProject(const std::string& text, ProjectError& error) {
    Project project;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view raw(text.data() + start, end - start);
        start = end + 1;
        ++number;
        std::string_view rest = raw;
        if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
        std::string_view first = NextWord(rest);
        if (first.empty() || first.front() == '#') continue;
        if (first == "block") {
            auto ident = Number16(NextWord(rest));
            auto instance = Number16(NextWord(rest));
            if (!ident || !instance || !Trim(rest).empty()) {
                error = {number, "a block needs an object ident and an instance number (0..65535)"};
                return std::nullopt;
            }
            project.blocks.push_back({*ident, *instance, number, {}});
        } else if (first == "line") {
            if (project.blocks.empty()) {
                error = {number, "a stored line before the first block"};
                return std::nullopt;
            }
            // The stored line as it stands after "line ", up to the end.
            std::string_view stored = rest.empty() ? rest : rest.substr(1);
            if (stored.size() > 255) {
                error = {number, "a stored line of more than 255 characters"};
                return std::nullopt;
            }
            project.blocks.back().lines.emplace_back(stored);
        } else {
            error = {number,
                     "unknown keyword '" + std::string(first) + "' (expected block or line)"};
            return std::nullopt;
        }
    }
    return project;
}

std::string FormatProject(const Project& project) {
    std::string text =
        "# lumarsim project: blocks (object ident, instance) and their stored lines\n";
    for (const auto& block : project.blocks) {
        text +=
            "block " + std::to_string(block.ident) + " " + std::to_string(block.instance) + "\n";
        for (const auto& line : block.lines) text += "line " + line + "\n";
    }
    return text;
}

}  // namespace lumarsim
