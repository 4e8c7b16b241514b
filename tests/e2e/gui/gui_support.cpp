#include "tests/e2e/gui/gui_support.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <fstream>

namespace lm::gui {

namespace {

struct Search {
    std::wstring property;
    HWND found = nullptr;
};

BOOL CALLBACK MatchName(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (GetPropW(child, search->property.c_str()) == nullptr) return TRUE;
    search->found = child;
    return FALSE;
}

struct Collect {
    bool any_process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM context) {
    auto* collect = reinterpret_cast<Collect*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    // The common file dialogs share the class; their file type box (cmb1)
    // tells them apart, and a test answers them itself.
    if ((collect->any_process || process == GetCurrentProcessId()) && IsWindowVisible(window) &&
        std::wstring(name) == L"#32770" && GetDlgItem(window, cmb1) == nullptr) {
        collect->boxes.push_back(window);
    }
    return TRUE;
}

}  // namespace

HWND FindNamedWindow(HWND parent, const std::wstring& name) {
    Search search{L"LM:" + name};
    EnumChildWindows(parent, MatchName, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

LRESULT AskForm(HWND form, lm::win32::DrawnControlQuery& query) {
    static const UINT message = RegisterWindowMessageW(lm::win32::kDrawnControlMessageName);
    return SendMessageW(form, message, 0, reinterpret_cast<LPARAM>(&query));
}

}  // namespace

HWND FindControl(HWND parent, const std::wstring& name) {
    if (HWND found = FindNamedWindow(parent, name)) return found;
    // A box the form draws as its face gets its window, as the pointer moved
    // onto it would give it one.
    lm::win32::DrawnControlQuery query;
    query.name = name.c_str();
    query.make_real = TRUE;
    return AskForm(parent, query) == TRUE ? query.window : nullptr;
}

std::optional<lm::win32::DrawnControlQuery> Drawn(HWND form, const wchar_t* name) {
    lm::win32::DrawnControlQuery query;
    query.name = name;
    if (AskForm(form, query) != TRUE) return std::nullopt;
    return query;
}

RECT RectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring Text(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

namespace {

// Runs `use` on a device context of `window` with the window's font selected.
template <typename Use>
void WithFont(HWND window, Use use) {
    HDC dc = GetDC(window);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    use(dc);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
}

}  // namespace

LONG TextWidth(HWND window) {
    std::wstring text = Text(window);
    SIZE size{};
    WithFont(window, [&](HDC dc) {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    });
    return size.cx;
}

LONG TextWidth(HFONT font, const std::wstring& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

Face RealizedFace(HWND window) {
    Face face;
    WithFont(window, [&](HDC dc) {
        wchar_t name[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, name);
        face.name = name;
        UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
        if (size == 0) return;  // a bitmap face
        std::vector<char> buffer(size);
        auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, metrics) == 0) return;
        // The name lies in the buffer, at the offset the pointer field holds.
        auto offset = reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName);
        if (offset < sizeof *metrics || offset >= size) return;
        const auto* family = reinterpret_cast<const wchar_t*>(buffer.data() + offset);
        face.family.assign(family, wcsnlen(family, (size - offset) / sizeof(wchar_t)));
    });
    return face;
}

std::vector<std::wstring> Lines(HWND edit) {
    std::wstring text = Text(edit);
    std::vector<std::wstring> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    return lines;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Pump(int milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

bool PlayForm(const wchar_t* caption, const std::function<void(HWND form)>& user,
              const std::function<void()>& show, long long* shown_after_ms) {
    bool shown = false;
    const DWORD start = GetTickCount();
    std::thread player([&] {
        HWND form = nullptr;
        while (form == nullptr && GetTickCount() - start < 10000) {
            HWND w = FindWindowW(L"LMForm", caption);
            if (w != nullptr && IsWindowVisible(w)) form = w;
            if (form == nullptr) Sleep(2);
        }
        if (form == nullptr) return;
        if (shown_after_ms != nullptr) *shown_after_ms = GetTickCount() - start;
        shown = true;
        Sleep(150);  // the form's first paint
        user(form);
        for (int i = 0; i < 300 && IsWindow(form) && IsWindowVisible(form); ++i) Sleep(10);
        if (IsWindow(form) && IsWindowVisible(form)) PostMessageW(form, WM_CLOSE, 0, 0);
    });
    show();
    player.join();
    Pump(50);
    return shown;
}

BoxWatcher::BoxWatcher(bool any_process) : any_process_(any_process), thread_([this] { Run(); }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    thread_.join();
}

void BoxWatcher::Answer(int button) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(button);
}

std::vector<BoxWatcher::Box> BoxWatcher::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void BoxWatcher::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
    answers_.clear();
}

void BoxWatcher::Run() {
    while (!stop_) {
        Collect collect{any_process_, {}};
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&collect));
        Settle(collect.boxes);
        Sleep(20);
    }
}

