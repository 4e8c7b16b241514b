// liblmdriver.so loaded with dlopen, its one exported symbol called as the
// simulator calls it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/host_records.h"
#include "tests/support/entry_cases.h"

namespace {

using EntryFn = int (*)(PARAM_ENTRY*);
std::string g_library;

TEST(NativeLibrary, ExportsTheEntryAndServesTheHost) {
    auto work = std::filesystem::temp_directory_path() / ("lmso-" + std::to_string(getpid()));
    std::filesystem::create_directories(work / "OVLADACE" / "KADEX2");
    std::filesystem::current_path(work);
    void* library = dlopen(g_library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<EntryFn>(dlsym(library, "LumarDriver_Entry"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(dlsym(library, "_ZN2lm10TheEntryEv"), nullptr) << "only the entry is exported";

    PARAM_ENTRY r{};
    r.lmd_func = 1;
    r.wparam1 = 3;
    r.lparam1 = 34;
    ASSERT_EQ(entry(&r), 1);
    EXPECT_EQ(std::string(static_cast<const char*>(r.data1)), lm::test::kIdentifyText);
    r = PARAM_ENTRY{};
    r.lmd_func = 2;
    ASSERT_EQ(entry(&r), 1);
    r = PARAM_ENTRY{};
    r.lmd_func = 5;
    r.wparam1 = 14;
    ASSERT_EQ(entry(&r), 1);
    EXPECT_EQ(std::string(r.string1), lm::test::ErrTextCases()[14].text);
    r = PARAM_ENTRY{};
    r.lmd_func = 3;
    ASSERT_EQ(entry(&r), 1);
    dlclose(library);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(work);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) return 2;
    g_library = std::filesystem::absolute(argv[1]).string();
    return RUN_ALL_TESTS();
}
