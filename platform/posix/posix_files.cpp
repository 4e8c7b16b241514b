// Files on POSIX systems. Paths are handed to the system as the bytes they
// are; a path with a zero byte or longer than PATH_MAX is refused.
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <system_error>

#include "base/cp1250.h"
#include "platform/system_files.h"

namespace lm {
namespace {

FileStatus SystemError(int error) {
    return FileStatus::Failed(std::generic_category().message(error) + ".");
}

FileStatus LastError() {
    return SystemError(errno);
}

FileStatus Check(const std::string& path) {
    return CheckPathShape(path, PATH_MAX - 1);
}

// A file descriptor that closes itself; Close() reports the system's answer.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    FileStatus Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? FileStatus::Ok() : LastError();
    }

private:
    int fd_;
};

Descriptor Open(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return Descriptor(fd);
}

// Writes every byte, going on after a partial write or an interruption.
FileStatus WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return FileStatus::Ok();
}

bool IsRegularFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// A FIFO, a folder, a device: what a read must never open (opening a FIFO
// waits for a writer for ever, a device may be a port).
FileStatus NotAFile() {
    return FileStatus::Failed("Cesta nepojmenovává soubor (je to složka, roura nebo zařízení)."_cp);
}

// Opens an existing plain file for reading. What the path names is looked
// at before it is opened: anything but a plain file is refused unopened (a
// link is followed; one that leads nowhere is missing). The open itself does
// not wait (a FIFO put in the file's place meanwhile is refused after it).
Descriptor OpenFileToRead(const std::string& path, FileStatus& status) {
    status = Check(path);
    if (!status) return Descriptor(-1);
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        status = LastError();
        return Descriptor(-1);
    }
    if (!S_ISREG(named.st_mode)) {
        status = NotAFile();
        return Descriptor(-1);
    }
    Descriptor file = Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (!file.valid()) {
        status = LastError();
    } else if (!IsRegularFile(file.get())) {
        status = NotAFile();
        return Descriptor(-1);
    }
    return file;
}

// Before a write opens the path: what is there must be a plain file, or
// nothing (a write to a FIFO would wait for a reader for ever).
FileStatus CheckWritable(const std::string& path) {
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) return NotAFile();
    return FileStatus::Ok();
}

// Opens, writes and closes; the first failure is the answer.
FileStatus WriteFile(const std::string& path, int flags, std::string_view bytes) {
    if (FileStatus shape = Check(path); !shape) return shape;
    if (FileStatus kind = CheckWritable(path); !kind) return kind;
    Descriptor file = Open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | flags);
    if (!file.valid()) return LastError();
    if (!IsRegularFile(file.get())) return NotAFile();
    FileStatus written = WriteAll(file.get(), bytes);
    FileStatus closed = file.Close();
    return written ? closed : written;
}

// Counts the changes of names (created, deleted, renamed) in a folder. One
// watch serves every file opened in the folder and lives with the files
// object: closing a watch makes the system wait for a grace period, too long
// to pay for every host call. Without a watch every question is a change.
class FolderWatch {
public:
    explicit FolderWatch(std::string folder)
        : folder_(std::move(folder)), watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        Watch();
    }

    // The changes so far; a reader compares them with what it saw last.
    std::uint64_t Changes() {
        if (!watching_ && !Watch()) return ++changes_;
        alignas(inotify_event) char events[4096];
        while (true) {
            const ssize_t n = ::read(watch_.get(), events, sizeof events);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) return changes_;
            ++changes_;
            if (n <= 0) return changes_;
            // The folder itself gone or moved ends the watch; the next
            // question watches what then has its name.
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->mask & (IN_IGNORED | IN_Q_OVERFLOW | IN_MOVE_SELF)) Unwatch();
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    bool Watch() {
        constexpr std::uint32_t kChanges =
            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MOVE_SELF | IN_DELETE_SELF;
        if (watch_.valid())
            watch_id_ = ::inotify_add_watch(watch_.get(), folder_.c_str(), kChanges);
        watching_ = watch_.valid() && watch_id_ >= 0;
        return watching_;
    }
    void Unwatch() {
        if (watching_) ::inotify_rm_watch(watch_.get(), watch_id_);
        watching_ = false;
    }

    std::string folder_;
    Descriptor watch_;
    int watch_id_ = -1;
    bool watching_ = false;
    std::uint64_t changes_ = 0;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The log's file. Whether its path still names it is the path's device and
