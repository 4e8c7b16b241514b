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
    std::vector<Finding> findings;  // at most 200 a file (see Collector)
    std::size_t errors = 0;         // all of them, shown or not
    std::size_t warnings = 0;
    std::size_t objects = 0;  // the objects read without an error of their own
    std::size_t tools = 0;
};

// `dir` as the user named it; the findings' file names begin with it.
CheckResult CheckDriverDir(const std::string& dir);
// The same through `platform`'s files (the fuzz target's are in memory).
CheckResult CheckDriverDir(lm::Platform& platform, const std::string& dir);

}  // namespace lmcheck
