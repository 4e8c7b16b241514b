// A whole driver directory checked with the driver's own parsers: STARTUP.INI,
// TOOLS.INI and every object file it names, SETCOM.INI and profiles.ini.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/lmcheck/findings.h"

namespace lmcheck {

struct CheckResult {
    std::vector<Finding> findings;  // every error; warnings up to the limit of a file
    std::size_t errors = 0;         // all of them, shown or not
    std::size_t warnings = 0;
    // What the driver loads: the objects read without an error of their own
    // and the tools, up to the file where it stops loading.
    std::size_t objects = 0;
    std::size_t tools = 0;
    // Where the driver stops loading the library ("DIR/TOOLS.INI:30:5"),
    // empty when it loads every file.
    std::string load_stop;
};

struct CheckOptions {
    // The warnings shown for one file; the errors are always all shown.
    std::size_t warnings_per_file = 200;
};

// `dir` as the user named it; the findings' file names begin with it.
CheckResult CheckDriverDir(const std::string& dir, const CheckOptions& options = {});
// The same through `platform`'s files (the fuzz target's are in memory).
CheckResult CheckDriverDir(lm::Platform& platform, const std::string& dir,
                           const CheckOptions& options = {});

}  // namespace lmcheck
