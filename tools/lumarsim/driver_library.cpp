#include "tools/lumarsim/driver_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace lumarsim {

DriverLibrary::DriverLibrary(const std::string& path) {
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    handle_ = module;
    if (module == nullptr) {
        error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    entry_ = reinterpret_cast<EntryFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "LumarDriver_Entry")));
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = dlerror();
        return;
    }
    entry_ = reinterpret_cast<EntryFunction>(dlsym(handle_, "LumarDriver_Entry"));
#endif
    if (entry_ == nullptr) error_ = path + " does not export LumarDriver_Entry";
}

DriverLibrary::~DriverLibrary() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

}  // namespace lumarsim
