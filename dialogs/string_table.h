// The string table as DIALOG.INI hands it between the object dialog and
// TDlgStr: line 1 the title, line 2 the maximum character count, then a name
// line and a text line per row.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace lm::dialogs {

inline constexpr std::size_t kMaxTextRows = 32;
inline constexpr std::size_t kMaxRowText = 40;  // names and texts of the rows
inline constexpr std::size_t kMaxTableTitle = 255;
inline constexpr int kMaxRuler = 255;

struct TextRow {
    std::string name, text;
    bool operator==(const TextRow&) const = default;
};

struct StringTable {
    std::string title;
    int maximum = 0;
    std::vector<TextRow> rows;
};

// Rewrites DIALOG.INI in `driver_dir` whole with the table; names, texts and
// the title are cut to their limits.
FileStatus WriteStringTable(Files& files, const std::string& driver_dir, const StringTable& table);

// Reads DIALOG.INI back: nothing when it cannot be read. Pairs are read to
// the end of the file, at least one (an empty list gives one empty row) and
// at most 32; every line is cut to its limit. A file edited by hand is taken
// as it reads: a maximum that is no number from 0 to 255 counts as 40, the
// longest text a row holds.
std::optional<StringTable> ReadStringTable(Files& files, const std::string& driver_dir);

// The ruler above the texts: the bit numbers for 8 and 16 characters, the
// display columns for 18 and 20, else the digits "1" to "9", "0" repeated.
std::string Ruler(int maximum);

}  // namespace lm::dialogs
