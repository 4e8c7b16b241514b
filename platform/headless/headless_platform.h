// The platform without a screen: Linux builds, the simulator and the tests.
// Deterministic and in-process: message boxes are printed to standard error in
// UTF-8 and answered with their default button (OK, Yes) unless answers are
// queued; windows, registered messages, atoms, menus and the timer are tables
// in memory; the timer runs only when Tick() is called. Files are the system's.
// A modal form plays the steps queued for it (platform/headless/form_steps.h)
// and closes as dismissed when they leave it open or there are none.
#pragma once

#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/system_files.h"

// A program that loads liblmdriver.so plays the modal forms of the driver by
// exporting these two C functions (lumarsim does): the platform asks the first
// for the steps of each modal form it shows (null: none) and tells the second
// how the form ended: closed by its steps, or left open and dismissed, and
// what stopped the steps (null: nothing).
extern "C" {
using LmHeadlessFormSteps = const char* (*)(const char* caption);
using LmHeadlessFormClosed = void (*)(const char* caption, int closed_by_steps,
                                      const char* problem);
}
inline constexpr const char kFormStepsHook[] = "lm_headless_form_steps";
inline constexpr const char kFormClosedHook[] = "lm_headless_form_closed";

namespace lm {

class HeadlessPlatform : public Platform {
public:
    using WindowProc = std::function<std::intptr_t(unsigned, std::uintptr_t, std::intptr_t)>;
    using ProgramRunner = std::function<int(const std::string& file, const std::string& params,
                                            const std::string& dir, ShowMode show)>;

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
    ui::ModalResult ShowModal(ui::Form& form) override;
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override;
    void UpdateWindow(ui::Form& form) override;
    void DestroyDriverWindow(ui::Form& form) override;
    void Beep() override {}
    void SetBusyCursor(bool busy) override { busy_cursor_ = busy; }
    ScreenSize Screen() override { return screen_; }
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override;
    void ShowHelp(const std::string& help_file, long context) override;
    // No user to choose: cancelled.
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    BitmapHandle LoadBitmapFile(const std::string& path) override;
    void FreeBitmap(BitmapHandle bitmap) override;
    MenuHandle CreatePopupMenu(const std::vector<MenuEntry>& entries) override;
    void EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) override;
    void DestroyMenu(MenuHandle menu) override;
    unsigned RegisterMessage(const std::string& name) override;
    std::optional<std::intptr_t> SendMessageTo(WindowHandle window, unsigned msg,
                                               std::uintptr_t wparam,
                                               std::intptr_t lparam) override;
    bool WindowExists(WindowHandle window) override;
    AtomId AddGlobalAtom(const std::string& text) override;
    std::string GlobalAtomName(AtomId atom) override;
    void DeleteGlobalAtom(AtomId atom) override;
    bool StartTimer() override {
        timer_running_ = true;
        return true;
    }
    void StopTimer() override { timer_running_ = false; }
    std::string CurrentDirectory() override;
    std::string DateTimeText() override;
    char PathSeparator() override { return '/'; }
    Files& files() override { return *files_; }
    char DecimalSeparator() override { return '.'; }

    // --- What the simulator and the tests use to play the rest of the system.
    // Answers for the next message boxes, in order; the default button when empty.
    void QueueAnswer(BoxAnswer answer) { answers_.push_back(answer); }
    // Steps for the next modal forms, one text each (one step a line); they
    // come before the process's own (lm_headless_form_steps).
    void QueueFormSteps(std::string steps) { form_steps_.push_back(std::move(steps)); }
    // A window of another program (the host's, the communication program's).
    WindowHandle AddWindow(WindowProc proc);
    void RemoveWindow(WindowHandle window);
    // Starts programs instead of the shell (the communication program stand-in).
    void SetProgramRunner(ProgramRunner runner) { runner_ = std::move(runner); }
    // One timer period: calls the driver window's timer when it runs.
    void Tick();
    void SetScreen(ScreenSize size) { screen_ = size; }
    void SetQuiet(bool quiet) { quiet_ = quiet; }

    bool timer_running() const { return timer_running_; }
    bool busy_cursor() const { return busy_cursor_; }
    int live_bitmaps() const { return static_cast<int>(bitmaps_.size()); }
    int live_atoms() const { return static_cast<int>(atoms_.size()); }
    WindowHandle driver_window() const { return driver_window_; }
    struct MenuItemState {
        MenuEntry entry;
        bool enabled = true;
    };
    // The items of a live menu (empty when the handle is not a live menu).
    std::vector<MenuItemState> MenuItems(MenuHandle menu) const;
    int live_menus() const { return static_cast<int>(menus_.size()); }

protected:
    void Print(std::string_view cp1250_text) const;

private:
    struct AtomEntry {
        std::string text;
        int references = 0;
    };
    std::deque<BoxAnswer> answers_;
    std::deque<std::string> form_steps_;
    ScreenSize screen_{1024, 768};
    bool busy_cursor_ = false;
    bool timer_running_ = false;
    bool quiet_ = false;
    WindowHandle next_window_ = 0x1000;
    WindowHandle driver_window_ = 0;
    WindowEvents* driver_events_ = nullptr;
    std::map<WindowHandle, WindowProc> windows_;
    std::map<std::string, unsigned> messages_;
    std::map<AtomId, AtomEntry> atoms_;
    std::map<BitmapHandle, std::string> bitmaps_;
    BitmapHandle next_bitmap_ = 0x2000;
    std::map<MenuHandle, std::vector<MenuItemState>> menus_;
    MenuHandle next_menu_ = 0x3000;
    ProgramRunner runner_;
    std::unique_ptr<Files> files_ = MakeSystemFiles();
    std::time_t date_time_of_ = -1;
    std::string date_time_;
};

}  // namespace lm
