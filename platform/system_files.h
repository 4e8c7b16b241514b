// The files of the system the build runs on: POSIX on Linux, the wide Win32
// API on Windows. Each build compiles exactly one implementation.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/files.h"

namespace lm {

std::unique_ptr<Files> MakeSystemFiles();

// The checks every implementation makes before it hands a path to its system:
// not empty, no zero byte (the system would cut the path there), at most
// `max_length` characters. Ok, or the reason the path cannot be used.
FileStatus CheckPathShape(const std::string& path, std::size_t max_length);

}  // namespace lm
