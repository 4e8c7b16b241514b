// A sectioned settings file (profiles.ini) read and written by the rules of the
// Windows profile functions, on the file's own CP1250 bytes whatever code page
// the machine runs:
// - a line ends at LF (in a file without any LF, at CR); blanks (space, tab,
//   CR, LF, VT, FF and the byte 0x1A) around a line are ignored, and so is an
//   empty line;
// - a line "[name]" opens a section; the name runs to the last ']' of the line;
// - any other line is "key=value", blanks around the key and the value
//   trimmed; a line without '=' is a key without a value;
// - section and key names match without regard to case; of two sections or
//   keys with the same name the first one counts;
// - a value enclosed in a pair of equal quotes (' or ") is read without them;
// - lines may be of any length; a missing file reads as an empty one.
// Writing changes only the line of the key written (or adds one after the
// section's last line, or a new section at the end); every other byte of the
// file stays as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/definition_reader.h"

namespace lm::settings {

class ProfileFile {
public:
    explicit ProfileFile(std::string_view bytes = {});

    // The value of `key` in `section`, or nothing when either is missing or
    // the key's line has no '='. A zero byte ends the value.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // Where the value of `key` in `section` stands (line and column from 1, a
    // line ending where the reading ends it), or nothing when the key is
    // missing.
    std::optional<TextPosition> PlaceOf(std::string_view section, std::string_view key) const;
    struct Place {
        std::uint32_t line = 1;
        std::uint32_t column = 1;
    };

    // A section whose name an earlier section already has (its keys are
    // never read): its name as written, where its header and the first
    // section of that name stand.
    struct DuplicateSection {
        std::string name;
        TextPosition at;
        TextPosition first;
    };
    std::vector<DuplicateSection> DuplicateSections() const;

    // Sets `key` in `section` to `value` (leading blanks dropped, line breaks
    // turned into spaces), creating the key or the section when missing.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // The whole file as it now stands.
    std::string Text() const;

private:
    struct Section {
        std::vector<std::string> lines;  // each with its own line end; lines[0] is the header
        std::unordered_map<std::string, std::size_t> keys;  // folded name -> first line
        std::size_t last_content = 0;                       // the last line that is not blank
    };

    void AddLine(std::string line);
    // Before a line is added after line `line` of section `section`: that
    // line and the ones before it that lack the file's line end get it. In
    // a file with LF the lines after its last LF end at CR; with a line
    // after them that has LF, those CRs would stand inside one line.
    void EndLinesThrough(std::size_t section, std::size_t line);
    Section& NewSection(std::string_view name, std::string header);
    // Where each section's first line stands (counted once, until a Write).
    const std::vector<Place>& SectionStarts() const;

    std::vector<Section> sections_;  // sections_[0]: the lines before the first header
    std::unordered_map<std::string, std::size_t> by_name_;  // folded name -> first section
    mutable std::vector<Place> section_starts_;             // PlaceOf's count, until a Write
    std::string_view line_end_ =
        "\r\n";  // of the lines added: the file's own when it uses CR alone
};

// The name folded for comparisons without regard to case (CP1250 letters too).
std::string FoldCase(std::string_view name);

}  // namespace lm::settings
