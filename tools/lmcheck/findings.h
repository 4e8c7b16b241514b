// The findings of a driver directory check and the forms they are printed in:
// one line each as compilers write them, or one JSON array for tools.
#pragma once

#include <string>
#include <vector>

#include "library/load_problems.h"

namespace lmcheck {

struct Finding {
    std::string file;  // as shown: the driver directory as given + the file's name, UTF-8
    lm::TextPosition position;
    lm::Severity severity = lm::Severity::Error;
    std::string code;
    std::string driver_message;  // the driver's own text, UTF-8; empty when it has none
    std::string explanation;     // English
};

// FILE:LINE:COL: error: DRIVER MESSAGE -- EXPLANATION [code]
// (without " -- " and the driver's message when it has none).
std::string FormatLine(const Finding& finding);

// [{"file":..., "line":..., "column":..., "severity":..., "code":...,
//   "message":..., "driver_message":..., "explanation":...}, ...]
std::string FormatJson(const std::vector<Finding>& findings);

// 2 with errors, 1 with warnings only when `strict`, else 0.
int ExitCode(std::size_t errors, std::size_t warnings, bool strict);

}  // namespace lmcheck
