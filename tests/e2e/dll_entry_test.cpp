// The real LMDRIVER.DLL under Wine: loaded by name with LoadLibrary, its
// undecorated stdcall export called as the host calls it, with the real Win32
// platform (window, registered messages).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/host_records.h"
#include "tests/e2e/dll_host.h"
#include "tests/support/entry_cases.h"

namespace {

class RealDll : public lm::test::DllHost {
protected:
    RealDll() : DllHost("lmdll-") {}
};

TEST_F(RealDll, RecordIsPackedAsTheHostLaysItOut) {
    // 44 bytes on the 32-bit host; the x86-64 test build has wider pointers.
    constexpr std::size_t p = sizeof(void*);
    EXPECT_EQ(sizeof(PARAM_ENTRY), 20 + 6 * p);
    EXPECT_EQ(offsetof(PARAM_ENTRY, lparam1), 12u);
    EXPECT_EQ(offsetof(PARAM_ENTRY, string1), 20 + 2 * p);
    EXPECT_EQ(offsetof(PARAM_ENTRY, pointer2), 20 + 5 * p);
    if (p == 4) {
        EXPECT_EQ(sizeof(PARAM_ENTRY), 44u);
    }
}

TEST_F(RealDll, IdentifyLoadErrTextUnknownUnloadAsTheHostCallsThem) {
    PARAM_ENTRY identify = Record(1);
    identify.wparam1 = 3;
    identify.lparam1 = 34;
    ASSERT_EQ(Call(identify), 1);
    EXPECT_EQ(identify.wparam1, 1);
    EXPECT_STREQ(identify.string2, "VORTEL KADEX-RX7");
    EXPECT_EQ(std::string(static_cast<const char*>(identify.data1)), lm::test::kIdentifyText);

    PARAM_ENTRY early = Record(6);
    EXPECT_EQ(Call(early), 0);
    EXPECT_EQ(early.error, 14);

    PARAM_ENTRY load = Record(2);
    load.lparam1 = 9;
    ASSERT_EQ(Call(load), 1);
    EXPECT_EQ(load.wparam1, 1);
    EXPECT_EQ(load.lparam1, 0u);
    HWND window = lm::test::OwnWindow(L"LMDriverWindow");
    ASSERT_NE(window, nullptr) << "the driver window exists after load driver";
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Lumar: KADEX line 2");

    for (const auto& c : lm::test::ErrTextCases()) {
        PARAM_ENTRY r = Record(5);
        r.wparam1 = c.code;
        r.error = 4321;
        ASSERT_EQ(Call(r), 1);
        EXPECT_EQ(std::string(r.string1, c.text.size() + 1), std::string(c.text) + '\0') << c.code;
        EXPECT_EQ(r.error, 4321);
    }
    for (std::uint16_t code : lm::test::UnknownCodes()) {
        PARAM_ENTRY r = Record(code);
        r.dlm_func = 3;
        EXPECT_EQ(Call(r), 0) << code;
        EXPECT_EQ(r.error, 14) << code;
        EXPECT_EQ(r.dlm_func, 0) << code;
    }
    EXPECT_EQ(entry_(nullptr), 0);

    PARAM_ENTRY unload = Record(3);
    unload.error = 77;
    ASSERT_EQ(Call(unload), 1);
    EXPECT_EQ(unload.error, 77);
    EXPECT_EQ(lm::test::OwnWindow(L"LMDriverWindow"), nullptr) << "window released";

    PARAM_ENTRY late = Record(4);
    EXPECT_EQ(Call(late), 0);
    EXPECT_EQ(late.error, 14);
}

TEST_F(RealDll, FreeingTheLibraryWithoutUnloadReleasesTheWindow) {
    PARAM_ENTRY load = Record(2);
    ASSERT_EQ(Call(load), 1);
    ASSERT_NE(lm::test::OwnWindow(L"LMDriverWindow"), nullptr);
    FreeLibrary(module_);
    module_ = nullptr;
    EXPECT_EQ(lm::test::OwnWindow(L"LMDriverWindow"), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    return lm::test::RunWithDllPath(argc, argv, "lm_dll_tests");
}
