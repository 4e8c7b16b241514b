// Run mode on Windows: the real driver library, which starts the real
// ROZID7.EXE stand-in from its driver directory; the host window is a
// window of lumarsim's thread, the thread that runs the driver window too,
// so waiting means running the message loop.
#include <windows.h>

#include "base/window_messages.h"
#include "platform/win32/win32_text.h"
#include "tools/lumarsim/run_host.h"

namespace lumarsim {
namespace {

constexpr wchar_t kHostClass[] = L"LumarSimHostWindow";
constexpr UINT kSendTimeoutMs = 3000;

class Win32Host;
Win32Host* g_host = nullptr;  // the one host window's owner

class Win32Host : public RunHost {
public:
    Win32Host() {
        msg_rec_to_lmr_ = RegisterWindowMessageA(lm::kMsgRecToLmr);
        msg_tolan_ = RegisterWindowMessageA(lm::kMsgTolan);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kHostClass;
        RegisterClassW(&wc);
        g_host = this;
        window_ = CreateWindowW(kHostClass, L"lumarsim", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
    }
    ~Win32Host() override {
        if (window_ != nullptr) DestroyWindow(window_);
        g_host = nullptr;
    }
    bool ok() const { return window_ != nullptr && msg_rec_to_lmr_ != 0; }

    std::uint32_t window() const override {
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window_));
    }
    void Wait(int ticks) override {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ticks) * 100;
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                      QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    bool SendTolan(unsigned code, const std::string& text) override {
        HWND driver = FindWindowW(L"LMDriverWindow", nullptr);
        if (driver == nullptr) return false;
        const ATOM atom = GlobalAddAtomW(lm::win32::Wide(text).c_str());
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(driver, msg_tolan_, code, atom, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &answer);
        if (atom != 0) GlobalDeleteAtom(atom);
        return true;
    }

    bool ProgramRunning() const override {
        return FindWindowW(L"Rozid7StandIn", nullptr) != nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
        if (g_host != nullptr && msg == g_host->msg_rec_to_lmr_ && msg != 0) {
            g_host->Receive(reinterpret_cast<const dLM_ANSWER_BLOCK*>(lparam));
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wparam, lparam);
    }

    HWND window_ = nullptr;
    UINT msg_rec_to_lmr_ = 0;
    UINT msg_tolan_ = 0;
};

}  // namespace

bool RunsDriverInProcess() {
    return false;
}

RunSetup MakeRunSetup(const std::string& library) {
    RunSetup setup;
    setup.library = std::make_unique<DriverLibrary>(library);
    if (!setup.library->ok()) {
        setup.error = setup.library->error();
        setup.library.reset();
        return setup;
    }
    auto host = std::make_unique<Win32Host>();
    if (!host->ok()) {
        setup.error = "cannot make the host window";
        return setup;
    }
    setup.host = std::move(host);
    return setup;
}

}  // namespace lumarsim
