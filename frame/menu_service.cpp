#include "frame/menu_service.h"

#include "base/cp1250.h"
#include "base/number_text.h"
#include "dialogs/dialog_ini.h"
#include "frame/driver_menu.h"
#include "frame/driver_texts.h"
#include "frame/error_texts.h"
#include "frame/function_codes.h"
#include "frame/lm_tool.h"
#include "instances/lookups.h"
#include "values/number_syntax.h"

namespace lm {

MenuService::~MenuService() {
    if (menu_ != 0) context_.platform.DestroyMenu(menu_);
}

bool MenuService::GetMenu(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    log.Write("LM ENTRY: get menu - begin");
    // A second get menu builds a new menu; the host may still hold the old one,
    // so it is left to the host.
    MenuHandle menu = context_.platform.CreatePopupMenu(DriverMenuEntries());
    // The host gets handle 0 and shows no driver menu; the log says why.
    if (menu == 0) log.Write("get menu: popup menu not created - handle 0");
    for (std::uint16_t id : {kMenuKeyboard, kMenuReadCmos, kMenuLabelTable, kMenuComAddress}) {
        context_.platform.EnableMenuItem(menu, id, false);
    }
    menu_ = menu;
    record.lparam1 = static_cast<std::uint32_t>(menu);
    record.lparam2 = 0;
    record.string1 = const_cast<char*>(kMenuTitle);
    log.Write("LM ENTRY: get menu - end");
    return true;
}

bool MenuService::MenuItem(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    const std::uint16_t id = record.wparam1;
    log.WriteWith([&] { return "LM ENTRY: MenuItem " + RightAligned(id, 5); });
    last_menu_item_ = id;
    std::uint16_t error = kErrOk;
    switch (id) {
        case kMenuTranslate:
            error = netlist_.MenuTranslate(record);
            break;
        case kMenuNetlist:
            netlist_.MenuNetlist(record);
            break;
        case kMenuCwOutput:
            record.dlm_func = kNetList;
            record.lmd_func = kNetList;
            log.Write("Menu ITEM - ack for CW/CP output");
            break;
        case kMenuKeyboard:
            netlist_.MenuKeyboard();
            break;
        case kMenuReadCmos:
            run_.ReadAllCmos();
            break;
        case kMenuShowHide: {
            ui::Form& window = window_.form();
            // Visibility only: a window the user or HIDE_DIALOG minimised
            // comes back minimised.
            window.visible = !window.visible;
            window_.Refresh();
            run_.DriverWindowShown(window.visible);
            break;
        }
        case kMenuStartup:
            StartupOptionsDialog();
            break;
        case kMenuComSettings:
            dialogs_.ComSettingsDialog();
            break;
        case kMenuAbout:
            dialogs_.AboutDialog();
            break;
        default:
            // 3005 and 3006 are grayed and do nothing.
            break;
    }
    record.error = error;
    log.Write("Menu end");
    return true;
}

void MenuService::StartupOptionsDialog() {
    Platform& platform = context_.platform;
    Files& files = platform.files();
    const std::string dialog_file = context_.DriverFile(dialogs::kDialogFileName);
    // Without its file the dialog would show, and hand back, stale options.
    if (FileStatus written = dialogs::WriteStartupDialogFile(files, context_.driver_dir, startup_);
        !written) {
        context_.ShowFileError(dialog_file, "zapsat", written.reason);
        return;
    }
    {
        TFormLMTool dialog(files, context_.driver_dir);
        platform.ShowModal(dialog);
        // The file keeps what was written above: the options stay as they were.
        if (!dialog.write_status())
            context_.ShowFileError(dialog_file, "zapsat", dialog.write_status().reason);
    }
    if (auto chosen = dialogs::ReadStartupDialogFile(files, context_.driver_dir)) {
        startup_ = *chosen;
    } else {
        context_.ShowFileError(dialog_file, "přečíst"_cp);
    }
    context_.log.Write("LMTOOLs loaded from dialog");
    if (FileStatus saved =
            SaveStartup(files, context_.driver_dir, dialogs::kNoLabelTable, startup_);
        !saved)
        context_.ShowFileError(context_.DriverFile(kStartupFileName), "zapsat", saved.reason);
    context_.log.Write("LMTOOLs saveed to .INI");
}

bool MenuService::HelpMenu(PARAM_ENTRY& record) {
    context_.log.WriteWith([&] { return "LM ENTRY: HelpMenu" + RightAligned(record.wparam1, 5); });
    context_.platform.ShowHelp(context_.DriverFile(texts::kHelpFileName), 10000L + record.wparam1);
    return true;
}

bool MenuService::HelpObject(PARAM_ENTRY& record) {
    context_.log.WriteWith(
        [&] { return "LM ENTRY: HelpObject, IDENT = " + RightAligned(record.wparam1, 5); });
    ObjectHelp(record.wparam1);
    return true;
}

bool MenuService::HelpData(PARAM_ENTRY& record) {
    context_.log.WriteWith([&] {
        return "LM ENTRY: HelpData, IDENT = " + RightAligned(record.wparam1, 5) +
               ", DATAITEM = " + RightAligned(record.wparam2, 5);
    });
    ObjectHelp(record.wparam1);  // the data item has no help of its own
    return true;
}

void MenuService::ObjectHelp(std::uint16_t ident) {
    constexpr std::uint16_t kHelpIndexItem = 9999;
    std::string help_file = context_.DriverFile(texts::kHelpFileName);
    long context = -1;
    dLM_OBJECT* object = FIND_INSTANCE(library_.objects.head(), ident, 0);
    dLM_DATAITEM* index = object != nullptr ? ItemOfRecord(*object, kHelpIndexItem) : nullptr;
    if (index != nullptr) {
        // The help index item's default is the context in the help file.
        auto number =
            index->ext != nullptr ? ParseInt32(index->ext->default_value.view()) : std::nullopt;
        context = number ? *number : -1;
        if (index->second_help != nullptr && index->second_help[0] != '\0') {
            help_file = context_.DriverFile(index->second_help);
        }
    }
    if (context != -1) {
        context_.platform.ShowHelp(help_file, context);
        return;
    }
    // An object the library does not hold has no title: the box names its ident.
    std::string title = object != nullptr && object->title != nullptr ? std::string(object->title)
                                                                      : std::to_string(ident);
    context_.platform.ShowMessageBox(
        BoxKind::Error,
        "Chyba: objekt "_cp + title + " - není definována položka HELPINDEX (9999)."_cp);
}

bool MenuService::InfoMsg(PARAM_ENTRY& record) {
    const std::uint32_t bits = record.lparam1;
    record.error = kErrOk;
    if ((bits & 0x7) != 0) return true;  // these bits only ask for an answer
    LogSink& log = context_.log;
    if (bits & 0x10) log.Write("InfoMsg: Zahajeno nacitani konstant");
    if (bits & 0x20) log.Write("InfoMsg: Graficky ukazatel nacitani zmenen");
    if (bits & 0x40) {
        log.Write("InfoMsg: SendMsg povoleno");
        send_msg_enabled_ = true;
    }
    if (bits & 0x80) {
        log.Write("InfoMsg: SendMsg ignorovano");
        send_msg_enabled_ = false;
    }
    if (bits & 0x100) log.Write("InfoMsg: Ukonceno nacitani konstant");
    return true;
}

void MenuService::RunModeMenu(bool running) {
    if (menu_ == 0) return;
    Platform& platform = context_.platform;
    if (running) {
        for (std::uint16_t id :
             {kMenuTranslate, kMenuComSettings, kMenuKeyboard, kMenuReadCmos, kMenuLabelTable}) {
            platform.EnableMenuItem(menu_, id, false);
        }
    } else {
        for (std::uint16_t id : {kMenuTranslate, kMenuComSettings})
            platform.EnableMenuItem(menu_, id, true);
    }
}

bool MenuService::NetList(PARAM_ENTRY& record) {
    // The export that the last menu action asked for.
    if (last_menu_item_ == kMenuCwOutput) {
        cw_output_.NetList(record.lparam1, static_cast<const dLMN_NODE*>(record.pointer1),
                           instances_);
        record.error = kErrOk;
        return true;
    }
    return netlist_.NetList(record, last_menu_item_);
}

}  // namespace lm
