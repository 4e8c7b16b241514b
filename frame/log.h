// The driver's one log: each message becomes a line "date time | message" in
// LMDRIVER.LOG in the driver directory and a line of the driver window's memo,
// both only while logging is on.
//
// The file stays open while lines come and is shared, so that another program
// may read, rename or delete it at any time. Before each line the log checks
// that the path still names its open file and otherwise starts a new one; each
// line reaches the system before the next is formatted. The file is closed when
// logging goes off, before the driver deletes it, and at the end of every host
// call, so that between calls nothing of the driver holds it. A file that
// cannot be opened or written loses the line, nothing else: the next line
// tries again.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "platform/files.h"

namespace lm {

class Platform;

class Log : public LogSink {
public:
    explicit Log(Platform& platform);
    ~Log() override;

    bool enabled() const override { return enabled_; }
    void set_enabled(bool on);
    // The log file's full path (DriverDir + LMDRIVER.LOG); empty = no file.
    void set_file(std::string path);
    const std::string& file() const { return file_; }
    // Where the bare message lines go while the driver window exists.
    void set_memo(std::function<void(std::string_view)> memo) { memo_ = std::move(memo); }
    // Closes the file; the next line opens it again (or a new one).
    void CloseFile();

    // WriteLog: one message of at most 255 characters.
    void Write(std::string_view message) override;
    // The dump of the host's parameter record.
    void DumpParams(const PARAM_ENTRY& record);

private:
    void WriteToFile(std::string_view bytes);

    Platform& platform_;
    bool enabled_ = false;
    std::string file_;
    std::unique_ptr<AppendFile> open_;
    std::string line_;  // the line being written, kept to reuse its memory
    std::function<void(std::string_view)> memo_;
};

}  // namespace lm
