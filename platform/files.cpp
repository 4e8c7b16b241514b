#include "platform/files.h"

namespace lm {

FileStatus ReplaceWholeFile(Files& files, const std::string& path, std::string_view content) {
    FileReplacement replacement(files, path);
    replacement.Write(content);
    return replacement.Commit();
}

FileReplacement::FileReplacement(Files& files, std::string path)
    : files_(files), path_(std::move(path)), temporary_(path_ + ".tmp") {}

FileReplacement::~FileReplacement() {
    // Given up part way: the temporary file may hold part of the content.
    if (started_ && !done_) files_.Delete(temporary_);
}

void FileReplacement::Write(std::string_view bytes) {
    if (!status_ || done_) return;
    status_ = started_ ? files_.Append(temporary_, bytes) : files_.WriteWhole(temporary_, bytes);
    started_ = true;
}

FileStatus FileReplacement::Commit() {
    if (done_) return status_;
    if (!started_) Write({});
    if (status_) status_ = files_.Rename(temporary_, path_);
    // The temporary file may hold part of the content; the earlier file is
    // untouched either way.
    if (!status_) files_.Delete(temporary_);
    done_ = true;
    return status_;
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
