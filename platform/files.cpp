#include "platform/files.h"

namespace lm {

FileStatus ReplaceWholeFile(Files& files, const std::string& path, std::string_view content) {
    const std::string temporary = path + ".tmp";
    FileStatus status = files.WriteWhole(temporary, content);
    if (status) status = files.Rename(temporary, path);
    // The temporary file may hold part of the content; the earlier file is
    // untouched either way.
    if (!status) files.Delete(temporary);
    return status;
}

std::string JoinCrLfLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string content;
    content.reserve(size);
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

}  // namespace lm
