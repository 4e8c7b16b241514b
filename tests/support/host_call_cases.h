// Host calls a careless or broken host makes: records with every pointer
// null, texts of 255 bytes without a zero byte, netlists whose lists loop,
// records handed back changed or as the driver left them, and calls out of
// the host's order. One table, run through the entry of the linked driver on
// the fake platform and through the real LMDRIVER.DLL under Wine.
//
// Every case starts with no driver loaded, on a driver directory holding the
// sample driver directory (logging on). What a case expects of each call is
// what a host can rely on: no crash and no write past a buffer, a clear
// refusal (FALSE, error 14) or a box or log line where someone must know, and
// after the case the driver still serves a whole short session.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/host_records.h"

namespace lm::test {

// What a case needs of the host it runs in.
class HostSide {
public:
    virtual ~HostSide() = default;
    virtual int Call(PARAM_ENTRY& record) = 0;
    // The next question box is answered Yes (others: OK, or No).
    virtual void AnswerYes() = 0;
    // `during` runs once while the driver's next message box is up, as host
    // code that runs in the box's message loop would (a timer, a message).
    virtual void WhileNextBoxIsUp(std::function<void()> during) = 0;
    // The texts (CP1250) of the message boxes the driver has shown.
    virtual std::vector<std::string> Boxes() = 0;
    // The log's messages, without their date and time.
    virtual std::vector<std::string> LogLines() = 0;
    // The driver directory with a separator at its end, as this process
    // names files.
    virtual std::string DriverDir() = 0;
};

struct HostCallCase {
    const char* name;
    void (*play)(HostSide& host);
};

const std::vector<HostCallCase>& HostCallCases();
inline void PrintTo(const HostCallCase& c, std::ostream* os) {
    *os << c.name;
}

// A short whole session after a case: load (again), init objects, a block
// created, its line saved and loaded back, the block deleted, unload.
void ExpectDriverStillServes(HostSide& host);

}  // namespace lm::test