// inode against the open file's; the folder's watch spares that lookup while
// no name in the folder has changed. (A folder higher up renamed while the
// file is open goes unnoticed until the file is opened again; the log closes
// its file after every host call.)
class PosixAppendFile : public AppendFile {
public:
    PosixAppendFile(Descriptor file, const struct stat& info, std::string path,
                    std::shared_ptr<FolderWatch> folder)
        : file_(std::move(file)),
          device_(info.st_dev),
          inode_(info.st_ino),
          path_(std::move(path)),
          folder_(std::move(folder)) {}

    FileStatus Write(std::string_view bytes) override {
        if (!file_.valid()) return FileStatus::Failed("Soubor je zavřen."_cp);
        return WriteAll(file_.get(), bytes);
    }

    bool StillNamedBy(const std::string& path) override {
        if (!file_.valid()) return false;
        // The first question looks at the path: it may have changed before
        // the file was opened.
        const std::uint64_t changes = folder_->Changes();
        if (looked_ && changes == seen_ && path == path_) return named_;
        struct stat named {};
        const bool same =
            ::stat(path.c_str(), &named) == 0 && named.st_dev == device_ && named.st_ino == inode_;
        if (path == path_) {
            looked_ = true;
            seen_ = changes;
            named_ = same;
        }
        return same;
    }

    FileStatus Close() override {
        if (!file_.valid()) return FileStatus::Ok();
        return file_.Close();
    }

private:
    Descriptor file_;
    dev_t device_;
    ino_t inode_;
    std::string path_;
    std::shared_ptr<FolderWatch> folder_;
    std::uint64_t seen_ = 0;  // the folder's changes when the path was last looked at
    bool looked_ = false;
    bool named_ = false;  // what that look found
};

class PosixFiles : public Files {
public:
    bool CanBeOpened(const std::string& path) override {
        FileStatus status;
        Descriptor file = OpenFileToRead(path, status);
        return file.valid() && file.Close();
    }

    std::optional<std::string> ReadWhole(const std::string& path) override {
        FileStatus status;
        Descriptor file = OpenFileToRead(path, status);
        if (!file.valid()) return std::nullopt;
        std::string content;
        char buffer[16384];
        while (true) {
            const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                return std::nullopt;
            }
            content.append(buffer, static_cast<std::size_t>(n));
        }
        return content;
    }

    FileStatus WriteWhole(const std::string& path, std::string_view content) override {
        return WriteFile(path, O_TRUNC, content);
    }

    FileStatus Append(const std::string& path, std::string_view bytes) override {
        return WriteFile(path, O_APPEND, bytes);
    }

    FileStatus Rename(const std::string& from, const std::string& to) override {
        if (FileStatus shape = Check(from); !shape) return shape;
        if (FileStatus shape = Check(to); !shape) return shape;
        return ::rename(from.c_str(), to.c_str()) == 0 ? FileStatus::Ok() : LastError();
    }

    FileStatus Delete(const std::string& path) override {
        if (FileStatus shape = Check(path); !shape) return shape;
        return ::unlink(path.c_str()) == 0 ? FileStatus::Ok() : LastError();
    }

    std::vector<std::string> List(const std::string& folder) override {
        std::vector<std::string> names;
        if (!Check(folder)) return names;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return names;
        while (const dirent* entry = ::readdir(dir)) {
            struct stat info {};
            if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path,
                                              FileStatus& status) override {
        status = Check(path);
        if (status) status = CheckWritable(path);
        if (!status) return nullptr;
        Descriptor file = Open(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY);
        struct stat info {};
        if (!file.valid() || ::fstat(file.get(), &info) != 0) {
            status = LastError();
            return nullptr;
        }
        if (!S_ISREG(info.st_mode)) {
            status = NotAFile();
            return nullptr;
        }
        std::shared_ptr<FolderWatch>& folder = watches_[FolderOf(path)];
        if (!folder) folder = std::make_shared<FolderWatch>(FolderOf(path));
        return std::make_unique<PosixAppendFile>(std::move(file), info, path, folder);
    }

private:
    std::map<std::string, std::shared_ptr<FolderWatch>> watches_;
};

}  // namespace

std::unique_ptr<Files> MakeSystemFiles() {
    return std::make_unique<PosixFiles>();
}

}  // namespace lm
