// lumarsim run: the host in run mode after the project is open. StartRUN,
// the orders for live values (each answer converted with BINTOSTR as the
// host shows it), the writes (STRTOBIN, then SetData) half way through,
// StopRUN at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/host_records.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/project_file.h"
#include "tools/lumarsim/run_host.h"

namespace lumarsim {

// One item of one placed block: "BLOCK.ITEM", BLOCK is the object's name or
// ident, a colon and the instance ("PUMP:1", "11:1"), ITEM the item's name or
// ident.
struct ItemRef {
    std::string label;  // as given
    std::uint16_t ident = 0, instance = 0, item = 0;
    std::uint8_t typ = 0;
    std::string format;   // CP1250
    bool limits = false;  // JEMINMAX on a number: the host tests its limits
    double min = 0, max = 0;
};

struct RunOrder {
    ItemRef ref;
    std::uint16_t period = 0;  // tenths of a second
};
struct RunWrite {
    ItemRef ref;
    std::string value;  // UTF-8, as typed
};

struct RunOptions {
    int seconds = 3;
    std::vector<std::string> orders;  // BLOCK.ITEM@PERIOD; none: every input and output
    std::vector<std::string> sets;    // BLOCK.ITEM=VALUE
    std::uint32_t crc = 0;
};

// Finds BLOCK.ITEM among the project's blocks and the library's objects;
// nothing with `error` set when it names nothing there.
std::optional<ItemRef> ResolveItem(const std::string& text, const dLM_OBJECT* objects,
                                   const Project& project, std::string& error);

class RunSession {
public:
    RunSession(const DriverLibrary& library, RunHost& host, std::FILE* out)
        : library_(library), host_(host), out_(out) {}

    // The whole run; false when an order never got a value or a call failed.
    bool Play(const dLM_OBJECT* objects, const Project& project, const RunOptions& options);

private:
    bool Resolve(const dLM_OBJECT* objects, const Project& project, const RunOptions& options);
    int Call(PARAM_ENTRY& record, const char* name);
    bool StartRun(std::uint32_t crc);
    void StopRun();
    bool Order(const RunOrder& order, std::uintptr_t tag);
    void Write(const RunWrite& write);
    // The host's limit test (TESTMINMAX) of a typed value; false when it fails.
    bool WithinLimits(const RunWrite& write, const std::string& text);
    // Notes when the communication program went before StopRUN.
    void WatchLine(int tick);
    // The answers since the last look: a line for each value that changed.
    void Show(int tick);
    std::optional<std::string> Text(const ItemRef& ref, const std::uint8_t* data);

    const DriverLibrary& library_;
    RunHost& host_;
    std::FILE* out_;
    std::vector<RunOrder> orders_;
    std::vector<RunWrite> writes_;
    struct Seen {
        std::string last;
        std::size_t values = 0, failures = 0;
    };
    std::vector<Seen> seen_;
    bool explicit_orders_ = false;
    bool program_seen_ = false;  // the communication program's window was there
    bool line_ended_ = false;    // ... and went before StopRUN
    int failures_ = 0;
};

}  // namespace lumarsim
