// The table of profile-file cases against the system's profile functions on
// real files: the system reads and writes them as our reader and writer do,
// and each reads what the other wrote. Windows builds only (under Wine here).
#if defined(_WIN32)
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "settings/profile_file.h"
#include "tests/unit/settings/profile_cases.h"

namespace lm::settings {
namespace {

constexpr char kMissing[] = "(no such key)";

class ProfileApi : public ::testing::Test {
protected:
    // A file name used once: the system keeps recently used profile files in
    // memory, so no name is reused for other content.
    std::string NewPath() {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        std::string path = std::string(folder) + "lmprofile-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next_++) +
                           ".ini";
        paths_.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& path : paths_) DeleteFileA(path.c_str());
    }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::optional<std::string> SystemRead(const std::string& path, const char* section,
                                                 const char* key) {
        std::string buffer(20001, '\0');
        DWORD n = GetPrivateProfileStringA(section, key, kMissing, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), path.c_str());
        buffer.resize(n);
        if (buffer == kMissing) return std::nullopt;
        return buffer;
    }

    int next_ = 0;
    std::vector<std::string> paths_;
};

void ExpectRead(const std::optional<std::string>& got, const test::ProfileRead& r,
                const char* who) {
    SCOPED_TRACE(std::string(who) + " " + r.section + "/" + r.key);
    if (r.value == nullptr) {
        EXPECT_FALSE(got.has_value()) << *got;
    } else {
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, r.value);
    }
}

TEST_F(ProfileApi, TheSystemAgreesWithTheTableAndWithOurs) {
    for (const test::ProfileCase& c : test::ProfileCases()) {
        SCOPED_TRACE(c.what);
        // The system writes a real file; it and we read it.
        const std::string system_file = NewPath();
        if (c.file != nullptr) WriteBytes(system_file, c.file);
        for (const test::ProfileWrite& w : c.writes) {
            ASSERT_TRUE(WritePrivateProfileStringA(w.section, w.key, w.value, system_file.c_str()));
        }
        const ProfileFile ours_of_system(ReadBytes(system_file));
        for (const test::ProfileRead& r : c.reads) {
            ExpectRead(SystemRead(system_file, r.section, r.key), r, "system");
            ExpectRead(ours_of_system.Read(r.section, r.key), r, "ours of the system's file");
        }
        // We write the same changes; the system reads our file.
        ProfileFile ours(c.file != nullptr ? c.file : "");
        for (const test::ProfileWrite& w : c.writes) ours.Write(w.section, w.key, w.value);
        const std::string our_file = NewPath();
        if (c.file != nullptr || !c.writes.empty()) WriteBytes(our_file, ours.Text());
        for (const test::ProfileRead& r : c.reads) {
            ExpectRead(SystemRead(our_file, r.section, r.key), r, "system of our file");
        }
    }
}

}  // namespace
}  // namespace lm::settings
#endif
