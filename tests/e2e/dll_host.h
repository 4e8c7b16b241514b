// The host's side of a test against the real LMDRIVER.DLL under Wine: a fresh
// working folder with OVLADACE/KADEX2 below it as the current directory, the
// library loaded by name with LoadLibrary and its export looked up by name.
// The driver directory holds the communication settings, which the driver
// window shows as it is created (without them a message box would wait).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "base/host_records.h"

namespace lm::test {

struct OwnWindowSearch {
    const wchar_t* window_class;
    HWND found;
};

inline BOOL CALLBACK OwnWindowOfClass(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<OwnWindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    if (process != GetCurrentProcessId() || GetClassNameW(window, name, 64) == 0 ||
        std::wstring_view(name) != search->window_class) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The top-level window of `window_class` that this process made, or null.
// Tests that run beside each other under one Wine server see each other's
// windows, so FindWindowW alone could find another test's.
inline HWND OwnWindow(const wchar_t* window_class) {
    OwnWindowSearch search{window_class, nullptr};
    EnumWindows(OwnWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

using EntryFn = int(__stdcall*)(PARAM_ENTRY*);

// SETCOM.INI of the test's driver directory: RS485 on COM2 at 19200 Bd,
// address 5, time-out 2.5 s.
inline constexpr const char kSetComText[] =
    "2\r\n19200\r\n5\r\n1\r\n1\r\n2.5\r\n0\r\n192.168.1.10\r\n1998\r\n";

// The DLL the test executable was given on its command line.
inline std::string& DllPath() {
    static std::string path;
    return path;
}

class DllHost : public ::testing::Test {
protected:
    // `folder_prefix` names the test's working folder in the temp directory.
    explicit DllHost(const char* folder_prefix) : folder_prefix_(folder_prefix) {}

    void SetUp() override {
        work_ = std::filesystem::temp_directory_path() /
                (folder_prefix_ + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // What a killed run of a process with the same id left is not this test's.
        std::error_code stale;
        std::filesystem::remove_all(work_, stale);
        std::filesystem::create_directories(work_ / "OVLADACE" / "KADEX2");
        std::ofstream(work_ / "OVLADACE" / "KADEX2" / "SETCOM.INI", std::ios::binary)
            << kSetComText;
        SetCurrentDirectoryW(work_.wstring().c_str());
        module_ = LoadLibraryA(DllPath().c_str());
        ASSERT_NE(module_, nullptr) << "LoadLibrary " << DllPath() << " error " << GetLastError();
        entry_ = reinterpret_cast<EntryFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "LumarDriver_Entry")));
        ASSERT_NE(entry_, nullptr) << "LumarDriver_Entry is not exported by that name";
    }

    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
        SetCurrentDirectoryW(std::filesystem::temp_directory_path().wstring().c_str());
        std::error_code ignored;
        std::filesystem::remove_all(work_, ignored);
    }

    static PARAM_ENTRY Record(std::uint16_t code) {
        PARAM_ENTRY r{};
        r.lmd_func = code;
        return r;
    }
    int Call(PARAM_ENTRY& r) { return entry_(&r); }
    // Copies every file of `from` into the driver directory below the working
    // folder, over what is there (SETCOM.INI included).
    void CopyIntoDriverDir(const std::filesystem::path& from) const {
        for (const auto& entry : std::filesystem::directory_iterator(from)) {
            std::filesystem::copy_file(entry.path(),
                                       work_ / "OVLADACE" / "KADEX2" / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    // A file of the driver directory below the working folder.
    std::filesystem::path DriverFile(const char* name) const {
        return work_ / "OVLADACE" / "KADEX2" / name;
    }
    std::string Read(const char* name) const {
        std::ifstream file(DriverFile(name), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(DriverFile(name), std::ios::binary) << text;
    }

    // CreateObject: the block's user items as the host gets them.
    dLM_DATAITEM* Place(std::uint16_t ident, std::uint16_t instance) {
        PARAM_ENTRY create = Record(13);
        create.wparam1 = ident;
        create.wparam2 = instance;
        EXPECT_EQ(entry_(&create), 1);
        return static_cast<dLM_DATAITEM*>(create.data1);
    }
    // The value text of item `ident` among the host's `items`; "<none>" when
    // no item has that ident.
    static std::string Value(const dLM_DATAITEM* items, std::uint16_t ident) {
        for (const dLM_DATAITEM* i = items; i != nullptr; i = i->next) {
            if (i->ident == ident) return std::string(i->ext->value.view());
        }
        return "<none>";
    }

    // As the host starts the driver: identify (version 3, 34), load driver
    // and, with `init_objects`, init objects, each answered TRUE; then
    // `driver_window_` is the driver window that load driver made.
    void OpenDriver(bool init_objects) {
        PARAM_ENTRY identify = Record(1);
        identify.wparam1 = 3;
        identify.lparam1 = 34;
        ASSERT_EQ(Call(identify), 1);
        PARAM_ENTRY load = Record(2);
        ASSERT_EQ(Call(load), 1);
        if (init_objects) {
            PARAM_ENTRY init = Record(4);
            ASSERT_EQ(Call(init), 1);
            ASSERT_EQ(init.error, 0);
        }
        driver_window_ = OwnWindow(L"LMDriverWindow");
        ASSERT_NE(driver_window_, nullptr) << "the driver window exists after load driver";
    }
    // Unload driver, when the library is loaded: the driver window goes.
    void UnloadDriver() {
        if (entry_ == nullptr) return;
        PARAM_ENTRY unload = Record(3);
        Call(unload);
    }

    std::string folder_prefix_;
    std::filesystem::path work_;
    HMODULE module_ = nullptr;
    EntryFn entry_ = nullptr;
    HWND driver_window_ = nullptr;
};

// main of a test executable whose one argument is the DLL's path (a Unix path
// from the build tree reaches Wine through its Z: drive).
inline int RunWithDllPath(int argc, char** argv, const char* program) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-LMDRIVER.DLL\n", program);
        return 2;
    }
    DllPath() = argv[1];
    if (!DllPath().empty() && DllPath()[0] == '/') DllPath() = "Z:" + DllPath();
    return RUN_ALL_TESTS();
}

}  // namespace lm::test
