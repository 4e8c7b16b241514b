// A whole driver directory checked with the driver's own parsers: STARTUP.INI,
// TOOLS.INI and every object file it names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/lmcheck/findings.h"

namespace lmcheck {

struct CheckResult {
    std::vector<Finding> findings;
    std::size_t objects = 0;  // the objects the driver would load
    std::size_t tools = 0;
};

// `dir` as the user named it; the findings' file names begin with it.
CheckResult CheckDriverDir(const std::string& dir);

}  // namespace lmcheck
