// What run mode needs of the host beside its calls: a window of its own that
// receives the driver's WM_REC_TO_LMR, time that passes, and (for scripts) a
// way to speak to the driver window as the communication program does.
//
// On Windows the driver is the real library and the communication program
// the real ROZID7.EXE stand-in, started by the driver; time is the clock and
// the message loop. Natively the driver runs inside lumarsim on the headless
// platform with the stand-in in process, and time passes in steps of 100 ms
// without waiting.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tools/lumarsim/driver_library.h"

namespace lumarsim {

// One WM_REC_TO_LMR as the host window got it: the record and its data.
struct LiveAnswer {
    alignas(8) dLM_ITEMDATA record{};
    std::array<std::uint8_t, lm::kItemDataBytes> data{};
    bool self_contained = false;  // the record points at the data right behind it
};
// The answer an answer block carries.
LiveAnswer AnswerOf(const dLM_ANSWER_BLOCK& block);

class RunHost {
public:
    virtual ~RunHost() = default;

    // The host window's handle as OrderData passes it (lparam2).
    virtual std::uint32_t window() const = 0;
    // Lets `ticks` periods of 100 ms pass: the driver's timer runs, the
    // communication program answers, the host window receives.
    virtual void Wait(int ticks) = 0;
    // Sends a text to the driver window with MSG_TOLAN and `code`, as the
    // communication program does; false when there is no driver window.
    virtual bool SendTolan(unsigned code, const std::string& text) = 0;
    // Whether the communication program's window is there.
    virtual bool ProgramRunning() const = 0;

    // The answers received since the last call, oldest first.
    virtual std::vector<LiveAnswer> TakeAnswers();
    // Answers not kept because more than kKeptAnswers came between two takes.
    virtual std::size_t lost() const { return lost_; }
    static constexpr std::size_t kKeptAnswers = 100000;

protected:
    // One answer block at the window; null is ignored.
    void Receive(const dLM_ANSWER_BLOCK* block);

private:
    std::vector<LiveAnswer> answers_;
    std::size_t lost_ = 0;
};

// The run-mode host of this build, with the driver it plays against. `library`
// is the driver library to load (Windows); natively the driver inside
// lumarsim is used.
struct RunSetup {
    std::unique_ptr<DriverLibrary> library;
    std::unique_ptr<RunHost> host;
    std::string error;  // when either is missing
};
RunSetup MakeRunSetup(const std::string& library);

// Whether this build plays run mode with the driver inside lumarsim.
bool RunsDriverInProcess();

}  // namespace lumarsim
