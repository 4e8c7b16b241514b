// The driver's popup menu in the host and its actions, help on menu items,
// objects and data items, and the host's notices.
#pragma once

#include <cstdint>

#include "base/host_records.h"
#include "dialogs/cw_output.h"
#include "dialogs/settings_dialogs.h"
#include "exports/netlist_exports.h"
#include "frame/driver_window.h"
#include "frame/startup_options.h"
#include "instances/instance_list.h"
#include "library/object_library.h"
#include "online/run_service.h"
#include "service/service_context.h"

namespace lm {

class MenuService {
public:
    // `send_msg_enabled` is the switch the host's InfoMsg notices turn; `run`
    // starts the communication program for the menu and hears of the
    // driver window being shown or hidden; `netlist` serves the menu
    // commands that export the netlist and the host's NetList after them,
    // `cw_output` the Control Web export after menu 3010;
    // `dialogs` opens the communication settings and the about dialog.
    MenuService(const ServiceContext& context, DriverWindow& window, StartupOptions& startup,
                ObjectLibrary& library, InstanceList& instances, bool& send_msg_enabled,
                RunService& run, NetlistExports& netlist, dialogs::CwOutput& cw_output,
                dialogs::SettingsDialogs& dialogs)
        : context_(context),
          window_(window),
          startup_(startup),
          library_(library),
          instances_(instances),
          send_msg_enabled_(send_msg_enabled),
          run_(run),
          netlist_(netlist),
          cw_output_(cw_output),
          dialogs_(dialogs) {}
    ~MenuService();  // the menu goes with the driver
    MenuService(const MenuService&) = delete;
    MenuService& operator=(const MenuService&) = delete;

    // LastMenuItem: the last menu command, which decides what NetList exports.
    std::uint16_t last_menu_item() const { return last_menu_item_; }

    bool GetMenu(PARAM_ENTRY& record);
    bool MenuItem(PARAM_ENTRY& record);
    bool HelpMenu(PARAM_ENTRY& record);
    bool HelpObject(PARAM_ENTRY& record);
    bool HelpData(PARAM_ENTRY& record);
    bool InfoMsg(PARAM_ENTRY& record);
    bool NetList(PARAM_ENTRY& record);

    // Run mode grays the items that would disturb the line, and gives back
    // "&Překlad" and "Pa&rametry komunikace" when it ends.
    void RunModeMenu(bool running);

private:
    void StartupOptionsDialog();
    void ObjectHelp(std::uint16_t ident);

    const ServiceContext& context_;
    DriverWindow& window_;
    StartupOptions& startup_;
    ObjectLibrary& library_;
    InstanceList& instances_;
    bool& send_msg_enabled_;
    RunService& run_;
    NetlistExports& netlist_;
    dialogs::CwOutput& cw_output_;
    dialogs::SettingsDialogs& dialogs_;
    MenuHandle menu_ = 0;
    std::uint16_t last_menu_item_ = 0;
};

}  // namespace lm
