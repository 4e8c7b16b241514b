// Cost of an entry call with logging off (no log text may be formatted) and on
// (two parameter dumps and the frame lines: about 40 lines, one write each).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "frame/entry.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace fs = std::filesystem;

struct Session {
    explicit Session(bool logging) {
        work = fs::temp_directory_path() / "lmdriver-bench";
        fs::create_directories(work / "OVLADACE" / "KADEX2");
        fs::current_path(work);
        auto platform = std::make_unique<lm::HeadlessPlatform>();
        platform->SetQuiet(true);
        lm::InstallPlatform(std::move(platform));
        PARAM_ENTRY load{};
        load.lmd_func = lm::kLoadDriver;
        LumarDriver_Entry(&load);
        lm::TheEntry().wide().log.set_enabled(logging);
    }
    ~Session() {
        lm::ReleaseTheEntry();
        fs::remove_all(work);
    }
    fs::path work;
};

void Calls(benchmark::State& state, std::uint16_t code) {
    Session session(state.range(0) != 0);
    PARAM_ENTRY record{};
    for (auto _ : state) {
        record = PARAM_ENTRY{};
        record.lmd_func = code;
        record.wparam1 = 14;
        benchmark::DoNotOptimize(LumarDriver_Entry(&record));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ErrText(benchmark::State& state) {
    Calls(state, lm::kErrText);
}
void BM_UnknownCode(benchmark::State& state) {
    Calls(state, 26);
}

BENCHMARK(BM_ErrText)->ArgName("logging")->Arg(0)->Arg(1);
BENCHMARK(BM_UnknownCode)->ArgName("logging")->Arg(0)->Arg(1);

}  // namespace
