// The host's function codes (lmd_func) that the driver serves.
#pragma once

#include <cstdint>

namespace lm {

enum FunctionCode : std::uint16_t {
    kIdentify = 1,
    kLoadDriver = 2,
    kUnloadDriver = 3,
    kInitObjects = 4,
    kErrText = 5,
    kGetMenu = 6,
    kStartRun = 7,
    kStopRun = 8,
    kMenuItem = 9,
    kHelpMenu = 10,
    kHelpObject = 11,
    kHelpData = 12,
    kCreateObject = 13,
    kDeleteObject = 14,
    kOrderData = 15,
    kUnOrderData = 16,
    kSetData = 17,
    kObjectDialog = 18,
    kAkceItem = 19,
    kNetList = 20,
    kSetInstance = 21,
    kLoadLine = 22,
    kSaveLine = 23,
    kFlagChangeDat = 24,
    kOrderService = 25,
    kStartLoadPrj = 27,
    kEndLoadPrj = 28,
    kBinToStr = 36,
    kStrToBin = 37,
    kLongCheck = 38,
    kUserLongConversion = 39,
    kInfoMsg = 56,
};

}  // namespace lm
