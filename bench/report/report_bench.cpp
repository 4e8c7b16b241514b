// The steps of the benchmark report, each over projects of 100 to 100,000
// blocks of 8 user items: load, save, the two netlist exports, one run-mode
// tick with as many orders as blocks (all of them, 1 % or 1,000 due), one
// host BINTOSTR and STRTOBIN, and the memory a loaded project takes. Every step reports
// - "check": a hash of what the host sees (lines, files, answers, texts), the
//   same in this build and in the plain one or the comparison is void;
// - "calls": the host calls inside the measured part; under callgrind
//   (--collect-atstart=no) only that part is counted, so its instructions
//   divided by "calls" are the instructions of one host call;
// - "nodes": the nodes of an export's netlist (0 for the other steps), which
//   the report divides the export by for its time per node.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "base/item_codes.h"
#include "bench/report/report_driver.h"
#include "exports/netlist_text.h"
#include "frame/entry.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

using lm::report::Check;
using lm::report::ReportDriver;

// The host calls of one measured part, collected by callgrind when it runs.
class Measured {
public:
    explicit Measured(std::uint64_t& calls) : calls_(calls), start_(ReportDriver::calls()) {
        CALLGRIND_TOGGLE_COLLECT;
    }
    ~Measured() {
        CALLGRIND_TOGGLE_COLLECT;
        calls_ += ReportDriver::calls() - start_;
    }

private:
    std::uint64_t& calls_;
    std::uint64_t start_;
};

void Report(benchmark::State& state, std::uint64_t calls, double check) {
    const auto blocks = static_cast<double>(state.range(0));
    state.counters["calls"] = static_cast<double>(calls);
    state.counters["check"] = check;
    state.counters["blocks"] = blocks;
    // Every row has the same counters (the CSV output wants it); a step
    // measured whole has no estimate.
    state.counters["estimate_ms"] = 0;
    state.counters["stride"] = 0;
    state.counters["nodes"] = 0;
}

void Load(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> lines = lm::report::ProjectLines(n);
    std::uint64_t calls = 0;
    std::unique_ptr<ReportDriver> driver;
    for (auto _ : state) {
        state.PauseTiming();
        driver.reset();
        driver = std::make_unique<ReportDriver>();  // a fresh driver for every load
        state.ResumeTiming();
        Measured measured(calls);
        driver->LoadAll(n, lines);
    }
    Report(state, calls, driver->ValuesCheck());
}

