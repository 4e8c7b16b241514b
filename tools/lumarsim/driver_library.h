// The driver library as the host loads it: by file name, its one export
// LumarDriver_Entry looked up by name.
#pragma once

#include <string>

#include "base/host_records.h"

namespace lumarsim {

using EntryFunction = int(LM_STDCALL*)(PARAM_ENTRY*);

class DriverLibrary {
public:
    // Loads the library; ok() tells whether it and its entry were found.
    explicit DriverLibrary(const std::string& path);
    // The driver built into this program: its entry called directly.
    explicit DriverLibrary(EntryFunction built_in) : entry_(built_in) {}
    ~DriverLibrary();
    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    bool ok() const { return entry_ != nullptr; }
    const std::string& error() const { return error_; }
    int Call(PARAM_ENTRY& record) const { return entry_(&record); }

private:
    void* handle_ = nullptr;
    EntryFunction entry_ = nullptr;
    std::string error_;
};

}  // namespace lumarsim
