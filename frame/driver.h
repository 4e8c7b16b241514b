// Driver: the driver window TLMDriverForm and the state it holds between the
// host's load driver and unload driver calls. The constructor runs the window's
// creation (Inicializace), the destructor its destruction (TotalKonec); the
// button handlers carry the names of their controls.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/bounded_text.h"
#include "frame/driver_wide.h"
#include "frame/startup_options.h"
#include "instances/instance_list.h"
#include "library/object_library.h"
#include "platform/platform.h"
#include "ui/form.h"
#include "values/conversion_buffers.h"

namespace lm {

class Driver : public WindowEvents {
public:
    explicit Driver(DriverWide& wide);  // Inicializace
    ~Driver() override;                 // TotalKonec
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    ui::Form& form() { return *form_; }
    WindowHandle window() const { return window_; }

    // Handlers of the window's controls.
    void ButtonStatusClick();
    void Button1Click();
    void CheckLogClick();
    void ButtonClearClick();
    void ButtonHelpClick();
    void CheckHraClick() {}

    // Opens or closes the status part of the window.
    void SetStatusShown(bool shown);
    // Adds a line at the end of Memo1 directly, not through the log.
    void AddMemoLine(std::string_view line);
    // Redraws the window after a change of the form's state.
    void Refresh();

    // WindowEvents: the run-mode timer and the messages of the communication program.
    void on_timer() override;
    bool on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                    std::intptr_t& result) override;

    // --- State held by the window.
    bool status_shown = false;
    std::uint16_t last_menu_item = 0;      // LastMenuItem
    TextBuffer<kMaxText + 1> line_buffer;  // LineBuffer
    bool all_saved = false;
    MenuHandle menu = 0;
    StartupOptions startup;
    bool run_mode = false;
    WindowHandle client_window = 0;
    bool comm_error = false;
    bool timer_busy = false;
    std::array<std::string, 4> cw_files;  // PAR, DMF, CW, CP output file names
    ObjectLibrary library;                // tools, objects and bitmaps from TOOLS.INI
    InstanceList instances;               // the placed blocks
    ConversionBuffers conversion;         // the binary and text buffers of the conversion services

private:
    void RegisterMessages();

    DriverWide& wide_;
    Platform& platform_;
    std::unique_ptr<ui::Form> form_;
    WindowHandle window_ = 0;
};

// The most lines Memo1 keeps; older lines leave at the top so a long session
// with logging on cannot fill the host's memory.
inline constexpr std::size_t kMemoLineLimit = 5000;

}  // namespace lm