void BoxWatcher::Settle(const std::vector<HWND>& boxes) {
    // The texts are read before the lock is taken: reading them sends messages
    // to the thread that shows the box, which may be waiting for the lock.
    std::vector<std::pair<std::wstring, std::wstring>> texts;
    for (HWND box : boxes) {
        wchar_t text[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        texts.emplace_back(Text(box), text);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(answered_, [](HWND box) { return !IsWindow(box); });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        HWND box = boxes[i];
        // A box answered and gone since it was listed has left answered_
        // above: it is no new box.
        if (!IsWindowVisible(box)) continue;
        bool seen = false;
        for (HWND done : answered_) seen = seen || done == box;
        if (seen) continue;
        int answer = IDNO;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        } else if (GetDlgItem(box, IDNO) == nullptr) {
            answer = GetDlgItem(box, IDCANCEL) != nullptr ? IDCANCEL : IDOK;
        }
        boxes_.push_back({texts[i].first, texts[i].second, answer});
        answered_.push_back(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
}

std::string ScreenshotDirectory() {
    const char* dir = std::getenv("LM_GUI_SCREENSHOTS");
    return dir == nullptr ? std::string() : std::string(dir);
}

std::wstring ScreenshotPath(const std::string& name) {
    std::string path = "Z:" + ScreenshotDirectory() + "/" + name + ".png";
    return std::wstring(path.begin(), path.end());
}

namespace {

// The program and the test that is running: "lm_gui_renderer_tests Renderer.Modal".
std::string RunningTest() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring program(module);
    program = program.substr(program.find_last_of(L"\\/") + 1);
    if (program.size() > 4 && _wcsicmp(program.c_str() + program.size() - 4, L".exe") == 0) {
        program.resize(program.size() - 4);
    }
    std::string test(program.begin(), program.end());
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        test += std::string(" ") + info->test_suite_name() + "." + info->name();
    }
    return test;
}

// One line per screenshot taken, in the order taken: name, test, width and
// height; the index of the run is written from it.
void Record(const std::string& name, const RECT& r) {
    std::ofstream manifest("Z:" + ScreenshotDirectory() + "/manifest.tsv", std::ios::app);
    manifest << name << '\t' << RunningTest() << '\t' << (r.right - r.left) << '\t'
             << (r.bottom - r.top) << '\n';
}

}  // namespace

bool StartShell(const std::string& command) {
    std::wstring wide = L"/bin/sh -c \"" + std::wstring(command.begin(), command.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    if (process.hProcess != nullptr) CloseHandle(process.hProcess);
    if (process.hThread != nullptr) CloseHandle(process.hThread);
    return true;
}

bool Screenshot(HWND window, const std::string& name) {
    std::string dir = ScreenshotDirectory();
    if (dir.empty()) return false;
    // Everything painted first; the X server shows what the windows drew.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(150);
    CreateDirectoryW(std::wstring(L"Z:" + std::wstring(dir.begin(), dir.end())).c_str(), nullptr);
    std::wstring target = ScreenshotPath(name);
    DeleteFileW(target.c_str());
    RECT r{};
    GetWindowRect(window, &r);
    // A Unix program started from Wine cannot be waited for: it renames its
    // file when done, and the test waits for the name.
    std::string file = dir + "/" + name + ".png";
    if (!StartShell("import -window root -crop " + std::to_string(r.right - r.left) + "x" +
                    std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) + "+" +
                    std::to_string(r.top) + " +repage 'png:" + file + ".part' && mv '" + file +
                    ".part' '" + file + "'")) {
        return false;
    }
    for (int waited = 0; waited < 15000; waited += 50) {
        if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Record(name, r);
            return true;
        }
        Pump(50);
    }
    return false;
}

}  // namespace lm::gui
