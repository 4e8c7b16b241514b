#include "tools/lumarsim/form_player.h"

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "base/cp1250.h"

#if defined(_WIN32)
#include <windows.h>

#include "platform/win32/form_renderer.h"
#endif

namespace lumarsim {

FormQueue& FormQueue::Instance() {
    static FormQueue queue;
    return queue;
}

void FormQueue::StartForm() {
    std::lock_guard lock(mutex_);
    forms_.emplace_back();
}

bool FormQueue::AddStep(const std::string& step) {
    std::lock_guard lock(mutex_);
    if (forms_.empty()) return false;
    forms_.back() += step;
    forms_.back() += '\n';
    return true;
}

std::optional<std::string> FormQueue::Next() {
    std::lock_guard lock(mutex_);
    if (forms_.empty()) return std::nullopt;
    std::string steps = std::move(forms_.front());
    forms_.pop_front();
    return steps;
}

void FormQueue::Playing() {
    std::lock_guard lock(mutex_);
    ++playing_;
}

void FormQueue::Closed(const std::string& caption, bool closed_by_steps,
                       const std::string& problem) {
    std::string line = "form \"";
    line += lm::Cp1250ToUtf8(caption);
    line += "\" ";
    line += closed_by_steps ? "closed by its steps" : "dismissed";
    if (!problem.empty()) {
        line += "; ";
        line += lm::Cp1250ToUtf8(problem);
    }
    {
        std::lock_guard lock(mutex_);
        reports_.push_back(std::move(line));
        if (!problem.empty()) ++problems_;
        if (playing_ > 0) --playing_;
    }
    played_.notify_all();
}

std::size_t FormQueue::TakeProblems() {
    std::lock_guard lock(mutex_);
    return std::exchange(problems_, 0);
}

std::vector<std::string> FormQueue::TakeReports() {
    std::unique_lock lock(mutex_);
    played_.wait_for(lock, std::chrono::seconds(2), [this] { return playing_ == 0; });
    return std::exchange(reports_, {});
}

const char* NextStepsForDriver() {
    FormQueue& queue = FormQueue::Instance();
    std::optional<std::string> steps = queue.Next();
    if (!steps) return nullptr;
    std::lock_guard lock(queue.mutex_);
    queue.current_ = std::move(*steps);
    return queue.current_.c_str();
}

}  // namespace lumarsim

#if !defined(_WIN32)
// The hooks liblmdriver.so's headless platform looks up in this program.
extern "C" __attribute__((visibility("default"))) const char* lm_headless_form_steps(const char*) {
    return lumarsim::NextStepsForDriver();
}

extern "C" __attribute__((visibility("default"))) void lm_headless_form_closed(
    const char* caption, int closed_by_steps, const char* problem) {
    lumarsim::FormQueue::Instance().Closed(caption != nullptr ? caption : "", closed_by_steps != 0,
                                           problem != nullptr ? problem : "");
}
#endif

