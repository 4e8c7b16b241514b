#include "frame/driver.h"

#include "exports/netlist_text.h"
#include "frame/driver_texts.h"
#include "frame/netlist_sources.h"

namespace lm {

// The window comes first: its creation fixes the driver directory that every
// service is given.
Driver::Driver(DriverWide& wide)
    : window_(wide),
      context_{wide.platform, wide.platform.files(), wide.log, wide.driver_dir},
      project_(context_, window_, startup_, wide.message_buffer, wide.data_changed),
      conversion_(context_, project_.library()),
      netlist_(
          context_, project_.instances(), project_.library(),
          [this] { return ReadActiveSettings(context_); },
          [this] { return KomunWindowOf(window_.handle(), window_.form()); }),
      cw_output_(context_, [this] { return ReadActiveSettings(context_); }),
      run_(context_,
           RunModeWide{window_.form(), window_.handle(), wide.msg_rec_to_lmr, wide.msg_tolan,
                       wide.in_entry, wide.send_msg_enabled},
           project_.instances(), RunLinks()),
      settings_dialogs_(
          context_, window_.form(), [this] { window_.Refresh(); }, texts::kIdentify),
      object_dialogs_(context_, project_.instances(), wide.data_changed,
                      [this] { return run_.run_mode(); }),
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

bool Driver::StartRUN(PARAM_ENTRY& record) {
    const bool result = run_.StartRUN(record);
    menu_.RunModeMenu(true);
    return result;
}

bool Driver::StopRUN(PARAM_ENTRY& record) {
    const bool result = run_.StopRUN(record);
    menu_.RunModeMenu(false);
    return result;
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
    return links;
}

}  // namespace lm
