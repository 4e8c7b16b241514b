// Run mode's partners of the driver on the headless platform, as lumarsim,
// its soak and the tests play them: the host's windows that receive
// WM_REC_TO_LMR, and the communication program, either the ROZID7.EXE
// stand-in in process or windows a test speaks for itself.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_records.h"
#include "platform/headless/headless_platform.h"
#include "tools/lumarsim/run_host.h"
#include "tools/rozid7/in_process.h"

namespace lumarsim {

// A window of the host that receives WM_REC_TO_LMR.
class HostWindow {
public:
    // Without `keep` the window only passes each answer to on_answer.
    explicit HostWindow(lm::HeadlessPlatform& platform, bool keep = true);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    lm::WindowHandle handle() const { return window_; }

    // The answers received, oldest first, at most RunHost::kKeptAnswers of
    // them; `lost` counts those not kept beyond that.
    std::vector<LiveAnswer> answers;
    std::size_t lost = 0;
    // Called with each answer after it is kept, inside the driver's send.
    std::function<void(const LiveAnswer&)> on_answer;

private:
    lm::HeadlessPlatform& platform_;
    bool keep_;
    unsigned msg_rec_to_lmr_;
    lm::WindowHandle window_ = 0;
};

// A communication program a test speaks for: records the texts the driver
// sends it (MSG_TOLAN wParam 1) and sends the driver window what it is told.
class ScriptedProgram {
public:
    explicit ScriptedProgram(lm::HeadlessPlatform& platform);
    ~ScriptedProgram();
    ScriptedProgram(const ScriptedProgram&) = delete;
    ScriptedProgram& operator=(const ScriptedProgram&) = delete;

    lm::WindowHandle handle() const { return window_; }
    // wParam 0 with its own window.
    void Announce();
    // A text with wParam 2 (answers and notices) or wParam 1.
    void Send(std::string_view text, std::uintptr_t wparam = 2);
    // The program ends without a word: its window is gone.
    void Vanish();

    std::vector<std::string> received;
    // Called with each text received, inside the driver's send.
    std::function<void(const std::string&)> on_text;

private:
    lm::HeadlessPlatform& platform_;
    unsigned msg_tolan_;
    lm::WindowHandle window_ = 0;
    bool gone_ = false;
};

// "QQ_RD oo ii tt|" answered with the data bytes: "QQ_RD oo ii tt d1 ... dn|".
std::string DataAnswerFor(std::string_view command, const std::vector<std::uint8_t>& bytes);

// The host's windows and the communication program of one run. Windows get
// their handles in the order they are added. Time passes in steps of 100 ms
// without waiting: the stand-in's step where it runs, else the driver's timer
// alone.
class HeadlessRunHost : public RunHost {
public:
    explicit HeadlessRunHost(lm::HeadlessPlatform& platform);
    ~HeadlessRunHost() override;

    // The ROZID7.EXE stand-in becomes the program the shell starts; `extra`
    // settings ("LATE 3") as its command-line switches.
    lm::rozid7::InProcess& StartStandIn(std::vector<std::string> extra = {});
    lm::rozid7::InProcess* stand_in() { return stand_in_.get(); }

    HostWindow& AddHostWindow(bool keep = true);
    HostWindow& host_window(std::size_t index) { return *host_windows_.at(index); }
    std::size_t host_windows() const { return host_windows_.size(); }
    ScriptedProgram& AddProgram();

    // The first host window, whose answers TakeAnswers hands out.
    std::uint32_t window() const override;
    void Wait(int ticks) override;
    bool SendTolan(unsigned code, const std::string& text) override;
    bool ProgramRunning() const override;
    std::vector<LiveAnswer> TakeAnswers() override;
    std::size_t lost() const override;

private:
    lm::HeadlessPlatform& platform_;
    std::vector<std::unique_ptr<HostWindow>> host_windows_;
    std::vector<std::unique_ptr<ScriptedProgram>> programs_;
    // Goes first: its window before the others.
    std::unique_ptr<lm::rozid7::InProcess> stand_in_;
};

}  // namespace lumarsim
