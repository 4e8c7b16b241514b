// The start-up options in STARTUP.INI (hide the driver window, open its status
// part, write the log) and the scratch file DIALOG.INI through which the
// start-up options dialog takes and returns them. Both files are replaced
// whole, so a failed write leaves the earlier file as it was.
#pragma once

#include <optional>
#include <string>

#include "base/log_sink.h"
#include "library/load_problems.h"
#include "platform/files.h"

namespace lm {

struct StartupOptions {
    bool hide_dialog = false;
    bool status_dialog = false;
    bool log_file = false;
    bool operator==(const StartupOptions&) const = default;
};

inline constexpr const char kStartupFileName[] = "STARTUP.INI";
inline constexpr const char kDialogFileName[] = "DIALOG.INI";
inline constexpr const char kNoLabelTable[] = "(no_lab)";

// Reads DriverDir + STARTUP.INI into `options` and `label` (at most
// `label_limit` characters). Keywords may come in any order; a value other
// than ON or OFF stops the reading and gives false, keeping what was read
// before it. False too when the file cannot be opened. With `problems` the
// file is checked: every bad value and unknown word is reported and the
// reading goes on. Input that ends inside a comment gives false too, with
// the log line "STARTUP.INI ERROR: FILE:LINE:COL: ..." and the comment's
// place in `unclosed_comment`.
bool LoadStartup(Files& files, const std::string& driver_dir, std::string& label,
                 std::size_t label_limit, StartupOptions& options, LogSink& log,
                 LoadProblems* problems = nullptr, TextPosition* unclosed_comment = nullptr);

// Rewrites DriverDir + STARTUP.INI with the four lines of the options.
FileStatus SaveStartup(Files& files, const std::string& driver_dir, const std::string& label,
                       const StartupOptions& options);

// DIALOG.INI for the start-up options dialog: three lines "1"/"0" for hide
// dialog, status dialog and log file.
FileStatus WriteStartupDialogFile(Files& files, const std::string& driver_dir,
                                  const StartupOptions& options);
// Reads the three lines back; a value counts as on only when it is the number 1.
// Missing lines read as off; nothing when the file cannot be read.
std::optional<StartupOptions> ReadStartupDialogFile(Files& files, const std::string& driver_dir);

}  // namespace lm
