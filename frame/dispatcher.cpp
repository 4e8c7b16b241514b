// Dispatch of a host call on its function code.
#include "frame/driver_lifecycle.h"
#include "frame/entry.h"

namespace lm {

bool Entry::Dispatch(PARAM_ENTRY& record) {
    Log& log = wide_.log;
    switch (record.lmd_func) {
        case kIdentify:
            return Identify(record, log);
        case kErrText:
            return ErrText(record, wide_);
        case kLoadDriver:
            // A window that an unload has already given up cannot be handed
            // out again.
            if (unload_pending_) return WithoutWindow(record, log);
            return LoadDriver(record, wide_, driver_);
        default:
            break;
    }
    // Everything else works on the driver window, which exists only between
    // load driver and unload driver.
    if (!driver_ || unload_pending_) return WithoutWindow(record, log);
    ProjectService& project = driver_->project();
    ConversionService& conversion = driver_->conversion();
    MenuService& menu = driver_->menu();
    RunService& run = driver_->run();
    switch (record.lmd_func) {
        case kUnloadDriver:
            return Unload(record);
        case kInitObjects:
            return project.InitObjects(record);
        case kCreateObject:
            return project.CreateObject(record);
        case kDeleteObject:
            return project.DeleteObject(record);
        case kSetInstance:
            return project.SetInstance(record);
        case kSaveLine:
            return project.SaveLine(record);
        case kLoadLine:
            return project.LoadLine(record);
        case kFlagChangeDat:
            return project.FlagChangeDat(record);
        case kStartLoadPrj:
            return project.StartLoadPrj(record);
        case kEndLoadPrj:
            return project.EndLoadPrj(record);
        case kObjectDialog:
            return driver_->object_dialogs().ObjectDialog(record);
        case kAkceItem:
            return conversion.AkceItemCall(record);
        case kBinToStr:
            return conversion.BinToStrCall(record);
        case kStrToBin:
            return conversion.StrToBinCall(record);
        case kLongCheck:
            return conversion.LongCheckCall(record);
        case kUserLongConversion:
            return conversion.UserLongCall(record);
        case kGetMenu:
            return menu.GetMenu(record);
        case kMenuItem:
            return menu.MenuItem(record);
        case kHelpMenu:
            return menu.HelpMenu(record);
        case kHelpObject:
            return menu.HelpObject(record);
        case kHelpData:
            return menu.HelpData(record);
        case kNetList:
            return menu.NetList(record);
        case kStartRun:
            return driver_->StartRUN(record);
        case kStopRun:
            return driver_->StopRUN(record);
        case kOrderData:
            return run.OrderData(record);
        case kUnOrderData:
            return run.UnOrderData(record);
        case kSetData:
            return run.SetData(record);
        case kOrderService:
            return run.OrderService(record);
        case kInfoMsg:
            return menu.InfoMsg(record);
        default:
            return UnknownFunction(record, log);
    }
}

}  // namespace lm
