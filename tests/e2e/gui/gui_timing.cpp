#include "tests/e2e/gui/gui_timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/e2e/gui/gui_support.h"

namespace lm::gui {
namespace {

double Now() {
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Paint {
    int visible = 0;
    bool unpainted = false;
};

BOOL CALLBACK CountUnpainted(HWND child, LPARAM context) {
    auto* paint = reinterpret_cast<Paint*>(context);
    if (!IsWindowVisible(child)) return TRUE;
    ++paint->visible;
    paint->unpainted = paint->unpainted || GetUpdateRect(child, nullptr, FALSE) != FALSE;
    return TRUE;
}

// The visible windows in `form`, 0 while it or any of them has something to paint.
int PaintedWindows(HWND form) {
    if (GetUpdateRect(form, nullptr, FALSE) != FALSE) return 0;
    Paint paint;
    EnumChildWindows(form, CountUnpainted, reinterpret_cast<LPARAM>(&paint));
    return paint.unpainted ? 0 : std::max(paint.visible, 1);
}

// The first line of a Linux file seen through Wine's Z: drive that starts
// with `head` (the whole first line when `head` is empty), without the head.
std::string LinuxFileLine(const char* path, const std::string& head) {
    std::ifstream file(std::string("Z:") + path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, head.size(), head) == 0) return line.substr(head.size());
    }
    return "unknown";
}

std::string WineVersion() {
    using Version = const char* (*)();
    auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return version != nullptr ? version() : "none (not Wine)";
}

std::string Figure(double ms) {
    if (ms < 0) return "not shown";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms);
    return text;
}

}  // namespace

Opening TimeOpening(const wchar_t* caption, const wchar_t* close,
                    const std::function<void()>& show) {
    const double start = Now();
    double painted_at = -1;
    int windows = 0;
    std::thread player([&] {
        HWND form = nullptr;
        while (Now() - start < 10000) {
            HWND w = FindWindowW(L"LMForm", caption);
            if (w != nullptr && IsWindowVisible(w) && (windows = PaintedWindows(w)) > 0) {
                painted_at = Now();
                form = w;
                break;
            }
            Sleep(1);
        }
        // A form that showed but never finished painting is closed all the
        // same, so that the host call returns.
        if (form == nullptr) form = FindWindowW(L"LMForm", caption);
        if (form == nullptr) return;
        SendMessageW(FindControl(form, close), BM_CLICK, 0, 0);
        for (int i = 0; i < 300 && IsWindow(form) && IsWindowVisible(form); ++i) Sleep(10);
        if (IsWindow(form) && IsWindowVisible(form)) PostMessageW(form, WM_CLOSE, 0, 0);
    });
    show();
    player.join();
    PumpPending();
    return {painted_at < 0 ? -1 : painted_at - start, windows};
}

double Median(std::vector<double> ms) {
    std::erase_if(ms, [](double m) { return m < 0; });
    if (ms.empty()) return -1;
    std::sort(ms.begin(), ms.end());
    const std::size_t middle = ms.size() / 2;
    return ms.size() % 2 == 1 ? ms[middle] : (ms[middle - 1] + ms[middle]) / 2;
}

std::string TimingReport(const std::vector<TimingRow>& rows, const std::string& build) {
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    std::string text = "# How long the dialogs take to open\n\n";
    text +=
        "From the host call that opens a dialog until its form is visible and neither the\n"
        "form nor any control in it has anything left to paint; the median of the\n"
        "openings in ms (the first one included), then each opening.\n\n";
    text += "- Build: " + build + "\n";
    text += "- Processor: " + LinuxFileLine("/proc/cpuinfo", "model name\t: ") + "\n";
    text += "- Cores: " + std::to_string(system.dwNumberOfProcessors) + "\n";
    // /proc/loadavg: the three averages, then the tasks.
    std::string load = LinuxFileLine("/proc/loadavg", "");
    std::size_t third = load.find(' ', load.find(' ', load.find(' ') + 1) + 1);
    text += "- Load average (1, 5, 15 min, when written): " + load.substr(0, third) + "\n";
    text += "- Wine: " + WineVersion() + "\n\n";
    text += "| Dialog | Windows | Median ms | Openings ms |\n|---|---:|---:|---|\n";
    for (const TimingRow& row : rows) {
        std::string each;
        for (double ms : row.ms) each += (each.empty() ? "" : ", ") + Figure(ms);
        text += "| " + row.dialog + " | " + std::to_string(row.windows) + " | " +
                Figure(Median(row.ms)) + " | " + each + " |\n";
    }
    return text;
}

std::string TimingReportPath() {
    const char* path = std::getenv("LM_GUI_REPORT");
    return path == nullptr ? std::string() : std::string(path);
}

}  // namespace lm::gui
