#include "platform/headless/headless_platform.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include "base/cp1250.h"
#include "platform/headless/form_steps.h"

namespace lm {
namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

struct FormHooks {
    LmHeadlessFormSteps steps = nullptr;
    LmHeadlessFormClosed closed = nullptr;
};

// The form hooks of the program that loaded the driver, if it has them.
FormHooks ProcessFormHooks() {
    FormHooks hooks;
#if !defined(_WIN32)
    hooks.steps = reinterpret_cast<LmHeadlessFormSteps>(dlsym(RTLD_DEFAULT, kFormStepsHook));
    hooks.closed = reinterpret_cast<LmHeadlessFormClosed>(dlsym(RTLD_DEFAULT, kFormClosedHook));
#endif
    return hooks;
}

}  // namespace

void HeadlessPlatform::Print(std::string_view cp1250_text) const {
    if (quiet_) return;
    std::string utf8 = Cp1250ToUtf8(cp1250_text);
    std::fprintf(stderr, "%s\n", utf8.c_str());
}

BoxAnswer HeadlessPlatform::ShowMessageBox(BoxKind kind, std::string_view text) {
    BoxAnswer answer = kind == BoxKind::Error ? BoxAnswer::Ok : BoxAnswer::Yes;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    std::string shown = kind == BoxKind::Error ? "[box: error] " : "[box: question] ";
    for (char c : text) shown += c == '\r' ? ' ' : c;
    shown += answer == BoxAnswer::Ok    ? " -> OK"
             : answer == BoxAnswer::Yes ? " -> Yes"
             : answer == BoxAnswer::No  ? " -> No"
                                        : " -> not shown";
    Print(shown);
    return answer;
}

ui::ModalResult HeadlessPlatform::ShowModal(ui::Form& form) {
    Print("[dialog] " + form.caption);
    const FormHooks hooks = ProcessFormHooks();
    std::optional<std::string> steps;
    if (!form_steps_.empty()) {
        steps = std::move(form_steps_.front());
        form_steps_.pop_front();
    } else if (hooks.steps != nullptr) {
        if (const char* given = hooks.steps(form.caption.c_str())) steps = given;
    }
    std::string problem;
    if (steps) problem = PlayFormSteps(form, *steps);
    if (!problem.empty()) Print("[dialog] " + problem);
    // Steps that leave the form open end as a dismissal: nobody else can click.
    const bool closed = form.modal_result != ui::ModalResult::None;
    if (hooks.closed != nullptr)
        hooks.closed(form.caption.c_str(), closed ? 1 : 0,
                     problem.empty() ? nullptr : problem.c_str());
    return closed ? form.modal_result : ui::ModalResult::Cancel;
}

WindowHandle HeadlessPlatform::CreateDriverWindow(ui::Form&, WindowEvents& events) {
    driver_window_ = next_window_++;
    driver_events_ = &events;
    return driver_window_;
}

void HeadlessPlatform::UpdateWindow(ui::Form&) {}

void HeadlessPlatform::DestroyDriverWindow(ui::Form&) {
    driver_window_ = 0;
    driver_events_ = nullptr;
    timer_running_ = false;
}

int HeadlessPlatform::ShellOpen(const std::string& file, const std::string& parameters,
                                const std::string& directory, ShowMode show) {
    if (runner_) return runner_(file, parameters, directory, show);
    Print("[start] " + file + " " + parameters);
    constexpr int kFileNotFound = 2, kNoAssociation = 31;
    return files().CanBeOpened(file) ? kNoAssociation : kFileNotFound;
}

void HeadlessPlatform::ShowHelp(const std::string& help_file, long context) {
    Print("[help] " + help_file + " @ " + std::to_string(context));
}

BitmapHandle HeadlessPlatform::LoadBitmapFile(const std::string& path) {
    if (!files().CanBeOpened(path)) return 0;
    BitmapHandle handle = next_bitmap_++;
    bitmaps_.emplace(handle, path);
    return handle;
}

