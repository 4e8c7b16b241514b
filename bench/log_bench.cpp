// The cost of a log line with logging on (Log::Write to LMDRIVER.LOG, which it
// keeps open) against an unbuffered write(2) of the same bytes to an open file,
// measured in the same run. BM_LogLine reports the ratio of their processor
// times as "x_bare_write".
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "frame/log.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace fs = std::filesystem;

// The thread's processor time (user and system) in nanoseconds: steadier than
// the wall clock on a busy machine.
double CpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// A line of a parameter dump, as most log lines are.
constexpr std::string_view kMessage = "              lparam1 =0012:ABCD";

struct Folder {
    explicit Folder(const char* name) : path(fs::temp_directory_path() / name) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    fs::path path;
};

std::string LineBytes(lm::Platform& platform) {
    return platform.DateTimeText() + " | " + std::string(kMessage) + "\r\n";
}

// Processor nanoseconds a line for `count` unbuffered writes of `bytes` to an open file.
double BareWriteNs(const fs::path& file, const std::string& bytes, int count) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const double start = CpuNs();
    for (int i = 0; i < count; ++i)
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    const double spent = CpuNs() - start;
    ::close(fd);
    return spent / count;
}

void BM_BareWrite(benchmark::State& state) {
    Folder folder("lmdriver-bench-bare-write");
    lm::HeadlessPlatform platform;
    const std::string bytes = LineBytes(platform);
    const int fd =
        ::open((folder.path / "bare.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    for (auto _ : state) benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::close(fd);
    state.SetItemsProcessed(state.iterations());
}

void BM_LogLine(benchmark::State& state) {
    Folder folder("lmdriver-bench-log-line");
    lm::HeadlessPlatform platform;
    lm::Log log(platform);
    log.set_file((folder.path / "LMDRIVER.LOG").string());
    log.set_enabled(true);
    const double start = CpuNs();
    for (auto _ : state) log.Write(kMessage);
    const double line_ns = (CpuNs() - start) / static_cast<double>(state.iterations());
    log.set_enabled(false);
    const double bare_ns = BareWriteNs(folder.path / "bare.log", LineBytes(platform), 20000);
    state.counters["bare_write_ns"] = bare_ns;
    state.counters["x_bare_write"] = line_ns / bare_ns;
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_BareWrite);
BENCHMARK(BM_LogLine);

}  // namespace
