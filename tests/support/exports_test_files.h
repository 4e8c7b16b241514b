// An in-memory Files for the export tests and benchmarks: a map of paths to
// contents, with faults injected by path (a write or a rename that fails).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace lm::test {

class ExportsTestFiles : public Files {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> failing_writes;   // WriteWhole of these paths fails
    std::set<std::string> failing_renames;  // Rename to these paths fails
    std::set<std::string> failing_appends;  // Append to these paths fails
    // "write PATH", "append PATH", "rename FROM TO", "delete PATH"
    std::vector<std::string> operations;

    bool CanBeOpened(const std::string& path) override { return files.contains(path); }
    std::optional<std::string> ReadWhole(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    FileStatus WriteWhole(const std::string& path, std::string_view content) override {
        operations.push_back("write " + path);
        if (failing_writes.contains(path)) return FileStatus::Failed("disk full");
        files[path] = std::string(content);
        return FileStatus::Ok();
    }
    FileStatus Append(const std::string& path, std::string_view bytes) override {
        operations.push_back("append " + path);
        if (failing_appends.contains(path)) return FileStatus::Failed("disk full");
        files[path] += bytes;
        return FileStatus::Ok();
    }
    FileStatus Rename(const std::string& from, const std::string& to) override {
        operations.push_back("rename " + from + " " + to);
        auto it = files.find(from);
        if (it == files.end()) return FileStatus::Failed("no such file");
        if (failing_renames.contains(to)) return FileStatus::Failed("access denied");
        files[to] = std::move(it->second);
        files.erase(from);
        return FileStatus::Ok();
    }
    FileStatus Delete(const std::string& path) override {
        operations.push_back("delete " + path);
        files.erase(path);
        return FileStatus::Ok();
    }
    std::vector<std::string> List(const std::string&) override { return {}; }
    std::unique_ptr<AppendFile> OpenForAppend(const std::string&, FileStatus& status) override {
        status = FileStatus::Failed("not supported");
        return nullptr;
    }
};

}  // namespace lm::test