void HeadlessPlatform::FreeBitmap(BitmapHandle bitmap) {
    bitmaps_.erase(bitmap);
}

MenuHandle HeadlessPlatform::CreatePopupMenu(const std::vector<MenuEntry>& entries) {
    MenuHandle handle = next_menu_++;
    auto& items = menus_[handle];
    for (const auto& entry : entries) items.push_back({entry, true});
    return handle;
}

void HeadlessPlatform::EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) {
    auto it = menus_.find(menu);
    if (it == menus_.end()) return;
    for (auto& item : it->second) {
        if (item.entry.id == id) item.enabled = enabled;
    }
}

void HeadlessPlatform::DestroyMenu(MenuHandle menu) {
    menus_.erase(menu);
}

std::vector<HeadlessPlatform::MenuItemState> HeadlessPlatform::MenuItems(MenuHandle menu) const {
    auto it = menus_.find(menu);
    return it == menus_.end() ? std::vector<MenuItemState>{} : it->second;
}

unsigned HeadlessPlatform::RegisterMessage(const std::string& name) {
    if (name.empty()) return 0;
    std::string key = Upper(name);
    auto it = messages_.find(key);
    if (it != messages_.end()) return it->second;
    unsigned id = 0xC000 + static_cast<unsigned>(messages_.size());
    messages_.emplace(key, id);
    return id;
}

std::optional<std::intptr_t> HeadlessPlatform::SendMessageTo(WindowHandle window, unsigned msg,
                                                             std::uintptr_t wparam,
                                                             std::intptr_t lparam) {
    if (window != 0 && window == driver_window_ && driver_events_ != nullptr) {
        std::intptr_t result = 0;
        driver_events_->on_message(msg, wparam, lparam, result);
        return result;
    }
    auto it = windows_.find(window);
    if (it == windows_.end()) return std::nullopt;
    WindowProc proc = it->second;  // the window may remove itself while handling
    return proc(msg, wparam, lparam);
}

bool HeadlessPlatform::WindowExists(WindowHandle window) {
    return window != 0 && (window == driver_window_ || windows_.count(window) != 0);
}

WindowHandle HeadlessPlatform::AddWindow(WindowProc proc) {
    WindowHandle handle = next_window_++;
    windows_.emplace(handle, std::move(proc));
    return handle;
}

void HeadlessPlatform::RemoveWindow(WindowHandle window) {
    windows_.erase(window);
}

AtomId HeadlessPlatform::AddGlobalAtom(const std::string& text) {
    // As the system's global atom table: case-insensitive, reference-counted,
    // 1 to 255 characters.
    if (text.empty() || text.size() > 255) return 0;
    std::string key = Upper(text);
    for (auto& [id, entry] : atoms_) {
        if (Upper(entry.text) == key) {
            ++entry.references;
            return id;
        }
    }
    AtomId id = 0xC000;
    while (atoms_.count(id) != 0) ++id;
    atoms_.emplace(id, AtomEntry{text, 1});
    return id;
}

std::string HeadlessPlatform::GlobalAtomName(AtomId atom) {
    auto it = atoms_.find(atom);
    return it == atoms_.end() ? std::string() : it->second.text;
}

void HeadlessPlatform::DeleteGlobalAtom(AtomId atom) {
    auto it = atoms_.find(atom);
    if (it != atoms_.end() && --it->second.references <= 0) atoms_.erase(it);
}

void HeadlessPlatform::Tick() {
    if (timer_running_ && driver_events_ != nullptr) driver_events_->on_timer();
}

std::string HeadlessPlatform::CurrentDirectory() {
    std::error_code error;
    auto path = std::filesystem::current_path(error);
    return error ? std::string(".") : path.string();
}

std::string HeadlessPlatform::DateTimeText() {
    // The log asks for every line; the text changes once a second.
    std::time_t now = std::time(nullptr);
    if (now == date_time_of_) return date_time_;
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d.%d.%d %d:%02d:%02d", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    date_time_of_ = now;
    date_time_ = buf;
    return date_time_;
}

}  // namespace lm
