// Saving and loading a project through the entry, as the host does it, over
// growing numbers of instances with 8 user items each (logging off).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/entry.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace fs = std::filesystem;

// A driver with a one-object library (ident 7, 8 user items), loaded and initialised.
struct Driver {
    Driver() {
        work = fs::temp_directory_path() / "lmdriver-project-bench";
        fs::create_directories(work / "OVLADACE" / "KADEX2");
        const fs::path dir = work / "OVLADACE" / "KADEX2";
        std::ofstream(dir / "TOOLS.INI") << "TOOL ID 1 OBJECTS BLOCK.DEF END_OBJECTS END_TOOL\r\n";
        std::ofstream(dir / "STARTUP.INI") << "LOGFILE OFF\r\n";
        std::ofstream block(dir / "BLOCK.DEF");
        block << "OBJECT IDENT 7 JMENO \"BLOCK\" DATA_USER\r\n";
        for (int i = 0; i < 8; ++i) {
            block << "ITEM IDENT " << 10 + i << " JMENO \"U" << i
                  << "\" TYP WORD FORMAT \"#####\" DEFAULT \"" << i << "\" ITEM_END\r\n";
        }
        block << "DATA_USER_END OBJECT_END\r\n";
        block.close();
        fs::current_path(work);
        auto platform = std::make_unique<lm::HeadlessPlatform>();
        platform->SetQuiet(true);
        lm::InstallPlatform(std::move(platform));
        Call(lm::kLoadDriver);
        Call(lm::kInitObjects);
    }
    ~Driver() {
        lm::ReleaseTheEntry();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(work);
    }
    static PARAM_ENTRY Call(std::uint16_t code, std::uint16_t w1 = 0, std::uint16_t w2 = 0,
                            const char* text = nullptr) {
        PARAM_ENTRY r{};
        r.lmd_func = code;
        r.wparam1 = w1;
        r.wparam2 = w2;
        r.string1 = const_cast<char*>(text);
        LumarDriver_Entry(&r);
        return r;
    }
    fs::path work;
};

// Every SaveLine call of a whole project; returns the lines.
std::vector<std::string> SaveAll(int instances) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(instances) * 8);
    for (int i = 1; i <= instances; ++i) {
        for (;;) {
            PARAM_ENTRY r = Driver::Call(lm::kSaveLine, 7, static_cast<std::uint16_t>(i));
            const char* line = r.string1;
            if (line != nullptr) lines.emplace_back(line);
            if (r.wparam1 == 0) break;
        }
    }
    return lines;
}

void CreateAll(int instances) {
    for (int i = 1; i <= instances; ++i)
        Driver::Call(lm::kCreateObject, 7, static_cast<std::uint16_t>(i));
}

void BM_SaveProject(benchmark::State& state) {
    Driver driver;
    const int n = static_cast<int>(state.range(0));
    CreateAll(n);
    for (auto _ : state) benchmark::DoNotOptimize(SaveAll(n));
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_LoadProject(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> lines;
    {
        Driver driver;
        CreateAll(n);
        lines = SaveAll(n);
    }
    std::unique_ptr<Driver> driver;
    for (auto _ : state) {
        state.PauseTiming();
        driver.reset();
        driver = std::make_unique<Driver>();  // a fresh driver for every load
        state.ResumeTiming();
        Driver::Call(lm::kStartLoadPrj);
        std::size_t next = 0;
        for (int i = 1; i <= n; ++i) {
            const auto instance = static_cast<std::uint16_t>(i);
            Driver::Call(lm::kCreateObject, 7, instance);
            for (int k = 0; k < 8; ++k) {
                Driver::Call(lm::kLoadLine, 7, instance, lines[next++].c_str());
            }
        }
        Driver::Call(lm::kEndLoadPrj);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_DeleteAll(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::unique_ptr<Driver> driver;
    for (auto _ : state) {
        state.PauseTiming();
        driver.reset();
        driver = std::make_unique<Driver>();
        CreateAll(n);
        state.ResumeTiming();
        for (int i = 1; i <= n; ++i) {
            Driver::Call(lm::kDeleteObject, 7, static_cast<std::uint16_t>(i));
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Instance numbers are 16-bit: 50,000 instances fit.
BENCHMARK(BM_SaveProject)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProject)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAll)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
