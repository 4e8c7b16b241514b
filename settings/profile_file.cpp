#include "settings/profile_file.h"

namespace lm::settings {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A key line split at its first '=': the name and, when there is a '=', the value.
struct KeyLine {
    std::string_view name;
    std::optional<std::string_view> value;
};

KeyLine SplitKeyLine(std::string_view content) {
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) return {content, std::nullopt};
    return {Trim(content.substr(0, eq)), Trim(content.substr(eq + 1))};
}

// The lower-case CP1250 letter of an upper-case one, any other byte as it is.
unsigned char Lower(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A:  // Š Ś Ť Ž Ź
        case 0x8C:
        case 0x8D:
        case 0x8E:
        case 0x8F:
            return static_cast<unsigned char>(c + 0x10);
        case 0xA3:  // Ł
            return 0xB3;
        case 0xA5:  // Ą
            return 0xB9;
        case 0xAA:  // Ş
            return 0xBA;
        case 0xAF:  // Ż
            return 0xBF;
        case 0xBC:  // Ľ
            return 0xBE;
        default:
            break;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    return c;
}

}  // namespace

std::string FoldCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return folded;
}

ProfileFile::ProfileFile(std::string_view bytes) {
    sections_.emplace_back();
    sections_.back().lines.emplace_back();  // the lines before the first header have none
    // A line ends at the next LF, or where the rest has no LF at the next CR.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.find('\r', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        AddLine(std::string(bytes.substr(start, end - start)));
        start = end;
    }
    if (bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos) {
        line_end_ = "\r";
    }
}

void ProfileFile::EndLinesThrough(std::size_t section, std::size_t line) {
    // Only the lines after the file's last LF can lack the file's line end,
    // so the walk back stops at the first line that has it.
    for (;;) {
        std::string& text = sections_[section].lines[line];
        if (!text.empty()) {
            if (text.back() == line_end_.back()) return;
            text += text.back() == '\r' ? std::string_view("\n") : line_end_;
        }
        if (line > 0) {
            --line;
        } else if (section > 0) {
            --section;
            line = sections_[section].lines.size() - 1;
        } else {
            return;
        }
    }
}

void ProfileFile::AddLine(std::string line) {
    const std::string_view content = Trim(line);
    if (content.size() > 1 && content.front() == '[') {
        const std::size_t close = content.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            NewSection(content.substr(1, close - 1), std::move(line));
            return;
        }
    }
    Section& section = sections_.back();
    if (!content.empty()) {
        section.keys.try_emplace(FoldCase(SplitKeyLine(content).name), section.lines.size());
        section.last_content = section.lines.size();
    }
    section.lines.push_back(std::move(line));
}

ProfileFile::Section& ProfileFile::NewSection(std::string_view name, std::string header) {
    by_name_.try_emplace(FoldCase(name), sections_.size());
    Section& section = sections_.emplace_back();
    section.lines.push_back(std::move(header));
    return section;
}

std::optional<std::string> ProfileFile::Read(std::string_view section_name,
                                             std::string_view key) const {
    const std::string folded = FoldCase(Trim(section_name));
    const Section* section = &sections_.front();
    if (!folded.empty()) {
        auto found = by_name_.find(folded);
        if (found == by_name_.end()) return std::nullopt;
        section = &sections_[found->second];
    }
    auto line = section->keys.find(FoldCase(Trim(key)));
    if (line == section->keys.end()) return std::nullopt;
    std::optional<std::string_view> value = SplitKeyLine(Trim(section->lines[line->second])).value;
    if (!value) return std::nullopt;
    std::string_view text = value->substr(0, value->find('\0'));
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

namespace {

// Moves `at` over `bytes` (lines of the file, or the start of one): a LF, or
// a CR that ends a line (a file with CR line ends), begins a new line.
void Advance(ProfileFile::Place& at, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' || (c == '\r' && i + 1 == bytes.size())) {
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
    }
}

}  // namespace

