// ROZID7.EXE, the stand-in for the communication program, as a Windows
// program of its own: it reads LMKOMUN.INI beside its executable, finds the
// driver window by the file's HWND line, announces its own window with
// MSG_TOLAN wParam 0 and then answers the driver's texts (global atoms with
// MSG_TOLAN wParam 1) from the simulated controller of its core, with
// MSG_TOLAN wParam 2. Its window lists the traffic.
//
//   ROZID7.EXE /DDE 0000     run mode (the driver's StartRUN), minimised
//   ROZID7.EXE /K            the keyboard: lists the controller's program
//   ROZID7.EXE /READALL      lists the whole simulated memory
//   ... /LATE 3 /DROP 2 /GARBAGE /SHORT /COM_ERROR 5 /USER_CLOSE 5 /DIE 5 /SILENT
//                            misbehaviour on purpose, as "SIMULATE" lines in
//                            LMKOMUN.INI or ROZID7.INI beside it do
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/window_messages.h"
#include "platform/system_files.h"
#include "platform/win32/win32_text.h"
#include "tools/rozid7/rozid7_core.h"

namespace {

using lm::rozid7::CommandLine;

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 100;
// A driver that does not take a message within this time is treated as
// gone for that message; the program never hangs on it.
constexpr UINT kSendTimeoutMs = 3000;
constexpr LRESULT kMaxListLines = 500;
constexpr wchar_t kClassName[] = L"Rozid7StandIn";

struct Program {
    UINT msg_tolan = 0;
    HWND window = nullptr;
    HWND list = nullptr;
    HWND driver = nullptr;
    CommandLine::Mode mode = CommandLine::Mode::Run;
    std::unique_ptr<lm::rozid7::Core> core;
    bool announced = false;
    bool ending = false;
};
Program g;

void Show(const std::string& line) {
    if (g.list == nullptr) return;
    if (SendMessageW(g.list, LB_GETCOUNT, 0, 0) >= kMaxListLines)
        SendMessageW(g.list, LB_DELETESTRING, 0, 0);
    const std::wstring text = lm::win32::Wide(line);
    const LRESULT at =
        SendMessageW(g.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0) SendMessageW(g.list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

// Sends MSG_TOLAN to the driver window, bounded in time.
void SendToDriver(WPARAM code, LPARAM lparam) {
    if (g.driver == nullptr || !IsWindow(g.driver)) return;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(g.driver, g.msg_tolan, code, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &answer) == 0) {
        Show("!! the driver window did not take the message");
    }
}

void SendText(const std::string& text) {
    const ATOM atom = GlobalAddAtomW(lm::win32::Wide(text).c_str());
    if (atom == 0) {
        Show("!! no atom for the text");
        return;
    }
    SendToDriver(2, static_cast<LPARAM>(atom));
    GlobalDeleteAtom(atom);  // the sender owns its atom
}

// The program's folder, from its own file name.
std::string OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return lm::win32::Narrow(folder);
}

void EndProgram() {
    if (g.ending) return;
    g.ending = true;
    // Posted: the driver's send that brought "CLOSE|" returns first.
    PostMessageW(g.window, WM_CLOSE, 0, 0);
}

void Receive(const std::string& text) {
    if (!g.core || g.core->closed() || g.core->dead()) return;
    g.core->Receive(text);
    if (g.core->dead()) ExitProcess(3);  // without a word, as a crash would
    if (g.core->closed()) {
        EndProgram();
    } else if (text == "DIALOG SHOW|") {
        ShowWindow(g.window, SW_RESTORE);
    } else if (text == "DIALOG HIDE|") {
        ShowWindow(g.window, SW_HIDE);
    }
}

void Tick() {
    if (g.mode != CommandLine::Mode::Run || !g.core || g.ending) return;
    if (!IsWindow(g.driver)) {
        Show("the driver window is gone: the program ends");
        EndProgram();
        return;
    }
    if (!g.announced && !g.core->misbehaviour().silent) {
        g.announced = true;
        SendToDriver(0, reinterpret_cast<LPARAM>(g.window));
    }
    g.core->Tick();
    if (g.core->dead()) ExitProcess(3);
    if (g.core->closed()) EndProgram();
}

// The listing of /K and /READALL.
void ListMemory(const lm::rozid7::Komun& komun) {
    char line[64];
    if (g.mode == CommandLine::Mode::Keyboard) {
        std::snprintf(line, sizeof line, "keyboard: the program has %zu writes",
                      komun.program.size());
        Show(line);
    }
    for (const auto& w : komun.program) {
        std::snprintf(line, sizeof line, "%02X %02X %02X = %02X %02X %02X %02X", w.obj, w.instance,
                      w.item, w.value[0], w.value[1], w.value[2], w.value[3]);
        Show(line);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == g.msg_tolan && g.msg_tolan != 0) {
        if (wparam == 1) {
            wchar_t name[256] = {};
            const UINT n = GlobalGetAtomNameW(static_cast<ATOM>(lparam), name, 256);
            Receive(lm::win32::Narrow(std::wstring_view(name, n)));
        }
        return 0;
    }
    switch (msg) {
        case WM_TIMER:
            if (wparam == kTickTimer) Tick();
            return 0;
        case WM_SIZE:
            if (g.list != nullptr) MoveWindow(g.list, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
            return 0;
        case WM_CLOSE:
            // Closed by its user in run mode: the driver hears why.
            if (g.core && g.mode == CommandLine::Mode::Run) g.core->UserClose();
            KillTimer(hwnd, kTickTimer);
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wparam, lparam);
    }
}

std::string CommandLineText() {
    // The parameters alone: GetCommandLineW starts with the program's name.
    std::wstring line = GetCommandLineW();
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"') {
        at = line.find(L'"', 1);
        at = at == std::wstring::npos ? line.size() : at + 1;
    } else {
        at = line.find(L' ');
        if (at == std::wstring::npos) at = line.size();
    }
    return lm::win32::Narrow(std::wstring_view(line).substr(at));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const CommandLine command_line = lm::rozid7::ReadCommandLine(CommandLineText());
    g.mode = command_line.mode;
    const std::string folder = OwnFolder();
    const std::optional<std::string> ini = lm::MakeSystemFiles()->ReadWhole(folder + "LMKOMUN.INI");
    lm::rozid7::Komun komun = lm::rozid7::ReadKomun(ini.value_or(std::string()));
    lm::rozid7::ReadOwnSettings(
        lm::MakeSystemFiles()->ReadWhole(folder + lm::rozid7::kOwnSettingsFile).value_or(""),
        komun.misbehaviour);
    for (const std::string& setting : command_line.misbehaviour)
        lm::rozid7::ReadMisbehaviour(setting, komun.misbehaviour);
    g.driver = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(komun.driver_window));
    // Without the HWND line the driver window is found by its class.
    if (g.driver == nullptr) g.driver = FindWindowW(L"LMDriverWindow", nullptr);
    // In run mode there is nobody to talk to without the driver window.
    if (g.mode == CommandLine::Mode::Run && (g.driver == nullptr || !IsWindow(g.driver))) return 2;

    g.msg_tolan = RegisterWindowMessageA(lm::kMsgTolan);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    g.window =
        CreateWindowW(kClassName, L"ROZID7 - KADEX-RX7 (simulace)", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 420, 300, nullptr, nullptr, instance, nullptr);
    if (g.window == nullptr || g.msg_tolan == 0) return 1;
    g.list = CreateWindowW(L"LISTBOX", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                           g.window, nullptr, instance, nullptr);
    SendMessageW(g.list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), 0);
    RECT client{};
    GetClientRect(g.window, &client);
    MoveWindow(g.list, 0, 0, client.right, client.bottom, FALSE);

    g.core = std::make_unique<lm::rozid7::Core>(komun, SendText);
    g.core->SetTrafficView(Show);
    for (const std::string& word : command_line.unknown) Show("ignored: " + word);
    if (!ini) Show("LMKOMUN.INI not found beside ROZID7.EXE");
    if (g.mode != CommandLine::Mode::Run) ListMemory(komun);
    ShowWindow(g.window, show);
    SetTimer(g.window, kTickTimer, kTickMs, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
