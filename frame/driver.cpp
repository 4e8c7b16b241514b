#include "frame/driver.h"

#include "base/cp1250.h"

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
      menu_(context_, window_, startup_, project_.library(), wide.send_msg_enabled, run_) {
    window_.ForwardEventsTo(&run_);
}

Driver::~Driver() {
    window_.ForwardEventsTo(nullptr);
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
