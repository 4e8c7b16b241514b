// Dispatch of a host call on its function code.
#include "frame/entry.h"

namespace lm {

bool Entry::Dispatch(PARAM_ENTRY& record) {
    switch (record.lmd_func) {
        case kIdentify:
            return Identify(record);
        case kErrText:
            return ErrText(record);
        default:
            break;
    }
    // Everything else works on the driver window, which exists only between
    // load driver and unload driver.
    if (record.lmd_func == kLoadDriver) return LoadDriver(record);
    if (!driver_) return WithoutWindow(record);
    switch (record.lmd_func) {
        case kUnloadDriver:
            return UnloadDriver(record);
        case kInitObjects:
            return InitObjects(record);
        case kCreateObject:
            return CreateObject(record);
        case kDeleteObject:
            return DeleteObject(record);
        case kSetInstance:
            return SetInstance(record);
        case kSaveLine:
            return SaveLine(record);
        case kLoadLine:
            return LoadLine(record);
        case kFlagChangeDat:
            return FlagChangeDat(record);
        case kStartLoadPrj:
            return StartLoadPrj(record);
        case kEndLoadPrj:
            return EndLoadPrj(record);
        case kHelpObject:
            return HelpObject(record);
        case kHelpData:
            return HelpData(record);
        case kAkceItem:
            return AkceItemCall(record);
        case kBinToStr:
            return BinToStrCall(record);
        case kStrToBin:
            return StrToBinCall(record);
        case kLongCheck:
            return LongCheckCall(record);
        case kUserLongConversion:
            return UserLongCall(record);
        case kGetMenu:
            return GetMenu(record);
        case kMenuItem:
            return MenuItem(record);
        case kHelpMenu:
            return HelpMenu(record);
        case kNetList:
            return NetList(record);
        case kOrderService:
            return OrderService(record);
        case kInfoMsg:
            return InfoMsg(record);
        default:
            return Unknown(record);
    }
}

}  // namespace lm
