#include "frame/driver.h"

#include "exports/netlist_text.h"
#include "frame/driver_texts.h"
#include "frame/file_error_box.h"
#include "frame/netlist_sources.h"

namespace lm {

// The window comes first: its creation fixes the driver directory that every
// service is given.
Driver::Driver(DriverWide& wide)
    : window_(wide),
      context_{wide.platform, wide.log, wide.driver_dir},
      project_(context_, window_, startup_, wide.message_buffer, wide.data_changed),
      conversion_(context_, project_.library()),
      netlist_(
          wide.platform, wide.platform.files(), wide.log, context_.driver_dir, project_.instances(),
          project_.library(), [this] { return ReadActiveSettings(context_); },
          [this] { return KomunWindowOf(window_.handle(), window_.form()); }),
      cw_output_(wide.platform, wide.platform.files(), wide.log, context_.driver_dir,
                 [this] { return ReadActiveSettings(context_); }),
      run_(
          RunModeContext{wide.platform, wide.log, wide.driver_dir, window_.form(), window_.handle(),
                         wide.msg_rec_to_lmr, wide.msg_tolan, wide.in_entry, wide.send_msg_enabled},
          project_.instances(), RunLinks()),
      settings_dialogs_(SettingsDialogsOf(wide)),
      object_dialogs_({wide.platform, wide.log, wide.driver_dir, project_.instances(),
                       wide.data_changed, [this] { return run_.run_mode(); }}),
      menu_(context_, window_, startup_, project_.library(), project_.instances(),
            wide.send_msg_enabled, run_, netlist_, cw_output_, settings_dialogs_) {
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
    // LMKOMUN.INI without a netlist and with the host's checksum; when it
    // cannot be written the text of the error box.
    links.write_komun_ini = [this](std::uint32_t crc32, std::string& error) {
        error = netlist_.WriteNetList(crc32, nullptr, nullptr, kKomunFileName);
        return error.empty();
    };
    links.line_timeout = [this] { return ReadLineTimeout(context_); };
    links.run_mode_menu = [this](bool running) { menu_.RunModeMenu(running); };
    return links;
}

}  // namespace lm
