// Help on menu items, the host's notifications and the choice of netlist export.
#include "base/cp1250.h"
#include "base/number_text.h"
#include "frame/driver_menu.h"
#include "frame/driver_texts.h"
#include "frame/entry.h"
#include "frame/error_texts.h"
#include "instances/lookups.h"
#include "values/number_syntax.h"

namespace lm {

bool Entry::HelpMenu(PARAM_ENTRY& record) {
    wide_.log.WriteWith([&] { return "LM ENTRY: HelpMenu" + RightAligned(record.wparam1, 5); });
    platform_->ShowHelp(wide_.DriverFile(texts::kHelpFileName), 10000L + record.wparam1);
    return true;
}

bool Entry::HelpObject(PARAM_ENTRY& record) {
    wide_.log.WriteWith(
        [&] { return "LM ENTRY: HelpObject, IDENT = " + RightAligned(record.wparam1, 5); });
    ObjectHelp(record.wparam1);
    return true;
}

bool Entry::HelpData(PARAM_ENTRY& record) {
    wide_.log.WriteWith([&] {
        return "LM ENTRY: HelpData, IDENT = " + RightAligned(record.wparam1, 5) +
               ", DATAITEM = " + RightAligned(record.wparam2, 5);
    });
    ObjectHelp(record.wparam1);  // the data item has no help of its own
    return true;
}

void Entry::ObjectHelp(std::uint16_t ident) {
    constexpr std::uint16_t kHelpIndexItem = 9999;
    std::string help_file = wide_.DriverFile(texts::kHelpFileName);
    long context = -1;
    dLM_OBJECT* object = FIND_INSTANCE(driver_->library.objects.head(), ident, 0);
    dLM_DATAITEM* index = object != nullptr ? ItemOfRecord(*object, kHelpIndexItem) : nullptr;
    if (index != nullptr) {
        // The help index item's default is the context in the help file.
        auto number =
            index->ext != nullptr ? ParseInt32(index->ext->default_value.view()) : std::nullopt;
        context = number ? *number : -1;
        if (index->second_help != nullptr && index->second_help[0] != '\0') {
            help_file = wide_.DriverFile(index->second_help);
        }
    }
    if (context != -1) {
        platform_->ShowHelp(help_file, context);
        return;
    }
    // An object the library does not hold has no title: the box names its ident.
    std::string title = object != nullptr && object->title != nullptr ? std::string(object->title)
                                                                      : std::to_string(ident);
    platform_->ShowMessageBox(
        BoxKind::Error,
        "Chyba: objekt "_cp + title + " - není definována položka HELPINDEX (9999)."_cp);
}

bool Entry::OrderService(PARAM_ENTRY& record) {
    wide_.log.Write("LM ENTRY: ORDERSERVICE");
    record.error = kErrOk;
    record.wparam1 = 1;
    return true;
}

bool Entry::InfoMsg(PARAM_ENTRY& record) {
    const std::uint32_t bits = record.lparam1;
    record.error = kErrOk;
    if ((bits & 0x7) != 0) return true;  // these bits only ask for an answer
    Log& log = wide_.log;
    if (bits & 0x10) log.Write("InfoMsg: Zahajeno nacitani konstant");
    if (bits & 0x20) log.Write("InfoMsg: Graficky ukazatel nacitani zmenen");
    if (bits & 0x40) {
        log.Write("InfoMsg: SendMsg povoleno");
        wide_.send_msg_enabled = true;
    }
    if (bits & 0x80) {
        log.Write("InfoMsg: SendMsg ignorovano");
        wide_.send_msg_enabled = false;
    }
    if (bits & 0x100) log.Write("InfoMsg: Ukonceno nacitani konstant");
    return true;
}

bool Entry::NetList(PARAM_ENTRY& record) {
    // The export that the last menu action asked for; the exports themselves
    // come with the netlist work and until then only answer.
    const char* line = nullptr;
    switch (driver_->last_menu_item) {
        case kMenuNetlist:
            line = "LM ENTRY: NetList to TEXT";
            break;
        case kMenuTranslate:
            line = "LM ENTRY: NetList to LMKOMUN";
            break;
        case kMenuCwOutput:
            line = "LM ENTRY: NetList to CW_OUT";
            break;
        default:
            return false;
    }
    wide_.log.Write(line);
    record.error = kErrOk;
    return true;
}

}  // namespace lm
