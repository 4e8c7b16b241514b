// What every host-call service of the driver window gets when it is created:
// the platform, the log and the driver directory fixed at the window's creation.
#pragma once

#include <string>
#include <string_view>

#include "frame/log.h"
#include "platform/platform.h"

namespace lm {

struct ServiceContext {
    Platform& platform;
    Log& log;
    std::string driver_dir;

    // DriverDir + a file name.
    std::string DriverFile(std::string_view name) const { return driver_dir + std::string(name); }
};

}  // namespace lm