std::optional<TextPosition> ProfileFile::PlaceOf(std::string_view section_name,
                                                 std::string_view key) const {
    const std::string folded = FoldCase(Trim(section_name));
    std::size_t index = 0;
    if (!folded.empty()) {
        auto found = by_name_.find(folded);
        if (found == by_name_.end()) return std::nullopt;
        index = found->second;
    }
    const Section& section = sections_[index];
    auto line = section.keys.find(FoldCase(Trim(key)));
    if (line == section.keys.end()) return std::nullopt;
    Place at = SectionStarts()[index];
    for (std::size_t i = 0; i < line->second; ++i) Advance(at, section.lines[i]);
    // The value's first character; the key's when there is no value.
    const std::string& text = section.lines[line->second];
    constexpr const char kBlanks[] = " \t\v\f\x1A";
    std::size_t column = text.find('=');
    if (column == std::string::npos) {
        column = text.find_first_not_of(kBlanks);
    } else {
        const std::size_t value = text.find_first_not_of(kBlanks, column + 1);
        if (value != std::string::npos && text[value] != '\r' && text[value] != '\n') {
            column = value;
        }
    }
    Advance(at, std::string_view(text).substr(0, column == std::string::npos ? 0 : column));
    return TextPosition{at.line, at.column};
}

const std::vector<ProfileFile::Place>& ProfileFile::SectionStarts() const {
    // Counted once for all the places asked for.
    if (section_starts_.size() != sections_.size()) {
        section_starts_.clear();
        Place at;
        for (const Section& each : sections_) {
            section_starts_.push_back(at);
            for (const std::string& text : each.lines) Advance(at, text);
        }
    }
    return section_starts_;
}

std::vector<ProfileFile::DuplicateSection> ProfileFile::DuplicateSections() const {
    std::vector<DuplicateSection> duplicates;
    const std::vector<Place>& starts = SectionStarts();
    for (std::size_t index = 1; index < sections_.size(); ++index) {
        const std::string_view header = Trim(sections_[index].lines.front());
        const std::string_view name = header.substr(1, header.rfind(']') - 1);
        const std::size_t first = by_name_.at(FoldCase(name));
        if (first == index) continue;
        auto place = [&](std::size_t i) {
            const std::string& line = sections_[i].lines.front();
            const auto column = static_cast<std::uint32_t>(line.find('[') + 1);
            return TextPosition{starts[i].line, starts[i].column - 1 + column};
        };
        duplicates.push_back({std::string(name), place(index), place(first)});
    }
    return duplicates;
}

void ProfileFile::Write(std::string_view section_name, std::string_view key,
                        std::string_view value) {
    section_starts_.clear();
    std::string text(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    text.erase(0, std::min(text.size(), text.find_first_not_of(" \t\v\f\x1A")));

    const std::string folded_section = FoldCase(Trim(section_name));
    Section* section = &sections_.front();
    if (!folded_section.empty()) {
        auto found = by_name_.find(folded_section);
        if (found != by_name_.end()) {
            section = &sections_[found->second];
        } else {
            EndLinesThrough(sections_.size() - 1, sections_.back().lines.size() - 1);
            std::string header(1, '[');
            header.append(Trim(section_name));
            header += ']';
            header += line_end_;
            section = &NewSection(Trim(section_name), std::move(header));
        }
    }

    const std::string folded_key = FoldCase(Trim(key));
    auto existing = section->keys.find(folded_key);
    if (existing != section->keys.end()) {
        std::string& old = section->lines[existing->second];
        const KeyLine parts = SplitKeyLine(Trim(old));
        if (parts.value && *parts.value == text) return;
        std::string ending;
        while (!old.empty() && (old.back() == '\r' || old.back() == '\n')) {
            ending.insert(ending.begin(), old.back());
            old.pop_back();
        }
        std::string line(parts.name);
        line += '=';
        line += text;
        line += ending;
        old = std::move(line);
        return;
    }
    EndLinesThrough(static_cast<std::size_t>(section - sections_.data()), section->last_content);
    const std::size_t at = section->last_content + 1;
    std::string added(Trim(key));
    added += '=';
    added += text;
    added += line_end_;
    section->lines.insert(section->lines.begin() + static_cast<std::ptrdiff_t>(at),
                          std::move(added));
    section->keys.emplace(folded_key, at);
    section->last_content = at;
}

std::string ProfileFile::Text() const {
    std::size_t size = 0;
    for (const Section& section : sections_) {
        for (const std::string& line : section.lines) size += line.size();
    }
    std::string text;
    text.reserve(size);
    for (const Section& section : sections_) {
        for (const std::string& line : section.lines) text += line;
    }
    return text;
}

}  // namespace lm::settings
