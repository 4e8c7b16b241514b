// The driver's one log: each message becomes a line "date time | message" in
// LMDRIVER.LOG in the driver directory and a line of the driver window's memo,
// both only while logging is on. The file is opened and closed for every line,
// so another program may read or delete it between lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "base/log_sink.h"

namespace lm {

class Platform;

class Log : public LogSink {
public:
    explicit Log(Platform& platform) : platform_(platform) {}

    bool enabled() const override { return enabled_; }
    void set_enabled(bool on) { enabled_ = on; }
    // The log file's full path (DriverDir + LMDRIVER.LOG); empty = no file.
    void set_file(std::string path) { file_ = std::move(path); }
    const std::string& file() const { return file_; }
    // Where the bare message lines go while the driver window exists.
    void set_memo(std::function<void(std::string_view)> memo) { memo_ = std::move(memo); }

    // WriteLog: one message of at most 255 characters.
    void Write(std::string_view message) override;
    // The dump of the host's parameter record.
    void DumpParams(const PARAM_ENTRY& record);

private:
    Platform& platform_;
    bool enabled_ = false;
    std::string file_;
    std::function<void(std::string_view)> memo_;
};

}  // namespace lm