namespace lumarsim {

#if defined(_WIN32)
namespace {

constexpr wchar_t kFormClass[] = L"LMForm";
constexpr int kStepWaitMs = 20;

struct ControlSearch {
    std::wstring property;
    HWND found = nullptr;
};

BOOL CALLBACK FindNamed(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetPropW(child, search->property.c_str()) != nullptr) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The control named `name`, reached as the hand reaches it: a box that the
// form draws as its face gets its window as the pointer moved onto it would
// give it one.
HWND FindControl(HWND form, const std::wstring& name) {
    ControlSearch search{L"LM:" + name};
    EnumChildWindows(form, FindNamed, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    static const UINT message = RegisterWindowMessageW(lm::win32::kDrawnControlMessageName);
    lm::win32::DrawnControlQuery query;
    query.name = name.c_str();
    query.make_real = TRUE;
    if (SendMessageW(form, message, 0, reinterpret_cast<LPARAM>(&query)) != TRUE) return nullptr;
    return query.window;
}

std::wstring Wide(const std::string& cp1250) {
    std::u16string u = lm::Cp1250ToUtf16(cp1250);
    return std::wstring(u.begin(), u.end());
}

std::string Cp1250(const std::wstring& text) {
    return lm::Utf16ToCp1250(std::u16string(text.begin(), text.end()));
}

// The words joined, built with += (a chain of + on a literal trips a false
// warning of GCC 12 for i686).
std::string Said(std::initializer_list<std::string_view> words) {
    std::string text;
    for (std::string_view word : words) text += word;
    return text;
}

// The next word of a line, blanks skipped.
std::string Word(std::string& line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) {
        line.clear();
        return {};
    }
    const std::size_t end = line.find(' ', start);
    std::string word = line.substr(start, end - start);
    line = end == std::string::npos ? std::string() : line.substr(end + 1);
    return word;
}

// One step, as the user's hand would make it; empty when played.
std::string PlayStep(HWND form, std::string line) {
    const std::string verb = Word(line);
    const std::string name = Word(line);
    HWND control = FindControl(form, Wide(name));
    if (control == nullptr) return Said({"no control \"", name, "\""});
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return Said({name, " is hidden or disabled"});
    auto notify = [&](WORD code) {
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                     reinterpret_cast<LPARAM>(control));
    };
    wchar_t window_class[32] = {};
    GetClassNameW(control, window_class, 32);
    const bool combo = _wcsicmp(window_class, L"ComboBox") == 0;
    if (verb == "press") {
        SendMessageW(control, BM_CLICK, 0, 0);
    } else if (verb == "set") {
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
    } else if (verb == "select") {
        char* end = nullptr;
        const long item = std::strtol(line.c_str(), &end, 10);
        const LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        if (line.empty() || *end != '\0' || item < 0 || item >= count)
            return Said({"no item ", line, " in ", name});
        SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(item), 0);
        notify(combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    } else if (verb == "dblclick") {
        notify(LBN_DBLCLK);
    } else if (verb == "key") {
        if (line != "up" && line != "down") return Said({"no key \"", line, "\" for ", name});
        SendMessageW(control, WM_KEYDOWN, line == "up" ? VK_UP : VK_DOWN, 0);
    } else if (verb == "tick") {
        // The entry that reads TEXT or starts with TEXT and a space, chosen and
        // its box toggled with Space as the keyboard does.
        const std::wstring text = Wide(line);
        const LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
        LRESULT found = -1;
        for (LRESULT i = 0; i < count && found < 0; ++i) {
            const LRESULT length = SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            if (length < 0) continue;
            std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(entry.data()));
            entry.resize(static_cast<std::size_t>(length));
            if (entry == text ||
                (entry.size() > text.size() && entry.compare(0, text.size(), text) == 0 &&
                 entry[text.size()] == L' '))
                found = i;
        }
        if (found < 0) return Said({"no entry \"", line, "\" in ", name});
        SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
        SendMessageW(control, WM_KEYDOWN, VK_SPACE, 0);
    } else {
        return Said({"no step \"", verb, "\""});
    }
    return {};
}

bool Gone(HWND form, int wait_ms) {
    for (int waited = 0; waited <= wait_ms; waited += kStepWaitMs) {
        if (!IsWindow(form) || !IsWindowVisible(form)) return true;
        Sleep(kStepWaitMs);
    }
    return false;
}

void Play(HWND form) {
    wchar_t title[256] = {};
    GetWindowTextW(form, title, 256);
    const std::string caption = Cp1250(title);
    FormQueue::Instance().Playing();
    std::optional<std::string> steps = FormQueue::Instance().Next();
    std::string problem;
    bool closed = false;
    std::size_t start = 0;
    while (steps && start < steps->size() && !closed && problem.empty()) {
        std::size_t end = steps->find('\n', start);
        if (end == std::string::npos) end = steps->size();
        const std::string line = steps->substr(start, end - start);
        start = end + 1;
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        if (std::string why = PlayStep(form, line); !why.empty()) problem = Said({line, ": ", why});
        closed = Gone(form, 0);
    }
    if (!closed) closed = Gone(form, 500);
    if (!closed) PostMessageW(form, WM_CLOSE, 0, 0);  // nobody else will close it
    FormQueue::Instance().Closed(caption, closed, problem);
}

}  // namespace

FormPlayer::FormPlayer()
    : watcher_([](HWND window) { return ClassOf(window) == kFormClass; }, Play, kStepWaitMs) {}
#else
FormPlayer::FormPlayer() = default;
#endif

FormPlayer::~FormPlayer() = default;

}  // namespace lumarsim
