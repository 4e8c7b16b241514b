#include "frame/driver.h"

#include "base/cp1250.h"
#include "frame/driver_texts.h"
#include "frame/file_error_box.h"

namespace lm {

// The window comes first: its creation fixes the driver directory that every
// service is given.
Driver::Driver(DriverWide& wide)
    : window_(wide),
      context_{wide.platform, wide.log, wide.driver_dir},
      project_(context_, window_, startup_, wide.message_buffer, wide.data_changed),
      conversion_(context_, project_.library()),
      run_(
          RunModeContext{wide.platform, wide.log, wide.driver_dir, window_.form(), window_.handle(),
                         wide.msg_rec_to_lmr, wide.msg_tolan, wide.in_entry, wide.send_msg_enabled},
          project_.instances(), RunLinks()),
      settings_dialogs_(SettingsDialogsOf(wide)),
      menu_(context_, window_, startup_, project_.library(), wide.send_msg_enabled, run_,
            settings_dialogs_) {
    window_.ForwardEventsTo(&run_);
    window_.OpenAboutWith([this] { settings_dialogs_.AboutDialog(); });
    // The last step of the window's creation: the active communication settings.
    settings_dialogs_.ShowComSet();
}

Driver::~Driver() {
    window_.OpenAboutWith(nullptr);
    window_.ForwardEventsTo(nullptr);
}

dialogs::SettingsDialogsContext Driver::SettingsDialogsOf(DriverWide& wide) {
    Platform& platform = wide.platform;
    return {platform,
            wide.log,
            wide.driver_dir,
            window_.form(),
            [this] { window_.Refresh(); },
            texts::kIdentify,
            [&platform](std::string_view path, std::string_view action, std::string_view reason) {
                ShowFileError(platform, path, action, reason);
            }};
}

RunModeLinks Driver::RunLinks() {
    RunModeLinks links;
    // LMKOMUN.INI is not written by the driver yet: run mode checks only
    // that the communication settings exist, and fails as their reader does
    // when they do not.
    links.write_komun_ini = [this](std::uint32_t, std::string& error) {
        if (context_.platform.files().CanBeOpened(context_.DriverFile("SETCOM.INI"))) return true;
        context_.platform.Beep();
        context_.platform.ShowMessageBox(BoxKind::Error, "Nenalezen soubor SETCOM.INI");
        error = "Chybí soubor nastavení komunikace.\rNelze provést připojení k regulátoru."_cp;
        return false;
    };
    // The settings' own time-out is not read yet: run mode uses its default.
    links.line_timeout = [] { return std::optional<double>(); };
    links.run_mode_menu = [this](bool running) { menu_.RunModeMenu(running); };
    return links;
}

}  // namespace lm
