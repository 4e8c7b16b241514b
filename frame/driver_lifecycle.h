// The host calls that need no driver window or that make and release it:
// identify, errtext, load driver, unload driver, and the answer to a function
// the driver does not serve.
#pragma once

#include <memory>

#include "base/host_records.h"
#include "frame/driver.h"
#include "frame/driver_wide.h"

namespace lm {

bool Identify(PARAM_ENTRY& record, Log& log);
bool ErrText(PARAM_ENTRY& record, DriverWide& wide);
// Creates the driver window; a second load keeps the window the host has.
bool LoadDriver(PARAM_ENTRY& record, DriverWide& wide, std::unique_ptr<Driver>& driver);
bool UnloadDriver(PARAM_ENTRY& record, DriverWide& wide, std::unique_ptr<Driver>& driver);
// A function code the driver does not serve: error 14.
bool UnknownFunction(PARAM_ENTRY& record, Log& log);
// A call that needs the driver window before load driver or after unload driver.
bool WithoutWindow(PARAM_ENTRY& record, Log& log);

}  // namespace lm
