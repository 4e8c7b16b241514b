// DIALOG.INI in the driver directory: the scratch file through which the
// driver hands a dialog its parameters and takes its results back. The caller
// rewrites it whole just before it shows the dialog; a dialog that returns
// results rewrites it whole before it closes, and the caller then reads it.
// One value a line, CR LF. Each dialog has its own layout: the start-up
// options (both ways), the about dialog (to the dialog) and the string table
// (both ways). Every layout is written through a temporary file that then
// replaces DIALOG.INI, so a failed write leaves the earlier file whole
// instead of half a layout.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace lm::dialogs {

inline constexpr const char kDialogFileName[] = "DIALOG.INI";
// The label table's name when none is loaded (the driver loads none): line 2
// of the about layout, and the LAB value of STARTUP.INI.
inline constexpr const char kNoLabelTable[] = "(no_lab)";

// The start-up options: hide the driver window, open its status part, write
// the log.
struct StartupOptions {
    bool hide_dialog = false;
    bool status_dialog = false;
    bool log_file = false;
    bool operator==(const StartupOptions&) const = default;
};

// The start-up options layout: three lines "1"/"0" for hide dialog, status
// dialog and log file.
FileStatus WriteStartupDialogFile(Files& files, const std::string& driver_dir,
                                  const StartupOptions& options);
// Reads the three lines back; a value counts as on only when it is the number 1.
// Missing lines read as off; nothing when the file cannot be read.
std::optional<StartupOptions> ReadStartupDialogFile(Files& files, const std::string& driver_dir);

// The about layout: the identification text (its line breaks become spaces,
// so that it stays line 1) and the label table's file name, "(no_lab)" when
// none is loaded.
FileStatus WriteAboutDialogFile(Files& files, const std::string& driver_dir,
                                std::string_view identification, std::string_view label_table);
struct AboutHandOver {
    std::string identification;
    std::string label_table;  // empty when none is loaded
};
// Reads the two lines (each at most 255 characters); a missing file or line
// reads as empty, and so does the label table "(no_lab)".
AboutHandOver ReadAboutDialogFile(Files& files, const std::string& driver_dir);

// The string table layout: line 1 the title, line 2 the maximum character
// count, then a name line and a text line per row.
inline constexpr std::size_t kMaxTextRows = 32;
inline constexpr std::size_t kMaxRowText = 40;  // names and texts of the rows
inline constexpr std::size_t kMaxTableTitle = 255;
// The largest maximum character count: the ruler's longest.
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

}  // namespace lm::dialogs
