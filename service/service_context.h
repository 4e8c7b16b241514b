// What every host-call service of the driver window gets when it is created:
// the platform and its files, the log, the driver directory fixed at the
// window's creation and the box that tells of a file the driver could not use.
// A service takes its own extras beside it.
#pragma once

#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "service/file_error_box.h"

namespace lm {

struct ServiceContext {
    Platform& platform;
    Files& files;
    LogSink& log;
    std::string driver_dir;

    // DriverDir + a file name.
    std::string DriverFile(std::string_view name) const { return driver_dir + std::string(name); }

    // The box of a file of the driver window that could not be read, written
    // or deleted (IoFileErrorText).
    void ShowFileError(std::string_view path, std::string_view action,
                       std::string_view reason = {}) const {
        lm::ShowFileError(platform, path, action, reason);
    }
};

}  // namespace lm
