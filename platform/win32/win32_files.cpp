// Files on Windows through the wide API. Paths are CP1250 and become UTF-16
// through code page 1250 whatever the system's own code page is. A path that
// cannot be named exactly is refused with its reason instead of being cut or
// guessed: longer than MAX_PATH - 1 characters, or with a character that code
// page 1250 does not have.
#include <windows.h>

#include <algorithm>

#include "base/cp1250.h"
#include "platform/system_files.h"
#include "platform/win32/win32_text.h"

namespace lm {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileStatus SystemError(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason;
    if (length != 0 && text != nullptr) reason = win32::Narrow(std::wstring_view(text, length));
    if (text != nullptr) LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) reason = "Chyba systému "_cp + std::to_string(error) + ".";
    return FileStatus::Failed(reason);
}

FileStatus LastError() {
    return SystemError(GetLastError());
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when the path's last name is a device of Windows: CON, NUL, AUX, PRN,
// COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, with any extension and
// trailing blanks, in any case ("Com1.ini", "nul .txt", "CON:"). The system
// opens the device for such a name in any folder: a port would be read.
bool IsDeviceName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (slash != std::string::npos && path[slash] == ':' && name.empty()) {
        // "CON:": the name before the colon.
        const std::string before = path.substr(0, slash);
        const std::size_t previous = before.find_last_of("\\/");
        name = before.substr(previous == std::string::npos ? 0 : previous + 1);
    }
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name) c = Upper(c);
    for (const char* device : {"CON", "NUL", "AUX", "PRN", "CONIN$", "CONOUT$"}) {
        if (name == device) return true;
    }
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
           name[3] >= '1' && name[3] <= '9';
}

// The path for the wide API, or the reason it cannot be named exactly. A '?'
// stands where a name of the system had a character outside code page 1250
// (and is no character of a file name anyway).
FileStatus WidePath(const std::string& path, std::wstring& wide) {
    if (FileStatus shape = CheckPathShape(path, MAX_PATH - 1); !shape) return shape;
    if (IsDeviceName(path)) {
        return FileStatus::Failed(
            "Název souboru je jménem zařízení Windows (CON, NUL, AUX, PRN, COM1 až COM9, LPT1 "
            "až LPT9)."_cp);
    }
    for (char c : path) {
        if (c == '?' || Cp1250CodePoint(static_cast<unsigned char>(c)) == 0xFFFD) {
            return FileStatus::Failed(
                "Cesta k souboru obsahuje znak, který kódová stránka 1250 nezná."_cp);
        }
    }
    wide = win32::Wide(path);
    return FileStatus::Ok();
}

// A file handle that closes itself; Close() reports the system's answer.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    FileStatus Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) ? FileStatus::Ok() : LastError();
    }

private:
    HANDLE handle_;
};

Handle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return Handle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileStatus WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return LastError();
        bytes.remove_prefix(written);
    }
    return FileStatus::Ok();
}

FileStatus WriteFileAt(const std::string& path, DWORD access, DWORD disposition,
                       std::string_view bytes) {
    std::wstring wide;
    if (FileStatus named = WidePath(path, wide); !named) return named;
    Handle file = Open(wide, access, FILE_SHARE_READ | FILE_SHARE_WRITE, disposition);
    if (!file.valid()) return LastError();
    FileStatus written = WriteAll(file.get(), bytes);
    FileStatus closed = file.Close();
    return written ? closed : written;
}

std::uint64_t Joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The log's file. Whether the path still names it is told without opening the
// path: the handle's delete-pending state, then the creation time and size of
// what the path names against the handle's own. (Under Wine a file deleted
// while it is open stays until its last handle closes and shows no pending
// delete; the log therefore also closes its file after every host call.)
class Win32AppendFile : public AppendFile {
public:
    Win32AppendFile(Handle file, std::string path, std::wstring wide)
        : file_(std::move(file)), path_(std::move(path)), wide_(std::move(wide)) {}

    FileStatus Write(std::string_view bytes) override {
        if (!file_.valid()) return FileStatus::Failed("Soubor je zavřen."_cp);
        return WriteAll(file_.get(), bytes);
    }

