// The ROZID7.EXE stand-in inside the process, behind the headless platform:
// it takes the shell's start of ROZID7.EXE, reads LMKOMUN.INI beside the
// program file, opens a window of its own and talks to the driver window
// with MSG_TOLAN and atoms, as the real program does between processes.
// Time passes only in Step(): the program's tick, then the driver's timer.
#pragma once

#include <memory>
#include <string>

#include "platform/headless/headless_platform.h"
#include "tools/rozid7/rozid7_core.h"

namespace lm::rozid7 {

class InProcess {
public:
    // Becomes the platform's program runner; `extra` settings ("LATE 3") are
    // added to what LMKOMUN.INI asks, as command-line switches would be.
    explicit InProcess(HeadlessPlatform& platform, std::vector<std::string> extra = {});
    ~InProcess();
    InProcess(const InProcess&) = delete;
    InProcess& operator=(const InProcess&) = delete;

    // One 100 ms step: the program announces itself (first step) and sends
    // its due answers, then the driver window's timer runs.
    void Step();

    // The running program, or null before the first start.
    Core* program() { return core_.get(); }
    WindowHandle window() const { return window_; }
    std::string parameters() const { return parameters_; }
    int starts() const { return starts_; }

private:
    int Start(const std::string& file, const std::string& parameters);
    void SendToDriver(std::uintptr_t wparam, std::intptr_t lparam);
    void End();

    HeadlessPlatform& platform_;
    std::vector<std::string> extra_;
    unsigned msg_tolan_;
    std::unique_ptr<Core> core_;
    WindowHandle window_ = 0;
    WindowHandle driver_ = 0;
    bool announced_ = false;
    std::string parameters_;
    int starts_ = 0;
};

}  // namespace lm::rozid7
