#include "tools/lumarsim/project_file.h"

#include <charconv>
#include <map>
#include <utility>

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

std::optional<std::uint8_t> HexByte(std::string_view word) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (ec != std::errc() || end != word.data() + word.size() || word.empty() || word.size() > 2) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// "wire ITEM OTHER_IDENT OTHER_INSTANCE OTHER_ITEM"
bool ParseWire(std::string_view rest, int number, ProjectBlock& block, ProjectError& error) {
    std::optional<std::uint16_t> fields[4];
    for (auto& field : fields) field = Number16(NextWord(rest));
    for (const auto& field : fields) {
        if (!field || !Trim(rest).empty()) {
            error = {number,
                     "a wire needs its item, the other block's ident and instance and the other "
                     "item (0..65535)"};
            return false;
        }
    }
    block.wires.push_back({*fields[0], *fields[1], *fields[2], *fields[3], number});
    return true;
}

// "const ITEM FORM BYTES..." or "const ITEM FORM nil"
bool ParseConst(std::string_view rest, int number, ProjectBlock& block, ProjectError& error) {
    auto item = Number16(NextWord(rest));
    auto form = Number16(NextWord(rest));
    if (!item || !form) {
        error = {number, "a constant needs its item and form (0..65535) and its bytes"};
        return false;
    }
    ProjectConst constant{*item, *form, false, {}};
    for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
        if (word == "nil" && constant.bytes.empty() && Trim(rest).empty()) {
            constant.nil = true;
            break;
        }
        auto byte = HexByte(word);
        if (!byte) {
            error = {number, "a constant's bytes are hexadecimal (00..FF), or the word nil"};
            return false;
        }
        constant.bytes.push_back(*byte);
    }
    const std::size_t limit = constant.form == 1 ? 256 : 65535;
    if (constant.bytes.size() > limit) {
        error = {number, "a constant of form 1 holds at most 256 bytes, others at most 65535"};
        return false;
    }
    block.constants.push_back(std::move(constant));
    return true;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

}  // namespace

std::optional<Project> ParseProject(const std::string& text, ProjectError& error) {
    Project project;
    // Where each block was first given, to refuse it given again.
    std::map<std::pair<std::uint16_t, std::uint16_t>, int> given;
    // Comments since the last fact: the next block's when a block line follows.
    std::vector<std::string> comments;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string_view raw(text.data() + start, end - start);
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
        ++number;
        std::string_view rest = raw;
        std::string_view first = NextWord(rest);
        if (first.empty()) continue;
        if (first.front() == '#') {
            comments.emplace_back(Trim(raw));
            continue;
        }
        if (first != "block" && !project.blocks.empty()) {
            auto& inner = project.blocks.back().inner_comments;
            inner.insert(inner.end(), comments.begin(), comments.end());
            comments.clear();
        }
        if (first == "block") {
            auto ident = Number16(NextWord(rest));
            auto instance = Number16(NextWord(rest));
            if (!ident || !instance || !Trim(rest).empty()) {
                error = {number, "a block needs an object ident and an instance number (0..65535)"};
                return std::nullopt;
            }
            const auto [first_given, added] =
                given.emplace(std::make_pair(*ident, *instance), number);
            if (!added) {
                error = {number, "block " + std::to_string(*ident) + "/" +
                                     std::to_string(*instance) + " given twice (first at line " +
                                     std::to_string(first_given->second) + ")"};
                return std::nullopt;
            }
            project.blocks.push_back(
                {*ident, *instance, number, {}, {}, {}, std::move(comments), {}});
            comments.clear();
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
        } else if (first == "wire" || first == "const") {
            if (project.blocks.empty()) {
                error = {number, "a " + std::string(first) + " before the first block"};
                return std::nullopt;
            }
            ProjectBlock& block = project.blocks.back();
            if (!(first == "wire" ? ParseWire(rest, number, block, error)
                                  : ParseConst(rest, number, block, error))) {
                return std::nullopt;
            }
        } else {
            error = {number, "unknown keyword '" + std::string(first) +
                                 "' (expected block, line, wire or const)"};
            return std::nullopt;
        }
    }
    project.trailing_comments = std::move(comments);
    return project;
}

std::string FormatProject(const Project& project) {
    std::string text;
    const bool own_header = !project.blocks.empty()
                                ? !project.blocks.front().leading_comments.empty()
                                : !project.trailing_comments.empty();
    if (!own_header)
        text = "# lumarsim project: blocks (object ident, instance) and their stored lines\n";
    for (const auto& block : project.blocks) {
        for (const auto& comment : block.leading_comments) text += comment + "\n";
        text +=
            "block " + std::to_string(block.ident) + " " + std::to_string(block.instance) + "\n";
        for (const auto& comment : block.inner_comments) text += comment + "\n";
        for (const auto& line : block.lines) text += "line " + line + "\n";
        for (const auto& w : block.wires) {
            text += "wire " + std::to_string(w.item) + " " + std::to_string(w.other_ident) + " " +
                    std::to_string(w.other_instance) + " " + std::to_string(w.other_item) + "\n";
        }
        for (const auto& c : block.constants) {
            text += "const " + std::to_string(c.item) + " " + std::to_string(c.form) +
                    (c.nil ? std::string(" nil") : HexBytes(c.bytes)) + "\n";
        }
    }
    for (const auto& comment : project.trailing_comments) text += comment + "\n";
    return text;
}

}  // namespace lumarsim
