// The real platform inside LMDRIVER.DLL: the driver window, timer and window
// procedure, registered messages, atoms, message boxes in the wide API, the
// shell, help, bitmaps and menus.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/platform.h"
#include "platform/system_files.h"
#include "platform/win32/form_renderer.h"

namespace lm {

// The DLL's module handle, for the driver window's class.
void SetModuleInstance(HINSTANCE instance);

class Win32Platform : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
    ui::ModalResult ShowModal(ui::Form& form) override;
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override;
    void UpdateWindow(ui::Form& form) override;
    void DestroyDriverWindow(ui::Form& form) override;
    void Beep() override;
    void SetBusyCursor(bool busy) override;
    ScreenSize Screen() override;
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override;
    void ShowHelp(const std::string& help_file, long context) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& file_name) override;
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
    bool StartTimer() override;
    void StopTimer() override;
    std::string CurrentDirectory() override;
    std::string DateTimeText() override;
    char PathSeparator() override { return '\\'; }
    Files& files() override { return *files_; }
    char DecimalSeparator() override;

private:
    HWND DriverHwnd() const { return driver_window_ ? driver_window_->hwnd() : nullptr; }
    bool OnDriverMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);

    std::unique_ptr<win32::FormWindow> driver_window_;
    WindowEvents* events_ = nullptr;
    HCURSOR saved_cursor_ = nullptr;
    std::unique_ptr<Files> files_ = MakeSystemFiles();
    SYSTEMTIME date_time_of_{};
    std::string date_time_;
};

}  // namespace lm
