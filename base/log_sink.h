// Where the layers below the frame write their log lines. The frame's log
// implements it; a routine formats a line only while enabled() is true, so
// logging off costs nothing.
#pragma once

#include <string_view>

namespace lm {

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual bool enabled() const = 0;
    // One message of at most 255 characters (longer ones are cut).
    virtual void Write(std::string_view message) = 0;

    // Builds the message only while logging is on.
    template <class MakeMessage>
    void WriteWith(MakeMessage&& make) {
        if (enabled()) Write(make());
    }
};

// A sink that drops everything (tests, callers without a log).
class NoLog : public LogSink {
public:
    bool enabled() const override { return false; }
    void Write(std::string_view) override {}
};

}  // namespace lm
