#include "platform/win32/win32_platform.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/cp1250.h"
#include "platform/win32/win32_text.h"

namespace lm {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 100;
// How long a synchronous send to another program may wait for its answer.
constexpr UINT kSendTimeoutMs = 2000;

// "\r" alone separates the lines of a box text; the box wants CR LF.
std::wstring BoxText(std::string_view text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lines += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) lines += '\n';
    }
    return win32::Wide(lines);
}

int ShowCommand(ShowMode show) {
    switch (show) {
        case ShowMode::Minimized:
            return SW_SHOWMINNOACTIVE;
        case ShowMode::Hidden:
            return SW_HIDE;
        case ShowMode::Show:
            return SW_SHOW;
        case ShowMode::Normal:
            break;
    }
    return SW_SHOWNORMAL;
}

}  // namespace

void SetModuleInstance(HINSTANCE instance) {
    win32::SetRendererInstance(instance);
}

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
    if (driver_window_) {
        KillTimer(driver_window_->hwnd(), kTimerId);
        driver_window_.reset();
    }
    // The classes point into this module, which may be unloaded next.
    win32::UnregisterRendererClasses();
}

BoxAnswer Win32Platform::ShowMessageBox(BoxKind kind, std::string_view text) {
    UINT flags = MB_TASKMODAL | MB_SETFOREGROUND;
    std::wstring caption;
    if (kind == BoxKind::Error) {
        flags |= MB_OK | MB_ICONERROR;
        caption = win32::Wide("Chyba");
    } else {
        flags |= MB_YESNO | MB_ICONQUESTION;
        caption = win32::Wide("Potvrzení"_cp);
    }
    // A box of no owner leaves no window active when it goes: the window the
    // user worked in (a dialog, the host's) is made active again, so that the
    // keyboard goes on where it was.
    HWND active = GetActiveWindow();
    int answer = MessageBoxW(nullptr, BoxText(text).c_str(), caption.c_str(), flags);
    if (active != nullptr && IsWindow(active) && GetActiveWindow() != active) {
        SetForegroundWindow(active);
    }
    if (answer == 0) return BoxAnswer::NotShown;
    if (kind == BoxKind::Error) return BoxAnswer::Ok;
    return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}

ui::ModalResult Win32Platform::ShowModal(ui::Form& form) {
    // Owned by the window the user works in (the host's), else by the driver
    // window, so that the dialog stays in front of it.
    HWND owner = GetActiveWindow();
    if (owner == nullptr) owner = DriverHwnd();
    return win32::ShowModalForm(form, owner);
}

bool Win32Platform::OnDriverMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    if (events_ == nullptr) return false;
    if (msg == WM_TIMER && wparam == kTimerId) {
        events_->on_timer();
        result = 0;
        return true;
    }
    std::intptr_t answer = 0;
    if (msg >= WM_USER && events_->on_message(msg, wparam, lparam, answer)) {
        result = answer;
        return true;
    }
    return false;
}

WindowHandle Win32Platform::CreateDriverWindow(ui::Form& form, WindowEvents& events) {
    DestroyDriverWindow(form);
    events_ = &events;
    // The driver window is modeless and has no owner; the user cannot close it.
    win32::FormWindow::Options options;
    options.window_class = win32::kDriverWindowClass;
    options.hook = [this](UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
        return OnDriverMessage(msg, wparam, lparam, result);
    };
    auto window = std::make_unique<win32::FormWindow>(form, std::move(options));
    if (!window->ok()) {
        events_ = nullptr;
        return 0;
    }
    driver_window_ = std::move(window);
    driver_window_->Sync();
    return reinterpret_cast<WindowHandle>(driver_window_->hwnd());
}

void Win32Platform::UpdateWindow(ui::Form& form) {
    if (auto* window = win32::FormWindow::Of(form)) window->Sync();
}

void Win32Platform::DestroyDriverWindow(ui::Form&) {
    if (!driver_window_) return;
    KillTimer(driver_window_->hwnd(), kTimerId);
    driver_window_.reset();
    events_ = nullptr;
}

void Win32Platform::Beep() {
    MessageBeep(0);
}

