// Files as the core sees them: the part of the platform that reads, writes,
// renames, deletes and lists files. Paths and contents are CP1250 bytes; the
// implementations turn paths into what their system wants (UTF-16 through
// code page 1250 on Windows, the bytes as they are on POSIX) and refuse a path
// they cannot name exactly (too long, a character outside CP1250) with a clear
// reason instead of a truncated path.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lm {

// The outcome of a file operation: ok, or the reason it failed in words a user
// can act on (CP1250).
struct FileStatus {
    bool ok = true;
    std::string reason;

    static FileStatus Ok() { return {}; }
    static FileStatus Failed(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

// A file kept open for appending (the log). Others may read, rename and delete
// the file while it is open; StillNamedBy tells whether its path still names
// this open file, so that the owner can start a new file after such a change.
class AppendFile {
public:
    virtual ~AppendFile() = default;
    // Writes the bytes at the end, unbuffered: they reach the system before
    // the call returns.
    virtual FileStatus Write(std::string_view bytes) = 0;
    // True while `path` names this open file (not deleted, renamed or replaced).
    virtual bool StillNamedBy(const std::string& path) = 0;
    virtual FileStatus Close() = 0;
};

class Files {
public:
    virtual ~Files() = default;

    // True when the path names an existing file (not a folder) that can be
    // opened for reading.
    virtual bool CanBeOpened(const std::string& path) = 0;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadWhole(const std::string& path) = 0;
    // Creates or truncates the file and writes `content` as it stands.
    virtual FileStatus WriteWhole(const std::string& path, std::string_view content) = 0;
    // Appends `bytes`, creating the file when missing.
    virtual FileStatus Append(const std::string& path, std::string_view bytes) = 0;
    // Renames `from` to `to`, replacing an existing `to`.
    virtual FileStatus Rename(const std::string& from, const std::string& to) = 0;
    virtual FileStatus Delete(const std::string& path) = 0;
    // The names (not paths) of the files in a folder, sorted; empty when the
    // folder cannot be read.
    virtual std::vector<std::string> List(const std::string& folder) = 0;
    // Opens the file for appending, creating it when missing, shared so that
    // others may read, rename and delete it. Null with `status` set on failure.
    virtual std::unique_ptr<AppendFile> OpenForAppend(const std::string& path,
                                                      FileStatus& status) = 0;
};

// Writes the whole file so that it is either complete or untouched: the
// content goes to `path` + ".tmp" first, which then replaces `path`. A failure
// removes the temporary file and leaves the earlier file as it was.
FileStatus ReplaceWholeFile(Files& files, const std::string& path, std::string_view content);

// The same for a file written in pieces: the first piece creates `path` +
// ".tmp", the others are appended to it, and Commit puts it in place of
// `path`. After the first failure nothing more is written and Commit reports
// that failure; a replacement given up (not committed) or failed removes its
// temporary file, so the earlier file stays as it was.
class FileReplacement {
public:
    FileReplacement(Files& files, std::string path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void Write(std::string_view bytes);
    FileStatus Commit();

private:
    Files& files_;
    std::string path_, temporary_;
    FileStatus status_;
    bool started_ = false;
    bool done_ = false;
};

// Lines each ended by CR LF, as every text file of the driver is written.
std::string JoinCrLfLines(const std::vector<std::string>& lines);

}  // namespace lm
