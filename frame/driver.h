// Driver: what lives from the host's load driver to its unload driver: the
// driver window, the start-up options and the services that answer the host's
// calls, each owning its own state.
#pragma once

#include <array>
#include <string>

#include "dialogs/cw_output.h"
#include "dialogs/object_dialogs.h"
#include "dialogs/settings_dialogs.h"
#include "exports/netlist_exports.h"
#include "frame/conversion_service.h"
#include "frame/driver_wide.h"
#include "frame/driver_window.h"
#include "frame/menu_service.h"
#include "frame/project_service.h"
#include "frame/startup_options.h"
#include "online/run_service.h"

namespace lm {

class Driver {
public:
    explicit Driver(DriverWide& wide);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    DriverWindow& window() { return window_; }
    ui::Form& form() { return window_.form(); }
    StartupOptions& startup() { return startup_; }
    ProjectService& project() { return project_; }
    ConversionService& conversion() { return conversion_; }
    RunService& run() { return run_; }
    MenuService& menu() { return menu_; }
    dialogs::ObjectDialogs& object_dialogs() { return object_dialogs_; }
    NetlistExports& netlist() { return netlist_; }

    // StartRUN and StopRUN of run mode; once run mode has answered, the
    // driver menu grays (or gives back) the items that would disturb the line.
    bool StartRUN(PARAM_ENTRY& record);
    bool StopRUN(PARAM_ENTRY& record);

    ObjectLibrary& library() { return project_.library(); }
    InstanceList& instances() { return project_.instances(); }
    dialogs::CwOutput& cw_output() { return cw_output_; }

private:
    RunModeLinks RunLinks();

    // Members are created in this order and released in the reverse one: the
    // menu first, then the object and settings dialogs, run mode, the exports, the
    // library and the instances, the window last.
    DriverWindow window_;
    StartupOptions startup_;
    ServiceContext context_;
    ProjectService project_;
    ConversionService conversion_;
    NetlistExports netlist_;
    dialogs::CwOutput cw_output_;
    RunService run_;
    dialogs::SettingsDialogs settings_dialogs_;
    dialogs::ObjectDialogs object_dialogs_;
    MenuService menu_;
};

}  // namespace lm
