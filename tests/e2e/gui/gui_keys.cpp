#include "tests/e2e/gui/gui_keys.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/gui/gui_support.h"

namespace lm::gui {
namespace {

bool Allowed(const std::string& text, const char* extra) {
    if (text.empty()) return false;
    for (char ch : text) {
        const bool plain =
            (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (!plain && std::string(extra).find(ch) == std::string::npos) return false;
    }
    return true;
}

// The Unix path of a Windows path: what a Unix program started from Wine needs.
std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (to_unix == nullptr) return {};
    char* unix_path = to_unix(path.c_str());
    if (unix_path == nullptr) return {};
    std::string result = unix_path;
    HeapFree(GetProcessHeap(), 0, unix_path);
    return result;
}

// Finds the "LM:" + name property of a control window.
BOOL CALLBACK ControlNameProperty(HWND, LPWSTR key, HANDLE, ULONG_PTR found) {
    if (IS_INTRESOURCE(key) || std::wstring(key).rfind(L"LM:", 0) != 0) return TRUE;
    *reinterpret_cast<std::wstring*>(found) = key + 3;
    return FALSE;
}

}  // namespace

HWND FocusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::wstring FocusedControl(HWND form) {
    for (HWND w = FocusIn(form); w != nullptr && IsChild(form, w); w = GetParent(w)) {
        std::wstring name;
        EnumPropsExW(w, ControlNameProperty, reinterpret_cast<LPARAM>(&name));
        if (!name.empty()) return name;
    }
    return L"none";
}

bool WaitUntil(const std::function<bool()>& holds, int limit_ms) {
    const DWORD start = GetTickCount();
    while (!holds()) {
        if (GetTickCount() - start > static_cast<DWORD>(limit_ms)) return holds();
        Sleep(20);
    }
    return true;
}

bool PressKeys(HWND form, const std::vector<KeyStep>& steps, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error != nullptr) *error = why;
        return false;
    };
    // The form's X window, which Wine names in a property of the window.
    const auto x_window =
        reinterpret_cast<std::uintptr_t>(GetPropW(form, L"__wine_x11_whole_window"));
    if (x_window == 0) return fail("the form has no X window");
    std::string command = "xdotool windowfocus --sync " + std::to_string(x_window);
    for (const KeyStep& step : steps) {
        if (step.kind == KeyStep::Keys) {
            std::istringstream names(step.what);
            std::string name;
            std::string keys;
            while (names >> name) {
                if (!Allowed(name, "+_")) return fail("no key name: " + name);
                keys += " " + name;
            }
            if (keys.empty()) return fail("no keys in a step");
            command += " && xdotool key --delay 40" + keys;
        } else {
            if (!Allowed(step.what, ".-")) return fail("not a text to type: " + step.what);
            command += " && xdotool type --delay 40 -- " + step.what;
        }
    }
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring done = std::wstring(temp) + L"lm-keys-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter) + L".done";
    DeleteFileW(done.c_str());
    const std::string done_unix = UnixPath(done);
    if (done_unix.empty()) return fail("no Unix path for " + std::string(done.begin(), done.end()));
    // Bounded well inside the test's own time limit (a few rows may each miss),
    // so that a display that takes no keys fails the row with this message; the
    // wait for the done file outlasts the bound by the shell's own start.
    constexpr int kKeysLimitSeconds = 10;
    command = "timeout " + std::to_string(kKeysLimitSeconds) + " sh -c '" + command +
              "'; echo $? >'" + done_unix + ".part' && mv '" + done_unix + ".part' '" + done_unix +
              "'";
    if (!StartShell(command)) return fail("xdotool could not be started");
    std::string status;
    WaitUntil(
        [&] {
            std::ifstream file{std::filesystem::path(done)};
            return static_cast<bool>(std::getline(file, status));
        },
        (kKeysLimitSeconds + 5) * 1000);
    DeleteFileW(done.c_str());
    if (status.empty()) return fail("xdotool did not finish");
    if (status != "0") return fail("xdotool ended with status " + status + ": " + command);
    return true;
}

}  // namespace lm::gui
