// The driver's state that outlives its window: the driver directory, the log,
// the in-call mark, the message buffer handed out by errtext, the registered
// message numbers.
#pragma once

#include <string>

#include "base/bounded_text.h"
#include "frame/log.h"
#include "platform/platform.h"

namespace lm {

struct DriverWide {
    explicit DriverWide(Platform& p) : platform(p), log(p) {}

    Platform& platform;
    Log log;
    std::string
        driver_dir;  // current directory + separator + OVLADACE + separator + KADEX2 + separator
    bool in_entry = false;
    bool send_msg_enabled = true;
    bool data_changed = false;
    TextBuffer<kMaxText + 1> message_buffer;  // MessageBuffer: errtext, init objects' error text
    unsigned msg_rec_to_lmr = 0;
    unsigned msg_lumar_service = 0;
    unsigned msg_tolan = 0;

    // DriverDir + a file name.
    std::string DriverFile(std::string_view name) const { return driver_dir + std::string(name); }
};

// The driver directory below a current directory.
std::string DriverDirectoryOf(const std::string& current_directory, char separator);

}  // namespace lm
