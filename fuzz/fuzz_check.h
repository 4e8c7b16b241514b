// What every fuzz target checks with: a trap on a broken promise, and a log
// that is on (so every line is formatted) and checks each line's length.
#pragma once

#include <string_view>

#include "base/log_sink.h"

namespace fuzz {

inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

class CheckingLog : public lm::LogSink {
public:
    bool enabled() const override { return true; }
    void Write(std::string_view message) override { Check(message.size() < 4096); }
};

}  // namespace fuzz
