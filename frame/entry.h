// The frame of every host call and the process-wide driver behind the exported
// LumarDriver_Entry: the call is traced and handed to the service that serves
// its function code; nothing else happens here.
#pragma once

#include <memory>

#include "base/host_records.h"
#include "frame/driver.h"
#include "frame/driver_wide.h"
#include "frame/function_codes.h"

namespace lm {

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
    // Hands the call to the service that serves its function code.
    bool Dispatch(PARAM_ENTRY& record);
    // Unload driver: the window goes at once, or when the outermost call
    // ends if the unload came from inside another call.
    bool Unload(PARAM_ENTRY& record);

    std::unique_ptr<Platform> platform_;
    DriverWide wide_;
    std::unique_ptr<Driver> driver_;
    // Host calls under way: more than one while a call re-enters from a
    // message box, dialog or message of an outer call.
    int depth_ = 0;
    // An unload came from inside another call, whose frames still use the
    // window: it is released when the outermost call ends.
    bool unload_pending_ = false;
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
