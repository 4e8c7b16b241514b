// A log that keeps every line, for tests that check what was logged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/log_sink.h"

namespace lm::test {

class RecordingLog : public LogSink {
public:
    bool enabled() const override { return on; }
    void Write(std::string_view message) override { lines.emplace_back(message); }

    bool on = true;
    std::vector<std::string> lines;
};

}  // namespace lm::test