void Save(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ReportDriver driver;
    driver.LoadAll(n, lm::report::ProjectLines(n));
    std::uint64_t calls = 0;
    // The host writes each line out as it comes: here it reads every byte
    // of it into a hash, so that the step is the driver's work and not the
    // stand-in host's keeping of the lines. Every size is measured past its
    // first save, as the small ones are over many iterations.
    Check check;
    const auto take = [&check](const char* line) { check.Add(line); };
    driver.SaveAll(n, take);
    for (auto _ : state) {
        Measured measured(calls);
        check = Check();
        driver.SaveAll(n, take);
    }
    Report(state, calls, check.value());
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// WriteNetList as the host's NetList runs it: the text written whole in the
// driver directory.
void Export(benchmark::State& state, std::string_view file_name) {
    const int n = static_cast<int>(state.range(0));
    ReportDriver driver;
    driver.LoadAll(n, lm::report::ProjectLines(n));
    const lm::report::Netlist netlist(n);
    lm::Driver& core = *lm::TheEntry().driver();
    std::uint64_t calls = 0;
    // Every size measured past its first export, as the small ones are over
    // many iterations.
    core.netlist().WriteNetList(0x12345678, &core.instances(), netlist.nodes.data(), file_name);
    for (auto _ : state) {
        Measured measured(calls);
        const std::string error = core.netlist().WriteNetList(0x12345678, &core.instances(),
                                                              netlist.nodes.data(), file_name);
        ++calls;  // the host's one NetList call
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    Check check;
    check.Add(ReadFile(driver.driver_dir() / file_name));
    Report(state, calls, check.value());
    state.counters["nodes"] = static_cast<double>(netlist.nodes.size());
}

void ExportNetlist(benchmark::State& state) {
    Export(state, lm::kNetlistFileName);
}
void ExportKomun(benchmark::State& state) {
    Export(state, lm::kKomunFileName);
}

// The plain lists at 100,000 blocks take minutes for a step, so the report
// estimates their figure there: the project is built whole with CreateObject
// (no lookup of the instance list, linear in both builds), then the host
// calls of the step are made for a sample of kSampleBlocks blocks spread
// evenly over the list (every k-th block) and their processor time is
// multiplied by k. A lookup costs what it costs at its block's place in the
// list, so the sample sees the same mix of short and long walks as the whole
// step. "estimate_ms" is the estimate; the driver as shipped runs the same
// sample, which shows how near the estimate comes to a measured step.
constexpr int kSampleBlocks = 1000;

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// What one sampled step measured: the processor time of the whole part and
// of the sampled calls, and the check of what the host got from the sample.
void ReportSampled(benchmark::State& state, double whole_ms, double sample_ms, int stride,
                   std::uint64_t calls, const Check& check) {
    Report(state, calls, check.value());
    state.counters["estimate_ms"] = whole_ms + sample_ms * stride;
    state.counters["stride"] = stride;
}

// CreateObject for every block (measured whole), LoadLine for the sample.
void LoadSampled(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int stride = std::max(1, n / kSampleBlocks);
    double whole_ms = 0, sample_ms = 0;
    std::uint64_t calls = 0;
    Check check;
    for (auto _ : state) {
        ReportDriver driver;
        const double start = CpuMs();
        ReportDriver::Call(lm::kStartLoadPrj);
        driver.CreateAll(n);
        const double created = CpuMs();
        for (int b = 0; b < n; b += stride) {
            const lm::report::Block block = lm::report::BlockAt(b);
            for (int k = 0; k < lm::report::kItemsPerBlock; ++k) {
                const std::string line = lm::report::ProjectLine(b, k);
                const PARAM_ENTRY r =
                    ReportDriver::Call(lm::kLoadLine, block.ident, block.instance, line.c_str());
                check.Add(std::to_string(r.wparam1));
                ++calls;
            }
        }
        const double sampled = CpuMs();
        ReportDriver::Call(lm::kEndLoadPrj);
        sample_ms = sampled - created;
        whole_ms = created - start + (CpuMs() - sampled);
        check.Add(std::to_string(driver.ValuesCheck()));
    }
    ReportSampled(state, whole_ms, sample_ms, stride, calls, check);
}

// The SaveLine calls of the sampled blocks.
void SaveSampled(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int stride = std::max(1, n / kSampleBlocks);
    ReportDriver driver;
    driver.CreateAll(n);
    double sample_ms = 0;
    std::uint64_t calls = 0;
    Check check;
    for (auto _ : state) {
        const double start = CpuMs();
        for (int b = 0; b < n; b += stride) {
            const lm::report::Block block = lm::report::BlockAt(b);
            for (;;) {
                const PARAM_ENTRY r =
                    ReportDriver::Call(lm::kSaveLine, block.ident, block.instance);
                ++calls;
                if (r.string1 != nullptr) check.Add(r.string1);
                if (r.wparam1 == 0) break;
            }
        }
        sample_ms = CpuMs() - start;
    }
    ReportSampled(state, 0, sample_ms, stride, calls, check);
}

// The export of a netlist whose nodes are the sampled blocks. What the
// export makes whatever its netlist (the header, and in the listing the list
// of every instance) is measured alone, with no netlist, and counted once;
// the rest of the sampled export is the sample. Each is the shortest of three
// runs, since the difference of the two is multiplied by the stride.
void ExportSampled(benchmark::State& state, std::string_view file_name) {
    const int n = static_cast<int>(state.range(0));
    const int stride = std::max(1, n / kSampleBlocks);
    ReportDriver driver;
    driver.CreateAll(n);
    const lm::report::Netlist netlist(n, stride);
    lm::Driver& core = *lm::TheEntry().driver();
    double whole_ms = 0, sample_ms = 0;
    std::uint64_t calls = 0;
    const auto shortest = [&](const dLMN_NODE* nodes) {
        double best = 0;
        for (int run = 0; run < 3; ++run) {
            const double start = CpuMs();
            const std::string error =
                core.netlist().WriteNetList(0x12345678, &core.instances(), nodes, file_name);
            const double took = CpuMs() - start;
            if (!error.empty()) state.SkipWithError(error.c_str());
            if (run == 0 || took < best) best = took;
        }
        return best;
    };
    for (auto _ : state) {
        whole_ms = shortest(nullptr);
        sample_ms = std::max(0.0, shortest(netlist.nodes.data()) - whole_ms);
        ++calls;
    }
    Check check;
    check.Add(ReadFile(driver.driver_dir() / file_name));
    ReportSampled(state, whole_ms, sample_ms, stride, calls, check);
}

void ExportNetlistSampled(benchmark::State& state) {
    ExportSampled(state, lm::kNetlistFileName);
}
void ExportKomunSampled(benchmark::State& state) {
    ExportSampled(state, lm::kKomunFileName);
}

// One timer tick with as many orders as blocks of which `due` are due: each
// due order is requested, the program answers at once, each answer is
// matched to its orders and sent to the host.
void RunTickDue(benchmark::State& state, int due) {
    const int n = static_cast<int>(state.range(0));
    ReportDriver driver(true);
    driver.CreateAll(n);
    driver.OrderAll(n, due);
    driver.Tick();
    Check check = driver.answer_check();
    check.Add(std::to_string(driver.answers()));
    std::uint64_t calls = 0;
    for (auto _ : state) {
        Measured measured(calls);
        driver.Tick();
        ++calls;  // the timer's one call into the driver
    }
    Report(state, calls, check.value());
}

// Every order due.
void RunTick(benchmark::State& state) {
    RunTickDue(state, static_cast<int>(state.range(0)));
}
// 1 % of the orders due.
void RunTickOnePercent(benchmark::State& state) {
    RunTickDue(state, std::max(1, static_cast<int>(state.range(0)) / 100));
}
// 1,000 orders due (from 1,000 blocks on).
void RunTickThousandDue(benchmark::State& state) {
    RunTickDue(state, 1000);
}

// One host call of BINTOSTR or STRTOBIN on a WORD through the entry.
void Conversion(benchmark::State& state, bool to_text) {
    ReportDriver driver;
    std::uint8_t bytes[2] = {0x39, 0x30};
    char format[] = "#####";
    char text[] = "12345";
    std::uint64_t calls = 0;
    PARAM_ENTRY out{};
    {
        Measured measured(calls);
        for (auto _ : state) {
            PARAM_ENTRY r{};
            r.lmd_func = to_text ? lm::kBinToStr : lm::kStrToBin;
            r.wparam1 = lm::kTypWord;
            if (to_text) {
                r.data1 = bytes;
                r.string1 = format;
            } else {
                r.string1 = text;
                r.string2 = format;
            }
            out = ReportDriver::Call(r);
            benchmark::DoNotOptimize(out);
        }
    }
    Check check;
    if (to_text && out.string2 != nullptr) check.Add(out.string2);
    if (!to_text && out.data1 != nullptr) {
        const auto* data = static_cast<const char*>(out.data1);
        check.Add(std::string_view(data, 2));
    }
    if (out.wparam1 != 1) state.SkipWithError("the conversion failed");
    Report(state, calls, check.value());
}

void BinToStr(benchmark::State& state) {
    Conversion(state, true);
}
void StrToBin(benchmark::State& state) {
    Conversion(state, false);
}

// A field of /proc/self/status in kB (VmRSS, VmHWM), 0 where there is none.
double StatusKb(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            return std::stod(line.substr(field.size() + 1));
        }
    }
    return 0;
}

