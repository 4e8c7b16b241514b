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

std::string Utf8(const wchar_t* text) {
    std::u16string u;
    for (; *text != 0; ++text) u.push_back(static_cast<char16_t>(*text));
    return lm::Cp1250ToUtf8(lm::Utf16ToCp1250(u));
}

// Presses the box's default button (OK, or Yes for a question) and prints it.
void Answer(HWND box) {
    wchar_t title[256] = {}, text[1024] = {};
    GetWindowTextW(box, title, 256);
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    const bool question = GetDlgItem(box, IDYES) != nullptr;
    std::fprintf(stderr, "[box: %s] %s -> %s\n", Utf8(title).c_str(), Utf8(text).c_str(),
                 question ? "Yes" : "OK");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(question ? IDYES : IDOK, BN_CLICKED), 0);
}

}  // namespace

BoxAnswerer::BoxAnswerer()
    : watcher_(
          // A message box: a dialog with a text.
          [](HWND window) {
              return ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr;
          },
          Answer, 20) {}
#else
BoxAnswerer::BoxAnswerer() = default;
#endif

BoxAnswerer::~BoxAnswerer() = default;

}  // namespace lumarsim
