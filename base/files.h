// Plain files, the only OS access the core has. Paths and contents are CP1250
// bytes; lines end with CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lm {

// True when the path is not empty and the file can be opened for reading.
bool FileCanBeOpened(const std::string& path);

// Appends `line` and CR LF, creating the file when missing. False when the
// file cannot be opened or written.
bool AppendLine(const std::string& path, std::string_view line);

// Rewrites the whole file with `lines`, each ended by CR LF.
bool RewriteLines(const std::string& path, const std::vector<std::string>& lines);

// Rewrites the whole file with `content` as it stands.
bool RewriteFile(const std::string& path, std::string_view content);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Removes the file; false when it could not be removed.
bool DeleteFileAt(const std::string& path);

}  // namespace lm
