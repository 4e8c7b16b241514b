// init objects: the start-up options are applied and the object library is
// built from TOOLS.INI; the host receives the object and tool lists.
#include "base/cp1250.h"
#include "base/number_text.h"
#include "frame/driver_window_form.h"
#include "frame/entry.h"
#include "frame/error_texts.h"
#include "library/dump_library.h"
#include "library/tools.h"
#include "values/number_texts.h"

namespace lm {

void Entry::ApplyStartupOptions() {
    Driver& d = *driver_;
    ui::Form& window = d.form();
    if (d.startup.hide_dialog) window.visible = false;
    if (window.visible) {
        window.state = ui::WindowState::Normal;
        d.SetStatusShown(d.startup.status_dialog);
    } else {
        window.state = ui::WindowState::Minimized;
        d.status_shown = d.startup.status_dialog;
    }
    wide_.log.set_enabled(d.startup.log_file);
    window["CheckLog"].checked = d.startup.log_file;
    d.Refresh();
}

bool Entry::InitObjects(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    Log& log = wide_.log;
    platform_->SetBusyCursor(true);
    log.Write("LM ENTRY: init objects - begin");
    const std::string startup_file = wide_.DriverFile(kStartupFileName);
    const std::string tools_file = wide_.DriverFile("TOOLS.INI");
    Files& files = platform_->files();
    if (!files.CanBeOpened(startup_file)) {
        d.startup = StartupOptions{};
        // Should the write fail, the file is still missing below: error 1.
        SaveStartup(files, wide_.driver_dir, kNoLabelTable, d.startup);
        platform_->ShowMessageBox(BoxKind::Error,
                                  "Startovacího soubor STARTUP.INI nebyl nalezen.\r"
                                  "Bylo použito počáteční nastavení."_cp);
    }
    if (!files.CanBeOpened(tools_file) || !files.CanBeOpened(startup_file) || !d.library.empty()) {
        record.error = kErrInitObjects;
        log.Write("LM ENTRY: init objects - END ERROR");
        platform_->SetBusyCursor(false);
        return true;
    }

    log.Write("LM ENTRY : StartUp.INI");
    std::string label;
    if (LoadStartup(files, wide_.driver_dir, label, kMaxText, d.startup, log)) {
        ApplyStartupOptions();
    } else {
        platform_->ShowMessageBox(BoxKind::Error, "Chyba startovacího souboru\r"_cp + startup_file);
    }

    log.Write("LM ENTRY: init objects - load tools");
    std::string error;
    LOAD_TOOLS(files, tools_file, wide_.driver_dir, d.library, error, kMaxText, log);
    // A load stopped by a faulty object keeps what came before it; its
    // message stays in MessageBuffer, where errtext hands texts out.
    if (!error.empty()) wide_.message_buffer.Store(error);

    ui::Control& base = d.form()["lBase"];
    if (d.library.firmware_low == 0 && d.library.firmware_high == 0) {
        base.text = "Firmware: <vypnuto>";
    } else {
        base.text = "Pro firmware: " + FIRMWARE_TEXT(d.library.firmware_low) + " až "_cp +
                    FIRMWARE_TEXT(d.library.firmware_high);
    }
    d.Refresh();

    record.error = kErrOk;
    const std::size_t count = d.library.objects.size();
    record.wparam1 = static_cast<std::uint16_t>(count);
    log.WriteWith(
        [&] { return "pocet objektu : " + RightAligned(static_cast<long long>(count), 3); });
    record.pointer1 = d.library.objects.head();
    record.pointer2 = d.library.tools.head();
    DumpLibrary(d.library, log);
    log.Write("LM ENTRY: init objects - END OK");
    platform_->SetBusyCursor(false);
    return true;
}

}  // namespace lm
