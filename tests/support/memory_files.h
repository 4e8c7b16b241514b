// Files in memory for the tests: a map from path to content, with counts of
// what was read and written and paths that refuse writing.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/files.h"

namespace lm::test {

class MemoryFiles : public Files {
public:
    bool CanBeOpened(const std::string& path) override;
    std::optional<std::string> ReadWhole(const std::string& path) override;
    FileStatus WriteWhole(const std::string& path, std::string_view content) override;
    FileStatus Append(const std::string& path, std::string_view bytes) override;
    FileStatus Rename(const std::string& from, const std::string& to) override;
    FileStatus Delete(const std::string& path) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path, FileStatus& status) override;

    // The content of a file, "" when missing.
    std::string operator[](const std::string& path) const;
    bool Exists(const std::string& path) const { return files.count(path) != 0; }

    std::map<std::string, std::string> files;
    std::set<std::string> read_only;  // writing, renaming onto or deleting these fails
    int reads = 0;
    int writes = 0;
};

}  // namespace lm::test
