#include "tools/lumarsim/box_answerer.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/cp1250.h"
#endif

namespace lumarsim {

#if defined(_WIN32)
namespace {

BOOL CALLBACK CollectBoxes(HWND window, LPARAM context) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        std::wstring(name) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr) {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    }
    return TRUE;
}

std::string Utf8(const wchar_t* text) {
    std::u16string u;
    for (; *text != 0; ++text) u.push_back(static_cast<char16_t>(*text));
    return lm::Cp1250ToUtf8(lm::Utf16ToCp1250(u));
}

}  // namespace

// The desktop is made ready on the main thread before the watcher starts:
// Wine sets it up at a process's first window call, and two threads doing so
// at once could wait for each other.
bool DesktopReady() {
    return GetDesktopWindow() != nullptr;
}

BoxAnswerer::BoxAnswerer()
    : desktop_ready_(DesktopReady()), thread_([this] {
          std::vector<HWND> answered;
          while (!stop_) {
              std::vector<HWND> boxes;
              EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&boxes));
              for (HWND box : boxes) {
                  bool seen = false;
                  for (HWND done : answered) seen = seen || done == box;
                  if (seen) continue;
                  wchar_t title[256] = {}, text[1024] = {};
                  GetWindowTextW(box, title, 256);
                  GetDlgItemTextW(box, 0xFFFF, text, 1024);
                  const bool question = GetDlgItem(box, IDYES) != nullptr;
                  std::fprintf(stderr, "[box: %s] %s -> %s\n", Utf8(title).c_str(),
                               Utf8(text).c_str(), question ? "Yes" : "OK");
                  PostMessageW(box, WM_COMMAND, MAKEWPARAM(question ? IDYES : IDOK, BN_CLICKED), 0);
                  answered.push_back(box);
              }
              std::erase_if(answered, [](HWND box) { return !IsWindow(box); });
              Sleep(20);
          }
      }) {}
#else
BoxAnswerer::BoxAnswerer() = default;
#endif

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace lumarsim
