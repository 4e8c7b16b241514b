// lumarsim soak: run mode played for a long time by a host that makes its
// calls at random (OrderData, UnOrderData, SetData, StartRUN, StopRUN,
// unload and a fresh start), from a seeded generator, against the ROZID7.EXE
// stand-in in one of its misbehaving modes at each start. Time is simulated:
// the driver runs inside lumarsim on the headless platform, the stand-in in
// process, and a tick of 100 ms costs no waiting, so a run is the same for
// the same seed.
//
// After every call and every tick the soak checks what a host relies on:
// - every order still placed gets an answer, with data or failed, within its
//   period, the line's time-out and the stand-in's delay, while run mode is
//   on and the stand-in has not ended the line; when it ends the line with an
//   error, every order that never had data is failed at once;
// - no answer reaches a window for an order the host has withdrawn;
// - the driver's command queue stays within its bound;
// - resident memory stays flat (checked outside the sanitizers, whose
//   quarantine keeps freed memory);
// - unload always returns, and the driver window is gone after it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/lumarsim/project_file.h"

namespace lumarsim {

struct SoakOptions {
    std::uint64_t steps = 0;  // host actions; 0: run for `minutes`
    double minutes = 0;       // wall-clock length when `steps` is 0
    std::uint32_t seed = 1;
    // The stand-in's misbehaviours ("LATE 3", "GARBAGE"); each StartRUN
    // chooses one of them, or none, for the program it starts.
    std::vector<std::string> modes;
    bool keep_log = false;  // the driver's own log (large over a long run)
};

struct SoakFigures {
    std::uint64_t steps = 0;
    std::uint64_t ticks = 0;
    std::uint64_t calls = 0;
    std::uint64_t orders_placed = 0;
    std::uint64_t orders_withdrawn = 0;
    std::uint64_t answers = 0;  // data answers the host windows received
    std::uint64_t failed = 0;   // failure answers
    std::uint64_t writes = 0;
    std::uint64_t starts = 0;
    std::uint64_t stops = 0;
    std::uint64_t unloads = 0;
    std::uint64_t lines_ended = 0;  // the stand-in ended the line itself
    std::size_t max_orders = 0;
    std::size_t max_command_queue = 0;
    long peak_resident_kb = 0;
    long resident_growth_kb = 0;  // from a quarter of the run to its end
    std::uint64_t violations = 0;
};

// Plays the soak on the project, whose driver directory lies below the
// current working folder; prints the first violations as they happen and
// the figures at the end to `out`. The figures' `violations` is 0 when every
// check held.
SoakFigures PlaySoak(const Project& project, const SoakOptions& options, std::FILE* out);

void PrintSoakFigures(const SoakFigures& figures, std::FILE* out);

}  // namespace lumarsim
