// The table of careless and broken host calls against the real LMDRIVER.DLL
// under Wine: the Win32 platform's window, message boxes (answered by a
// watcher thread) and files.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/e2e/dll_host.h"
#include "tests/e2e/gui/gui_support.h"
#include "tests/support/host_call_cases.h"

namespace {

constexpr UINT kRunDuringBox = WM_APP + 1;

// The host code that runs while a box is up: a message posted to a window of
// the host, which the box's message loop dispatches.
std::function<void()>* g_during = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == kRunDuringBox && g_during != nullptr && *g_during) {
        auto during = std::move(*g_during);
        *g_during = nullptr;
        during();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

std::string Cp1250(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(1250, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(1250, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

class RealDllHostCalls : public lm::test::DllHost,
                         public lm::test::HostSide,
                         public ::testing::WithParamInterface<lm::test::HostCallCase> {
protected:
    RealDllHostCalls() : DllHost("lmdll-calls-") {}

    void SetUp() override {
        DllHost::SetUp();
        const auto dir = work_ / "OVLADACE" / "KADEX2";
        CopyIntoDriverDir(LM_SAMPLE_DRIVER_DIR);
        // LMKOMUN.INI written, the export starts ROZID7.EXE: a program that
        // starts and ends at once stands in for it.
        wchar_t system[MAX_PATH] = {};
        ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
        ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(),
                              (dir / "ROZID7.EXE").wstring().c_str(), FALSE));
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LmTestHostCalls";
        RegisterClassA(&wc);
        host_window_ = CreateWindowA("LmTestHostCalls", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     wc.hInstance, nullptr);
        g_during = &during_;
        GetDesktopWindow();  // Wine readies the desktop here, not in two threads at once
        watcher_ = std::make_unique<lm::gui::BoxWatcher>();
    }
    void TearDown() override {
        watcher_.reset();
        g_during = nullptr;
        DestroyWindow(host_window_);
        DllHost::TearDown();
    }

    int Call(PARAM_ENTRY& record) override { return entry_(&record); }
    void AnswerYes() override { watcher_->Answer(IDYES); }
    void WhileNextBoxIsUp(std::function<void()> during) override {
        during_ = std::move(during);
        PostMessageA(host_window_, kRunDuringBox, 0, 0);
    }
    std::vector<std::string> Boxes() override {
        std::vector<std::string> texts;
        for (const auto& box : watcher_->Boxes()) texts.push_back(Cp1250(box.text));
        return texts;
    }
    std::vector<std::string> LogLines() override {
        std::ifstream in(DriverDir() + "LMDRIVER.LOG", std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            const std::string line = text.substr(start, end - start);
            const std::size_t bar = line.find(" | ");
            lines.push_back(bar == std::string::npos ? line : line.substr(bar + 3));
        }
        return lines;
    }
    std::string DriverDir() override { return (work_ / "OVLADACE" / "KADEX2").string() + "\\"; }

    HWND host_window_ = nullptr;
    std::function<void()> during_;
    std::unique_ptr<lm::gui::BoxWatcher> watcher_;
};

TEST_P(RealDllHostCalls, AreSurvivedAndLeaveADriverThatServes) {
    GetParam().play(*this);
    EXPECT_FALSE(during_) << "the case expected a message box that never came";
    lm::test::ExpectDriverStillServes(*this);
}

INSTANTIATE_TEST_SUITE_P(Table, RealDllHostCalls, ::testing::ValuesIn(lm::test::HostCallCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
