// The start-up options in STARTUP.INI: hide the driver window, open its status
// part, write the log. The file is replaced whole, so a failed write leaves the
// earlier file as it was. The start-up options dialog takes and returns them
// in DIALOG.INI (dialogs/dialog_ini.h, which holds their record).
#pragma once

#include <string>

#include "base/log_sink.h"
#include "dialogs/dialog_ini.h"
#include "library/load_problems.h"
#include "platform/files.h"

namespace lm {

using dialogs::StartupOptions;

inline constexpr const char kStartupFileName[] = "STARTUP.INI";

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

}  // namespace lm
