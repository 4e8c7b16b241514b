#include "tools/lumarsim/window_watcher.h"

#if defined(_WIN32)
#include <algorithm>
#include <string>

namespace lumarsim {
namespace {

struct Search {
    const WindowWatcher::Wanted* wanted;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && (*search->wanted)(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The desktop is made ready on the constructing thread before the watcher
// starts: Wine sets it up at a process's first window call, and two threads
// doing so at once could wait for each other.
WindowWatcher::WindowWatcher(Wanted wanted, Handler handle, DWORD period_ms)
    : wanted_(std::move(wanted)), handle_(std::move(handle)), period_ms_(period_ms) {
    GetDesktopWindow();
    thread_ = std::thread([this] { Watch(); });
}

WindowWatcher::~WindowWatcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void WindowWatcher::Watch() {
    std::vector<HWND> handled;
    while (!stop_) {
        Search search{&wanted_, {}};
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
            if (std::find(handled.begin(), handled.end(), window) != handled.end()) continue;
            handled.push_back(window);
            handle_(window);
        }
        std::erase_if(handled, [](HWND window) { return !IsWindow(window); });
        Sleep(period_ms_);
    }
}

}  // namespace lumarsim
#endif
