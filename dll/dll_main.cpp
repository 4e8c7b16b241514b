// DllMain of LMDRIVER.DLL: remembers the module for the driver window's class
// and, when the host frees the library without unload driver, releases the
// driver window so that no window is left pointing into unloaded code.
#include <windows.h>

#include "frame/entry.h"
#include "platform/win32/win32_platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        lm::SetModuleInstance(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        lm::ReleaseTheEntry();
    }
    return TRUE;
}