void Win32Platform::SetBusyCursor(bool busy) {
    if (busy) {
        saved_cursor_ = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    } else {
        SetCursor(saved_cursor_ != nullptr
                      ? saved_cursor_
                      : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        saved_cursor_ = nullptr;
    }
}

ScreenSize Win32Platform::Screen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32Platform::ShellOpen(const std::string& file, const std::string& parameters,
                             const std::string& directory, ShowMode show) {
    HINSTANCE result = ShellExecuteW(DriverHwnd(), L"open", win32::Wide(file).c_str(),
                                     parameters.empty() ? nullptr : win32::Wide(parameters).c_str(),
                                     directory.empty() ? nullptr : win32::Wide(directory).c_str(),
                                     ShowCommand(show));
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void Win32Platform::ShowHelp(const std::string& help_file, long context) {
    WinHelpW(DriverHwnd(), win32::Wide(help_file).c_str(), HELP_CONTEXT,
             static_cast<ULONG_PTR>(context));
}

std::optional<std::string> Win32Platform::ChooseSaveFile(const std::string& title,
                                                         const std::string& filter,
                                                         const std::string& file_name) {
    // The dialog wants the filter's parts ended by zeros, the list by two.
    std::wstring filters = win32::Wide(filter);
    for (wchar_t& c : filters) {
        if (c == L'|') c = L'\0';
    }
    filters.push_back(L'\0');
    filters.push_back(L'\0');
    std::wstring wide_title = win32::Wide(title);
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    const std::wstring initial = win32::Wide(file_name);
    if (initial.size() < MAX_PATH) std::copy(initial.begin(), initial.end(), path.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = DriverHwnd();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = wide_title.empty() ? nullptr : wide_title.c_str();
    // The process's current directory is the host's (the driver directory is
    // found below it): the dialog must not move it to the chosen folder.
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return win32::Narrow(path.data());
}

BitmapHandle Win32Platform::LoadBitmapFile(const std::string& path) {
    HANDLE bitmap =
        LoadImageW(nullptr, win32::Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    return reinterpret_cast<BitmapHandle>(bitmap);
}

void Win32Platform::FreeBitmap(BitmapHandle bitmap) {
    if (bitmap != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

MenuHandle Win32Platform::CreatePopupMenu(const std::vector<MenuEntry>& entries) {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return 0;
    for (const auto& entry : entries) {
        const BOOL added = entry.separator ? AppendMenuW(menu, MF_SEPARATOR, entry.id, nullptr)
                                           : AppendMenuW(menu, MF_STRING, entry.id,
                                                         win32::Wide(entry.text).c_str());
        if (!added) {
            // A menu missing an entry would hide a command without a word:
            // no menu at all, which the caller logs, instead.
            ::DestroyMenu(menu);
            return 0;
        }
    }
    return reinterpret_cast<MenuHandle>(menu);
}

void Win32Platform::EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) {
    ::EnableMenuItem(reinterpret_cast<HMENU>(menu), id,
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32Platform::DestroyMenu(MenuHandle menu) {
    if (menu != 0) ::DestroyMenu(reinterpret_cast<HMENU>(menu));
}

unsigned Win32Platform::RegisterMessage(const std::string& name) {
    return RegisterWindowMessageW(win32::Wide(name).c_str());
}

std::optional<std::intptr_t> Win32Platform::SendMessageTo(WindowHandle window, unsigned msg,
                                                          std::uintptr_t wparam,
                                                          std::intptr_t lparam) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (hwnd == nullptr || !IsWindow(hwnd)) return std::nullopt;
    // A window of this thread is called directly; another program's window
    // gets the time-out, and one that hangs fails at once.
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &answer) == 0) {
        return std::nullopt;
    }
    return static_cast<std::intptr_t>(answer);
}

bool Win32Platform::WindowExists(WindowHandle window) {
    return window != 0 && IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

AtomId Win32Platform::AddGlobalAtom(const std::string& text) {
    if (text.empty() || text.size() > 255) return 0;
    return GlobalAddAtomW(win32::Wide(text).c_str());
}

std::string Win32Platform::GlobalAtomName(AtomId atom) {
    wchar_t buf[256] = {};
    UINT n = GlobalGetAtomNameW(atom, buf, 256);
    return win32::Narrow(std::wstring_view(buf, n));
}

void Win32Platform::DeleteGlobalAtom(AtomId atom) {
    GlobalDeleteAtom(atom);
}

bool Win32Platform::StartTimer() {
    return driver_window_ &&
           SetTimer(driver_window_->hwnd(), kTimerId, kTimerPeriodMs, nullptr) != 0;
}

void Win32Platform::StopTimer() {
    if (driver_window_) KillTimer(driver_window_->hwnd(), kTimerId);
}

char Win32Platform::DecimalSeparator() {
    wchar_t separator[4] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) < 2) return '.';
    // A separator that is no plain character would not survive the texts.
    return separator[0] > 0x20 && separator[0] < 0x7F ? static_cast<char>(separator[0]) : '.';
}

std::string Win32Platform::CurrentDirectory() {
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH) return ".";
    return win32::Narrow(std::wstring_view(buf, n));
}

std::string Win32Platform::DateTimeText() {
    // The log asks for every line; the text changes once a second.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    if (std::memcmp(&now, &date_time_of_, sizeof now) == 0) return date_time_;
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 80);
    date_time_of_ = now;
    date_time_ = win32::Narrow(date) + " " + win32::Narrow(time);
    return date_time_;
}

}  // namespace lm
