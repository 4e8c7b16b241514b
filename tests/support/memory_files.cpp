#include "tests/support/memory_files.h"

namespace lm::test {
namespace {

class MemoryAppendFile : public AppendFile {
public:
    MemoryAppendFile(MemoryFiles& files, std::string path)
        : files_(files), path_(std::move(path)) {}
    FileStatus Write(std::string_view bytes) override { return files_.Append(path_, bytes); }
    bool StillNamedBy(const std::string& path) override {
        return path == path_ && files_.Exists(path);
    }
    FileStatus Close() override { return FileStatus::Ok(); }

private:
    MemoryFiles& files_;
    std::string path_;
};

}  // namespace

bool MemoryFiles::CanBeOpened(const std::string& path) {
    return Exists(path);
}

std::optional<std::string> MemoryFiles::ReadWhole(const std::string& path) {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    ++reads;
    return it->second;
}

FileStatus MemoryFiles::WriteWhole(const std::string& path, std::string_view content) {
    if (read_only.count(path) != 0) return FileStatus::Failed(path + " is read-only");
    ++writes;
    files[path] = std::string(content);
    return FileStatus::Ok();
}

FileStatus MemoryFiles::Append(const std::string& path, std::string_view bytes) {
    if (read_only.count(path) != 0) return FileStatus::Failed(path + " is read-only");
    files[path] += bytes;
    return FileStatus::Ok();
}

FileStatus MemoryFiles::Rename(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end()) return FileStatus::Failed(from + " does not exist");
    if (read_only.count(to) != 0) return FileStatus::Failed(to + " is read-only");
    files[to] = std::move(it->second);
    files.erase(from);
    return FileStatus::Ok();
}

FileStatus MemoryFiles::Delete(const std::string& path) {
    if (read_only.count(path) != 0) return FileStatus::Failed(path + " is read-only");
    return files.erase(path) != 0 ? FileStatus::Ok() : FileStatus::Failed(path + " is missing");
}

std::vector<std::string> MemoryFiles::List(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& [path, content] : files) {
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            path.find_first_of("/\\", folder.size()) == std::string::npos) {
            names.push_back(path.substr(folder.size()));
        }
    }
    return names;
}

std::unique_ptr<AppendFile> MemoryFiles::OpenForAppend(const std::string& path,
                                                       FileStatus& status) {
    status = Append(path, "");
    if (!status) return nullptr;
    return std::make_unique<MemoryAppendFile>(*this, path);
}

std::string MemoryFiles::operator[](const std::string& path) const {
    auto it = files.find(path);
    return it == files.end() ? std::string() : it->second;
}

}  // namespace lm::test
