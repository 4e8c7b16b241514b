#include "frame/driver.h"

#include "exports/netlist_text.h"
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
          project_.library(), [this] { return ReadKomunSettings(context_); },
          [this] { return KomunWindowOf(window_.handle(), window_.form()); }),
      run_(
          RunModeContext{wide.platform, wide.log, wide.driver_dir, window_.form(), window_.handle(),
                         wide.msg_rec_to_lmr, wide.msg_tolan, wide.in_entry, wide.send_msg_enabled},
          project_.instances(), RunLinks()),
      menu_(context_, window_, startup_, project_.library(), wide.send_msg_enabled, run_) {
    window_.ForwardEventsTo(&run_);
}

Driver::~Driver() {
    window_.ForwardEventsTo(nullptr);
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