// The memory of a loaded project; run alone in its process, so that the peak
// resident size is this project's. "above_kB" is the peak above the size of
// the driver with its library loaded.
void Memory(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ReportDriver driver;
    const double base_kb = StatusKb("VmRSS");
    for (auto _ : state) driver.LoadGenerated(n);
    const double above_kb = StatusKb("VmHWM") - base_kb;
    const auto record_bytes = static_cast<double>(driver.RecordBytes());
    state.counters["above_kB"] = above_kb;
    state.counters["bytes_per_block"] = above_kb * 1024 / n;
    state.counters["record_bytes_per_block"] = record_bytes / n;
    state.counters["x_records"] = above_kb * 1024 / record_bytes;
    Report(state, 0, driver.ValuesCheck());
}

// LM_REPORT_ITERATIONS fixes every step's iterations, as an instruction count
// under callgrind needs: it adds up every run of the process.
int Register() {
    const char* fixed = std::getenv("LM_REPORT_ITERATIONS");
    const long iterations = fixed != nullptr ? std::strtol(fixed, nullptr, 10) : 0;
    using Step = void (*)(benchmark::State&);
    const std::pair<const char*, Step> steps[] = {
        {"Load", Load},
        {"Save", Save},
        {"ExportNetlist", ExportNetlist},
        {"ExportKomun", ExportKomun},
        {"RunTick", RunTick},
        {"RunTickOnePercent", RunTickOnePercent},
        {"RunTickThousandDue", RunTickThousandDue},
    };
    for (const auto& [name, step] : steps) {
        for (int blocks : {100, 1000, 10000, 100000}) {
            if (step == RunTickThousandDue && blocks < 1000) continue;
            auto* b = benchmark::RegisterBenchmark(name, step)->Arg(blocks);
            b->ArgName("blocks")->Unit(benchmark::kMillisecond);
            if (iterations > 0) {
                b->Iterations(iterations);
            } else if (step == Load) {
                // A load is measured as the first in its process (the
                // report runs each in a process of its own).
                b->Iterations(1);
            } else {
                // The median of three runs: a step of one iteration (the
                // large sizes) is not taken from one moment of a busy machine.
                if (blocks >= 10000) {
                    b->Iterations(1);
                } else {
                    b->MinTime(0.1);
                }
                b->Repetitions(3)->ReportAggregatesOnly(true);
            }
        }
    }
    const std::pair<const char*, Step> sampled[] = {
        {"LoadSampled", LoadSampled},
        {"SaveSampled", SaveSampled},
        {"ExportNetlistSampled", ExportNetlistSampled},
        {"ExportKomunSampled", ExportKomunSampled},
    };
    for (const auto& [name, step] : sampled) {
        for (int blocks : {10000, 100000}) {
            benchmark::RegisterBenchmark(name, step)
                ->Arg(blocks)
                ->ArgName("blocks")
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
    for (int blocks : {100, 1000, 10000, 100000}) {
        benchmark::RegisterBenchmark("Memory", Memory)
            ->Arg(blocks)
            ->ArgName("blocks")
            ->Iterations(1);
    }
    for (const auto& [name, step] : {std::pair<const char*, Step>{"BinToStr", BinToStr},
                                     std::pair<const char*, Step>{"StrToBin", StrToBin}}) {
        auto* b = benchmark::RegisterBenchmark(name, step)->Arg(1)->ArgName("call");
        if (iterations > 0) {
            b->Iterations(iterations * 1000);
        } else {
            b->MinTime(0.2);
        }
    }
    return 0;
}
const int registered = Register();

}  // namespace
