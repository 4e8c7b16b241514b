// A fresh folder for one test, with the driver directory OVLADACE/KADEX2 below
// it; removed with everything in it at the end of the test.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lm::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path driver_dir() const { return path_ / "OVLADACE" / "KADEX2"; }
    // The driver directory as the driver names it: with a trailing separator.
    std::string driver_dir_text() const;

private:
    std::filesystem::path path_;
};

// The whole content of a file ("" when missing).
std::string ReadFile(const std::filesystem::path& path);
// Writes a file whole.
void WriteFile(const std::filesystem::path& path, const std::string& content);
// The lines of a text, split at CR LF.
std::vector<std::string> SplitCrLf(const std::string& text);

}  // namespace lm::test
