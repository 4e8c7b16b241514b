// One host session against the driver library: the calls the host makes, in
// its order, each printed as the host saw it (result and record fields).
#pragma once

#include <cstdio>
#include <string>

#include "tools/lumarsim/driver_library.h"

namespace lumarsim {

class HostSession {
public:
    HostSession(const DriverLibrary& library, std::FILE* out) : library_(library), out_(out) {}

    // identify with the host's version 3 / 34; true when the driver accepted it.
    bool Identify();
    bool LoadDriver();
    // The text of an error code, as the host shows it (UTF-8).
    std::string ErrText(std::uint16_t code);
    // A call of a code the host knows nothing about; prints what came back.
    void Unknown(std::uint16_t code);
    bool UnloadDriver();

    int failures() const { return failures_; }

private:
    int Call(PARAM_ENTRY& record, const char* name);
    void Expect(bool ok, const char* what);

    const DriverLibrary& library_;
    std::FILE* out_;
    int failures_ = 0;
};

// A text of the driver (CP1250) for the console (UTF-8); null prints as "(nil)".
std::string Shown(const char* cp1250);

}  // namespace lumarsim
