// DriverWindow: the driver window TLMDriverForm, from the host's load driver
// to its unload driver. The constructor runs the window's creation
// (Inicializace), the destructor its destruction (TotalKonec); the button
// handlers carry the names of their controls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "frame/driver_wide.h"
#include "frame/startup_options.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm {

class DriverWindow : public WindowEvents {
public:
    explicit DriverWindow(DriverWide& wide);  // Inicializace
    ~DriverWindow() override;                 // TotalKonec
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;

    ui::Form& form() { return *form_; }
    WindowHandle handle() const { return window_; }
    bool status_shown() const { return status_shown_; }

    // Handlers of the window's controls.
    void ButtonStatusClick();
    void Button1Click();
    void CheckLogClick();
    void ButtonClearClick();
    void ButtonHelpClick();
    void ButtonAboutClick();
    void CheckHraClick() {}

    // Opens or closes the status part of the window.
    void SetStatusShown(bool shown);
    // Shows or minimises the window, opens its status part and switches the
    // log as the start-up options say.
    void ApplyStartupOptions(const StartupOptions& options);
    // Adds a line at the end of Memo1 directly, not through the log.
    void AddMemoLine(std::string_view line);
    // Redraws the window after a change of the form's state.
    void Refresh();

    // Where the timer and the window's messages go (run mode); null: nowhere.
    void ForwardEventsTo(WindowEvents* events) { events_ = events; }
    // What "Co je..." opens (the about dialog); empty: nothing.
    void OpenAboutWith(std::function<void()> open) { open_about_ = std::move(open); }

    // WindowEvents: the run-mode timer and the messages of the communication program.
    void on_timer() override;
    bool on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                    std::intptr_t& result) override;

private:
    void RegisterMessages();

    DriverWide& wide_;
    Platform& platform_;
    std::unique_ptr<ui::Form> form_;
    WindowHandle window_ = 0;
    bool status_shown_ = false;
    WindowEvents* events_ = nullptr;
    std::function<void()> open_about_;
};

// The most lines Memo1 keeps; older lines leave at the top so a long session
// with logging on cannot fill the host's memory.
inline constexpr std::size_t kMemoLineLimit = 5000;

}  // namespace lm
