#include "platform/files.h"

namespace lm {

FileStatus ReplaceWholeFile(Files& files, const std::string& path, std::string_view content) {
    const std::string temporary = path + ".tmp";
    FileStatus written = files.WriteWhole(temporary, content);
    if (written) written = files.Rename(temporary, path);
    if (!written) files.Delete(temporary);
    return written;
}

std::string JoinCrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace lm
