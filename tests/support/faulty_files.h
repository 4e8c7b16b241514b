// Files with faults on request, around the real files of the system: the Nth
// open, write, close, rename or delete of a path fails (once or from then on),
// or a read returns only the first half of the file. A table of FileFault rows
// reads as the test's plan.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace lm::test {

enum class FileOp {
    Open,    // any open: CanBeOpened, ReadWhole, WriteWhole, Append, OpenForAppend
    Write,   // writes half of the bytes, then fails
    Close,   // after writing everything, the close reports a failure
    Rename,  // of the file renamed (`from`)
    Delete,
    ShortRead,  // ReadWhole returns the first half of the file
};

struct FileFault {
    FileOp op;
    const char* path_part;      // the fault hits paths that contain this text
    int nth = 1;                // the nth such operation from the time the fault is added
    bool from_then_on = false;  // and every one after it
};

// The reason a failed operation gives.
std::string InjectedReason(FileOp op);

class FaultyFiles : public Files {
public:
    explicit FaultyFiles(Files& real) : real_(real) {}

    void Add(const FileFault& fault) { faults_.push_back({fault, fault.path_part, 0}); }
    void Clear() { faults_.clear(); }
    // Operations of a kind seen so far (faulty or not) on paths containing `path_part`.
    int Seen(FileOp op, const std::string& path_part) const;
    // Operations of a kind made to fail so far.
    int Hits(FileOp op) const {
        auto it = hits_.find(op);
        return it == hits_.end() ? 0 : it->second;
    }

    bool CanBeOpened(const std::string& path) override;
    std::optional<std::string> ReadWhole(const std::string& path) override;
    FileStatus WriteWhole(const std::string& path, std::string_view content) override;
    FileStatus Append(const std::string& path, std::string_view bytes) override;
    FileStatus Rename(const std::string& from, const std::string& to) override;
    FileStatus Delete(const std::string& path) override;
    std::vector<std::string> List(const std::string& folder) override { return real_.List(folder); }
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path, FileStatus& status) override;

    // The content of the last whole write to `path` that succeeded (directly
    // or through a file renamed to it); null when there was none.
    const std::string* LastComplete(const std::string& path) const;

    // True when this operation on `path` is to fail; counts it.
    bool Hit(FileOp op, const std::string& path);

private:
    // One write of a whole file or an appended piece, with the faults of
    // writing and closing.
    FileStatus Written(const std::string& path, std::string_view bytes,
                       FileStatus (Files::*write)(const std::string&, std::string_view));

    struct Armed {
        FileFault fault;
        std::string path_part;
        int seen = 0;
    };
    Files& real_;
    std::vector<Armed> faults_;
    std::map<std::pair<FileOp, std::string>, int> seen_;
    std::map<FileOp, int> hits_;
    std::map<std::string, std::string> complete_;
};

}  // namespace lm::test
