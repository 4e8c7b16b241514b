// The one door to the operating system. The core asks, the platform answers;
// the platform calls back into the core only through WindowEvents (the driver
// window's timer and messages). The DLL passes the Win32 implementation, Linux
// builds and the simulator the headless one, tests a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "ui/form.h"

namespace lm {

using WindowHandle = std::uintptr_t;  // 0 = none
using BitmapHandle = std::uintptr_t;  // 0 = none
using MenuHandle = std::uintptr_t;    // 0 = none
using AtomId = std::uint16_t;         // 0 = none

enum class BoxKind { Error, Question };  // Error: OK button; Question: Yes and No
// NotShown: the system could not show the box (no desktop, out of memory);
// nobody saw its text nor answered its question.
enum class BoxAnswer { Ok, Yes, No, NotShown };
// Normal: SW_SHOWNORMAL; Show: SW_SHOW (shown in its current size and place,
// as Notepad and ROZID7.EXE are after an export); Minimized; Hidden.
enum class ShowMode { Normal, Show, Minimized, Hidden };

struct ScreenSize {
    int width = 0, height = 0;
};

struct MenuEntry {
    std::uint16_t id = 0;
    std::string text;  // CP1250; empty with separator = true
    bool separator = false;
};

// What the driver window receives from the platform.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // The window's 100 ms timer.
    virtual void on_timer() = 0;
    // A window message; returns true when the driver handled it (result set).
    virtual bool on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                            std::intptr_t& result) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Modal message boxes. Texts are CP1250; "\r" separates lines.
    virtual BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) = 0;

    // Forms. A modal form runs until its handler closes it; the driver window
    // is modeless and lives from CreateDriverWindow to DestroyDriverWindow.
    virtual ui::ModalResult ShowModal(ui::Form& form) = 0;
    virtual WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) = 0;
    // Applies the form's current state (geometry, visibility, texts) to its window.
    virtual void UpdateWindow(ui::Form& form) = 0;
    virtual void DestroyDriverWindow(ui::Form& form) = 0;

    virtual void Beep() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    virtual ScreenSize Screen() = 0;

    // The shell's "open" action; the result code is above 32 on success.
    virtual int ShellOpen(const std::string& file, const std::string& parameters,
                          const std::string& directory, ShowMode show) = 0;
    // Help file at a numeric context.
    virtual void ShowHelp(const std::string& help_file, long context) = 0;
    // The system's save-file dialog with `title`, a filter of "description|pattern"
    // pairs joined by '|' and `file_name` as the proposed name. The chosen
    // path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& file_name) = 0;

    virtual BitmapHandle LoadBitmapFile(const std::string& path) = 0;
    virtual void FreeBitmap(BitmapHandle bitmap) = 0;

    // Popup menu for the host.
    virtual MenuHandle CreatePopupMenu(const std::vector<MenuEntry>& entries) = 0;
    virtual void EnableMenuItem(MenuHandle menu, std::uint16_t id, bool enabled) = 0;
    virtual void DestroyMenu(MenuHandle menu) = 0;

    // Registered window messages (0 = registration failed) and synchronous sending.
    virtual unsigned RegisterMessage(const std::string& name) = 0;
    // Sends the message and waits for the receiver's answer. Nothing when the
    // system could not deliver it: the window does not exist (any more), or
    // it belongs to a program that hangs or does not answer within a few
    // seconds, so a dead or stuck receiver never blocks the driver.
    virtual std::optional<std::intptr_t> SendMessageTo(WindowHandle window, unsigned msg,
                                                       std::uintptr_t wparam,
                                                       std::intptr_t lparam) = 0;
    // True while the handle names an existing window.
    virtual bool WindowExists(WindowHandle window) = 0;

    // Global atoms carrying texts of at most 255 characters.
    virtual AtomId AddGlobalAtom(const std::string& text) = 0;
    virtual std::string GlobalAtomName(AtomId atom) = 0;
    virtual void DeleteGlobalAtom(AtomId atom) = 0;

    // The driver window's 100 ms timer; false when the system could not set it
    // up (no driver window, or the system is out of timers).
    virtual bool StartTimer() = 0;
    virtual void StopTimer() = 0;

    virtual std::string CurrentDirectory() = 0;
    // The current local date and time: short date, a space, long time.
    virtual std::string DateTimeText() = 0;
    virtual char PathSeparator() = 0;

    // Every file the driver reads or writes.
    virtual Files& files() = 0;
    // The decimal separator of the user's number format (',' on a Czech
    // Windows): the reals the dialogs show and read.
    virtual char DecimalSeparator() = 0;
};

}  // namespace lm
