// Files on POSIX systems. Paths are handed to the system as the bytes they
// are; a path with a zero byte or longer than PATH_MAX is refused.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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

// Opens, writes and closes; the first failure is the answer.
FileStatus WriteFile(const std::string& path, int flags, std::string_view bytes) {
    if (FileStatus shape = Check(path); !shape) return shape;
    Descriptor file = Open(path, O_WRONLY | O_CREAT | flags);
    if (!file.valid()) return LastError();
    FileStatus written = WriteAll(file.get(), bytes);
    FileStatus closed = file.Close();
    return written ? closed : written;
}

bool IsRegularFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

class PosixAppendFile : public AppendFile {
public:
    PosixAppendFile(Descriptor file, dev_t device, ino_t inode)
        : file_(std::move(file)), device_(device), inode_(inode) {}

    FileStatus Write(std::string_view bytes) override {
        if (!file_.valid()) return FileStatus::Failed("Soubor je zavřen."_cp);
        return WriteAll(file_.get(), bytes);
    }

    bool StillNamedBy(const std::string& path) override {
        struct stat named {};
        return file_.valid() && ::stat(path.c_str(), &named) == 0 && named.st_dev == device_ &&
               named.st_ino == inode_;
    }

    FileStatus Close() override {
        if (!file_.valid()) return FileStatus::Ok();
        return file_.Close();
    }

private:
    Descriptor file_;
    dev_t device_;
    ino_t inode_;
};

class PosixFiles : public Files {
public:
    bool CanBeOpened(const std::string& path) override {
        if (!Check(path)) return false;
        Descriptor file = Open(path, O_RDONLY);
        return file.valid() && IsRegularFile(file.get()) && file.Close();
    }

    std::optional<std::string> ReadWhole(const std::string& path) override {
        if (!Check(path)) return std::nullopt;
        Descriptor file = Open(path, O_RDONLY);
        if (!file.valid() || !IsRegularFile(file.get())) return std::nullopt;
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
        if (!status) return nullptr;
        Descriptor file = Open(path, O_WRONLY | O_CREAT | O_APPEND);
        struct stat info {};
        if (!file.valid() || ::fstat(file.get(), &info) != 0) {
            status = LastError();
            return nullptr;
        }
        return std::make_unique<PosixAppendFile>(std::move(file), info.st_dev, info.st_ino);
    }
};

}  // namespace

std::unique_ptr<Files> MakeSystemFiles() {
    return std::make_unique<PosixFiles>();
}

}  // namespace lm
