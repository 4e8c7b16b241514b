// On Windows, a thread that watches this process's visible windows for those
// a test picks and hands each new one, once, to a handler: how lumarsim
// answers the driver's message boxes and plays its modal forms without a
// person. Elsewhere there is nothing to watch.
#pragma once

#if defined(_WIN32)
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace lumarsim {

// The class name of a window (at most 63 characters).
std::wstring ClassOf(HWND window);

class WindowWatcher {
public:
    using Wanted = std::function<bool(HWND)>;
    using Handler = std::function<void(HWND)>;

    // Looks every `period_ms` until destroyed; a window stays handled while
    // it exists.
    WindowWatcher(Wanted wanted, Handler handle, DWORD period_ms);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

private:
    void Watch();

    Wanted wanted_;
    Handler handle_;
    DWORD period_ms_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace lumarsim
#endif