    bool StillNamedBy(const std::string& path) override {
        if (!file_.valid()) return false;
        FILE_STANDARD_INFO standard{};
        FILE_BASIC_INFO basic{};
        if (!GetFileInformationByHandleEx(file_.get(), FileStandardInfo, &standard,
                                          sizeof standard) ||
            standard.DeletePending ||
            !GetFileInformationByHandleEx(file_.get(), FileBasicInfo, &basic, sizeof basic)) {
            return false;
        }
        std::wstring other;
        if (path != path_ && !WidePath(path, other)) return false;
        WIN32_FILE_ATTRIBUTE_DATA named{};
        if (!GetFileAttributesExW(path == path_ ? wide_.c_str() : other.c_str(),
                                  GetFileExInfoStandard, &named)) {
            return false;
        }
        return Joined(named.ftCreationTime.dwHighDateTime, named.ftCreationTime.dwLowDateTime) ==
                   static_cast<std::uint64_t>(basic.CreationTime.QuadPart) &&
               Joined(named.nFileSizeHigh, named.nFileSizeLow) ==
                   static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    }

    FileStatus Close() override {
        if (!file_.valid()) return FileStatus::Ok();
        return file_.Close();
    }

private:
    Handle file_;
    std::string path_;
    std::wstring wide_;
};

// Opens an existing plain file for reading. A device name is refused by
// WidePath, a folder before any open; what opens must be a file on a disk
// (not a pipe, a console or a port).
Handle OpenFileToRead(const std::string& path) {
    std::wstring wide;
    if (!WidePath(path, wide)) return Handle(INVALID_HANDLE_VALUE);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Handle(INVALID_HANDLE_VALUE);
    }
    Handle file = Open(wide, GENERIC_READ, kShareAll, OPEN_EXISTING);
    if (file.valid() && GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Handle(INVALID_HANDLE_VALUE);
    }
    return file;
}

class Win32Files : public Files {
public:
    bool CanBeOpened(const std::string& path) override {
        Handle file = OpenFileToRead(path);
        return file.valid() && file.Close();
    }

    std::optional<std::string> ReadWhole(const std::string& path) override {
        Handle file = OpenFileToRead(path);
        if (!file.valid()) return std::nullopt;
        std::string content;
        char buffer[16384];
        while (true) {
            DWORD n = 0;
            if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) return std::nullopt;
            if (n == 0) break;
            content.append(buffer, n);
        }
        return content;
    }

    FileStatus WriteWhole(const std::string& path, std::string_view content) override {
        return WriteFileAt(path, GENERIC_WRITE, CREATE_ALWAYS, content);
    }

    FileStatus Append(const std::string& path, std::string_view bytes) override {
        return WriteFileAt(path, FILE_APPEND_DATA, OPEN_ALWAYS, bytes);
    }

    FileStatus Rename(const std::string& from, const std::string& to) override {
        std::wstring wide_from, wide_to;
        if (FileStatus named = WidePath(from, wide_from); !named) return named;
        if (FileStatus named = WidePath(to, wide_to); !named) return named;
        return MoveFileExW(wide_from.c_str(), wide_to.c_str(), MOVEFILE_REPLACE_EXISTING)
                   ? FileStatus::Ok()
                   : LastError();
    }

    FileStatus Delete(const std::string& path) override {
        std::wstring wide;
        if (FileStatus named = WidePath(path, wide); !named) return named;
        return DeleteFileW(wide.c_str()) ? FileStatus::Ok() : LastError();
    }

    std::vector<std::string> List(const std::string& folder) override {
        std::vector<std::string> names;
        std::string pattern = folder;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
        pattern += '*';
        std::wstring wide;
        if (!WidePath(pattern, wide)) return names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(wide.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::u16string name(reinterpret_cast<const char16_t*>(found.cFileName));
            // A name with a character outside code page 1250 cannot be named
            // back exactly; it is left out.
            if (std::all_of(name.begin(), name.end(),
                            [](char16_t u) { return Cp1250ByteOf(u) >= 0; })) {
                names.push_back(Utf16ToCp1250(name));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path,
                                              FileStatus& status) override {
        std::wstring wide;
        status = WidePath(path, wide);
        if (!status) return nullptr;
        Handle file = Open(wide, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                           OPEN_ALWAYS);
        if (!file.valid()) {
            status = LastError();
            return nullptr;
        }
        return std::make_unique<Win32AppendFile>(std::move(file), path, std::move(wide));
    }
};

}  // namespace

std::unique_ptr<Files> MakeSystemFiles() {
    return std::make_unique<Win32Files>();
}

}  // namespace lm
