// The frame of every host call and the process-wide driver behind the exported
// LumarDriver_Entry.
#pragma once

#include <memory>

#include "base/host_records.h"
#include "frame/driver.h"
#include "frame/driver_wide.h"

namespace lm {

// Function codes the driver serves (lmd_func).
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

class Entry {
public:
    explicit Entry(std::unique_ptr<Platform> platform);
    ~Entry();

    // One host call: traces it, dispatches it, returns 1 (TRUE) or 0 (FALSE).
    int Call(PARAM_ENTRY* record);

    DriverWide& wide() { return wide_; }
    Driver* driver() { return driver_.get(); }
    Platform& platform() { return *platform_; }

private:
    bool Dispatch(PARAM_ENTRY& record);
    bool Identify(PARAM_ENTRY& record);
    bool LoadDriver(PARAM_ENTRY& record);
    bool UnloadDriver(PARAM_ENTRY& record);
    bool ErrText(PARAM_ENTRY& record);
    bool Unknown(PARAM_ENTRY& record);
    bool WithoutWindow(PARAM_ENTRY& record);
    // The object library.
    bool InitObjects(PARAM_ENTRY& record);
    void ApplyStartupOptions();
    // The instances and their project lines.
    bool CreateObject(PARAM_ENTRY& record);
    bool DeleteObject(PARAM_ENTRY& record);
    bool SetInstance(PARAM_ENTRY& record);
    bool SaveLine(PARAM_ENTRY& record);
    bool LoadLine(PARAM_ENTRY& record);
    bool FlagChangeDat(PARAM_ENTRY& record);
    bool StartLoadPrj(PARAM_ENTRY& record);
    bool EndLoadPrj(PARAM_ENTRY& record);
    // The conversion services.
    bool AkceItemCall(PARAM_ENTRY& record);
    bool BinToStrCall(PARAM_ENTRY& record);
    bool StrToBinCall(PARAM_ENTRY& record);
    bool LongCheckCall(PARAM_ENTRY& record);
    bool UserLongCall(PARAM_ENTRY& record);
    // The driver menu and its actions.
    bool GetMenu(PARAM_ENTRY& record);
    bool MenuItem(PARAM_ENTRY& record);
    void StartupOptionsDialog();
    // Help.
    bool HelpMenu(PARAM_ENTRY& record);
    bool HelpObject(PARAM_ENTRY& record);
    bool HelpData(PARAM_ENTRY& record);
    void ObjectHelp(std::uint16_t ident);
    // The host's notifications.
    bool OrderService(PARAM_ENTRY& record);
    bool InfoMsg(PARAM_ENTRY& record);
    bool NetList(PARAM_ENTRY& record);

    std::unique_ptr<Platform> platform_;
    DriverWide wide_;
    std::unique_ptr<Driver> driver_;
};

// The platform the exported entry uses: the Win32 one in LMDRIVER.DLL, the
// headless one in liblmdriver.so.
std::unique_ptr<Platform> MakeDefaultPlatform();

// The process-wide driver behind LumarDriver_Entry.
Entry& TheEntry();
// Replaces the process-wide driver with a fresh one on `platform` (tests and
// the simulator); any driver window of the previous one is released.
void InstallPlatform(std::unique_ptr<Platform> platform);
// Releases the process-wide driver and its window (the library is being freed).
void ReleaseTheEntry();

}  // namespace lm

extern "C" int LM_STDCALL LumarDriver_Entry(PARAM_ENTRY* record);
