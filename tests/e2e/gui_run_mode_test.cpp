// Run mode on screen: the real LMDRIVER.DLL under Wine and Xvfb starts the
// real ROZID7.EXE from the driver directory; the driver window shows
// LabelRUN, the number of orders in ProgressBarCom and the traffic in Edit1
// and Edit2, the stand-in's window lists it. Screenshots of both are kept.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off: commctrl.h needs windows.h first
#include <commctrl.h>
// clang-format on

#include <filesystem>
#include <string>

#include "base/host_records.h"
#include "base/window_messages.h"
#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"

namespace {

// The build's driver directory, with ROZID7.EXE: the second argument.
std::filesystem::path& BuildDriverDir() {
    static std::filesystem::path dir;
    return dir;
}

UINT g_rec_to_lmr = 0;
int g_answers = 0;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == g_rec_to_lmr && msg != 0) {
        const auto* block = reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam);
        if (block != nullptr && block->record.valid == 1) ++g_answers;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

// Pumps until `done` or `ms` have passed: no wait is unbounded.
template <class Done>
bool PumpUntil(Done done, int ms) {
    for (int waited = 0; !done(); waited += 50) {
        if (waited >= ms) return false;
        lm::gui::Pump(50);
    }
    return true;
}

HWND StandIn() {
    return FindWindowW(L"Rozid7StandIn", nullptr);
}

class RunModeOnScreen : public lm::test::DllHost {
protected:
    RunModeOnScreen() : DllHost("lmgui-run-") {}

    void SetUp() override {
        DllHost::SetUp();
        if (HasFatalFailure()) return;
        std::error_code error;
        std::filesystem::copy(BuildDriverDir(), work_ / "OVLADACE" / "KADEX2",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing,
                              error);
        ASSERT_FALSE(error) << error.message();
        ASSERT_TRUE(std::filesystem::exists(work_ / "OVLADACE" / "KADEX2" / "ROZID7.EXE"));
        g_rec_to_lmr = RegisterWindowMessageA(lm::kMsgRecToLmr);
        g_answers = 0;
        WNDCLASSW wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LmGuiRunHost";
        RegisterClassW(&wc);
        host_ = CreateWindowW(wc.lpszClassName, L"host", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
        OpenDriver(true);
        PARAM_ENTRY menu = Record(6);
        ASSERT_EQ(Call(menu), 1);
        PARAM_ENTRY create = Record(13);  // TERMOST 2
        create.wparam1 = 43;
        create.wparam2 = 2;
        ASSERT_EQ(Call(create), 1);
        window_ = driver_window_;
    }
    void TearDown() override {
        UnloadDriver();
        // The stand-in ends when the driver window is gone.
        PumpUntil([] { return StandIn() == nullptr; }, 5000);
        if (host_ != nullptr) DestroyWindow(host_);
        DllHost::TearDown();
    }
    void MenuItem(std::uint16_t id) {
        PARAM_ENTRY r = Record(9);
        r.wparam1 = id;
        ASSERT_EQ(Call(r), 1);
        lm::gui::Pump(100);
    }

    HWND window_ = nullptr;
    HWND host_ = nullptr;
};

TEST_F(RunModeOnScreen, TheDriverWindowAndTheStandInShowTheTrafficAndStopRunEndsTheProgram) {
    PARAM_ENTRY start = Record(7);
    ASSERT_EQ(Call(start), 1);
    ASSERT_EQ(start.dlm_func, 0) << "StartRUN asks for StopRUN: LMKOMUN.INI not written?";
    ASSERT_TRUE(PumpUntil([] { return StandIn() != nullptr; }, 10000)) << "ROZID7.EXE started";

    PARAM_ENTRY order = Record(15);
    order.wparam1 = 43;
    order.wparam2 = 2;
    order.lparam1 = 1;
    order.lparam2 = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(host_));
    std::uint16_t period = 2;
    order.data2 = &period;
    ASSERT_EQ(Call(order), 1);
    ASSERT_TRUE(PumpUntil([] { return g_answers >= 2; }, 10000)) << "live values arrive";

    EXPECT_TRUE(IsWindowVisible(lm::gui::FindControl(window_, L"LabelRUN")));
    EXPECT_EQ(SendMessageW(lm::gui::FindControl(window_, L"ProgressBarCom"), PBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(lm::gui::Text(lm::gui::FindControl(window_, L"Edit1")), L"QQ_RD 2B 02 01|");
    EXPECT_EQ(lm::gui::Text(lm::gui::FindControl(window_, L"Edit2")).substr(0, 15),
              L"QQ_RD 2B 02 01 ");
    // The status part with Edit1 and Edit2 open (the sample's start-up
    // options may have opened it already).
    HWND status = lm::gui::FindControl(window_, L"ButtonStatus");
    if (lm::gui::Text(status) == L"Status >>") SendMessageW(status, BM_CLICK, 0, 0);
    lm::gui::Pump(200);
    EXPECT_EQ(lm::gui::Text(lm::gui::FindControl(window_, L"ButtonStatus")), L"<< Status");
    EXPECT_TRUE(lm::gui::Screenshot(window_, "driver-window-run-mode"));

    // The menu item hides the driver window and then shows it again: the
    // second time the stand-in is told "DIALOG SHOW|" and comes up.
    MenuItem(3007);
    MenuItem(3007);
    HWND stand_in = StandIn();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(stand_in) && !IsIconic(stand_in); }, 5000));
    HWND list = FindWindowExW(stand_in, nullptr, L"ListBox", nullptr);
    EXPECT_GT(SendMessageW(list, LB_GETCOUNT, 0, 0), 2) << "its window lists the traffic";
    lm::gui::Pump(300);
    EXPECT_TRUE(lm::gui::Screenshot(stand_in, "rozid7-window"));

    PARAM_ENTRY stop = Record(8);
    ASSERT_EQ(Call(stop), 1);
    EXPECT_TRUE(PumpUntil([] { return StandIn() == nullptr; }, 5000)) << "CLOSE| ends it";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::string dir = argv[2];
        if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
        BuildDriverDir() = dir;
        --argc;  // the DLL's path stays the one argument RunWithDllPath reads
    }
    return lm::test::RunWithDllPath(argc, argv, "lm_gui_run_mode_tests");
}
