#include "frame/driver_menu.h"

#include "base/cp1250.h"
#include "base/number_text.h"
#include "frame/entry.h"
#include "frame/error_texts.h"
#include "frame/file_error_box.h"
#include "frame/uLMTool.h"

namespace lm {

const std::vector<MenuEntry>& DriverMenuEntries() {
    struct Row {
        std::uint16_t id;
        std::string_view text;  // empty: a separator
    };
    static constexpr Row kRows[] = {
        {3000, "&Překlad"_cp},
        {3001, "&Netlist"},
        {3999, ""},
        {3002, "&Klávesnice"_cp},
        {3003, "Načíst celou &CMOS"_cp},
        {3998, ""},
        {3004, "Pa&rametry komunikace"},
        {3005, "Změna komunikační &adresy"_cp},
        {3997, ""},
        {3006, "&Změnit tabulku návěští (.LAB)"_cp},
        {3009, "Po spuš&tění..."_cp},
        {3996, ""},
        {3010, "&Generovat soubory pro CP / CW"},
        {3995, ""},
        {3007, "&Ukázat / Schovat okno ovladače"_cp},
        {3008, "&O ovladači..."_cp},
    };
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> built;
        for (const Row& row : kRows)
            built.push_back({row.id, std::string(row.text), row.text.empty()});
        return built;
    }();
    return entries;
}

bool Entry::GetMenu(PARAM_ENTRY& record) {
    Log& log = wide_.log;
    log.Write("LM ENTRY: get menu - begin");
    // A second get menu builds a new menu; the host may still hold the old one,
    // so it is left to the host.
    MenuHandle menu = platform_->CreatePopupMenu(DriverMenuEntries());
    for (std::uint16_t id : {kMenuKeyboard, kMenuReadCmos, kMenuLabelTable, kMenuComAddress}) {
        platform_->EnableMenuItem(menu, id, false);
    }
    driver_->menu = menu;
    record.lparam1 = static_cast<std::uint32_t>(menu);
    record.lparam2 = 0;
    record.string1 = const_cast<char*>(kMenuTitle);
    log.Write("LM ENTRY: get menu - end");
    return true;
}

bool Entry::MenuItem(PARAM_ENTRY& record) {
    Log& log = wide_.log;
    const std::uint16_t id = record.wparam1;
    log.WriteWith([&] { return "LM ENTRY: MenuItem " + RightAligned(id, 5); });
    driver_->last_menu_item = id;
    auto ask_for_netlist = [&](std::string_view line) {
        record.dlm_func = kNetList;
        record.lmd_func = kNetList;
        log.Write(line);
    };
    switch (id) {
        case kMenuTranslate:
            if (platform_->ShowMessageBox(
                    BoxKind::Question, "Opravdu přeložit projekt a nahrát do systému RX7 ?"_cp) ==
                BoxAnswer::Yes) {
                ask_for_netlist("Menu ITEM - ack for NET com");
            }
            break;
        case kMenuNetlist:
            ask_for_netlist("Menu ITEM - ack for NET text");
            break;
        case kMenuCwOutput:
            ask_for_netlist("Menu ITEM - ack for CW/CP output");
            break;
        case kMenuReadCmos:
            platform_->ShellOpen(wide_.DriverFile("ROZID7.EXE"), "/READALL", wide_.driver_dir,
                                 ShowMode::Normal);
            break;
        case kMenuShowHide: {
            ui::Form& window = driver_->form();
            window.visible = !window.visible;
            if (window.visible) window.state = ui::WindowState::Normal;
            driver_->Refresh();
            break;
        }
        case kMenuStartup:
            StartupOptionsDialog();
            break;
        default:
            // 3005 and 3006 are grayed and do nothing; 3002, 3004 and 3008
            // open the communication program, its settings and the about
            // dialog, which come with the run-mode work.
            break;
    }
    record.error = kErrOk;
    log.Write("Menu end");
    return true;
}

void Entry::StartupOptionsDialog() {
    Driver& d = *driver_;
    Files& files = platform_->files();
    const std::string dialog_file = wide_.DriverFile(kDialogFileName);
    // Without its file the dialog would show, and hand back, stale options.
    if (FileStatus written = WriteStartupDialogFile(files, wide_.driver_dir, d.startup); !written) {
        ShowFileError(*platform_, dialog_file, "zapsat", written.reason);
        return;
    }
    {
        TFormLMTool dialog(files, wide_.driver_dir);
        platform_->ShowModal(dialog);
        // The file keeps what was written above: the options stay as they were.
        if (!dialog.write_status())
            ShowFileError(*platform_, dialog_file, "zapsat", dialog.write_status().reason);
    }
    if (auto chosen = ReadStartupDialogFile(files, wide_.driver_dir)) {
        d.startup = *chosen;
    } else {
        ShowFileError(*platform_, dialog_file, "přečíst"_cp);
    }
    wide_.log.Write("LMTOOLs loaded from dialog");
    if (FileStatus saved = SaveStartup(files, wide_.driver_dir, kNoLabelTable, d.startup); !saved)
        ShowFileError(*platform_, wide_.DriverFile(kStartupFileName), "zapsat", saved.reason);
    wide_.log.Write("LMTOOLs saveed to .INI");
}

}  // namespace lm
