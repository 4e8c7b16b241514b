#include "base/files.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/cp1250.h"

namespace lm {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Paths are CP1250 like every text of the driver; on Windows they go to the
// wide file API so that the system's own code page does not matter.
File Open(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
#if defined(_WIN32)
    std::u16string wide_mode(mode, mode + std::char_traits<char>::length(mode));
    return File(_wfopen(reinterpret_cast<const wchar_t*>(Cp1250ToUtf16(path).c_str()),
                        reinterpret_cast<const wchar_t*>(wide_mode.c_str())));
#else
    return File(std::fopen(path.c_str(), mode));
#endif
}

bool WriteAll(std::FILE* f, std::string_view bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

std::filesystem::path Cp1250Path(const std::string& path) {
#if defined(_WIN32)
    std::u16string wide = Cp1250ToUtf16(path);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(path);
#endif
}

}  // namespace

bool FileCanBeOpened(const std::string& path) {
    // A folder is not a file, though some systems open it for reading.
    std::error_code error;
    if (std::filesystem::is_directory(Cp1250Path(path), error)) return false;
    File f = Open(path, "rb");
    if (!f) return false;
    return std::fclose(f.release()) == 0;
}

bool AppendLine(const std::string& path, std::string_view line) {
    File f = Open(path, "ab");
    if (!f) return false;
    bool ok = WriteAll(f.get(), line) && WriteAll(f.get(), "\r\n");
    return std::fclose(f.release()) == 0 && ok;
}

bool RewriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string content;
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }
    return RewriteFile(path, content);
}

bool RewriteFile(const std::string& path, std::string_view content) {
    File f = Open(path, "wb");
    if (!f) return false;
    bool ok = WriteAll(f.get(), content);
    return std::fclose(f.release()) == 0 && ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    File f = Open(path, "rb");
    if (!f) return std::nullopt;
    std::string content;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) content.append(buf, n);
    if (std::ferror(f.get())) return std::nullopt;
    return content;
}

bool DeleteFileAt(const std::string& path) {
    if (path.empty()) return false;
#if defined(_WIN32)
    return _wremove(reinterpret_cast<const wchar_t*>(Cp1250ToUtf16(path).c_str())) == 0;
#else
    return std::remove(path.c_str()) == 0;
#endif
}

}  // namespace lm
