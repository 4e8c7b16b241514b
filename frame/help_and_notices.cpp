// Help on menu items, the host's notifications and the choice of netlist export.
#include "base/number_text.h"
#include "frame/driver_menu.h"
#include "frame/driver_texts.h"
#include "frame/entry.h"
#include "frame/error_texts.h"

namespace lm {

bool Entry::HelpMenu(PARAM_ENTRY& record) {
    wide_.log.WriteWith([&] { return "LM ENTRY: HelpMenu" + RightAligned(record.wparam1, 5); });
    platform_->ShowHelp(wide_.DriverFile(texts::kHelpFileName), 10000L + record.wparam1);
    return true;
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
