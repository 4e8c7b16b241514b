// Loading the object library from TOOLS.INI: a generated library of N object
// files of 40 items each, logging off. Reports objects per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/log_sink.h"
#include "library/tools.h"
#include "platform/headless/headless_platform.h"
#include "tools/lmcheck/check_driver_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kItemsPerObject = 40;

// One object definition as a controller maker writes it: 8 items in each list.
std::string ObjectText(int ident) {
    static const char* const kLists[] = {"D_IN", "D_OUT", "D_INIT", "D_PROM", "DATA_USER"};
    const std::string number = std::to_string(ident);
    std::string text;
    text += "{ generated object }\r\nOBJECT\r\n  IDENT ";
    text += number;
    text += "\r\n  JMENO \"OBJ";
    text += number;
    text += "\"\r\n  NAZEV \"Generovany objekt\"\r\n  VSTUPU 8 VYSTUPU 8\r\n";
    text += "  ATRIBUTY ( SPECDIAL )\r\n";
    int item = 0;
    for (const char* list : kLists) {
        text += "  ";
        text += list;
        text += "\r\n";
        for (int k = 0; k < kItemsPerObject / 5; ++k, ++item) {
            const std::string item_number = std::to_string(item);
            text += "    ITEM\r\n      IDENT ";
            text += item_number;
            text += "\r\n      JMENO \"ITEM";
            text += item_number;
            text +=
                "\"\r\n      HELP1 \"Polozka objektu\"\r\n      TYP USER SUBTYP 3BF DELKA 3\r\n";
            text += "      FORMAT \"#####.##\"\r\n      POZICE_X 0 POZICE_Y 8\r\n";
            text += "      DEFAULT \"1.5\" MIN -100 MAX 100\r\n";
            text +=
                "      ATRIBUTY ( SETEDIT JEDEF JEMINMAX )\r\n      CW_OUT BIDIR\r\n    "
                "ITEM_END\r\n";
        }
        text += "  ";
        text += list;
        text += "_END\r\n";
    }
    text += "OBJECT_END\r\n";
    return text;
}

struct GeneratedLibrary {
    explicit GeneratedLibrary(int objects) {
        dir = fs::temp_directory_path() / ("lmdriver-library-bench-" + std::to_string(objects));
        fs::create_directories(dir);
        std::string tools = "FIRMWARE 2 3\r\nTOOL ID 1 POPIS \"Vse\" OBJECTS\r\n";
        for (int i = 1; i <= objects; ++i) {
            std::string name = "O";
            name += std::to_string(i);
            name += ".DEF";
            std::ofstream(dir / name, std::ios::binary) << ObjectText(i);
            tools += "  ";
            tools += name;
            tools += "\r\n";
        }
        tools += "END_OBJECTS END_TOOL\r\n";
        std::ofstream(dir / "TOOLS.INI", std::ios::binary) << tools;
        driver_dir = dir.string() + "/";
    }
    ~GeneratedLibrary() { fs::remove_all(dir); }
    fs::path dir;
    std::string driver_dir;
};

void LoadTools(benchmark::State& state) {
    const int objects = static_cast<int>(state.range(0));
    GeneratedLibrary files(objects);
    lm::HeadlessPlatform platform;
    lm::NoLog log;
    for (auto _ : state) {
        lm::ObjectLibrary library(platform);
        std::string error;
        lm::LOAD_TOOLS(platform.files(), files.driver_dir + "TOOLS.INI", files.driver_dir, library,
                       error, 255, log);
        if (library.objects.size() != static_cast<std::size_t>(objects) || !error.empty()) {
            state.SkipWithError("the generated library did not load");
            break;
        }
        benchmark::DoNotOptimize(library.objects.head());
    }
    state.counters["objects/s"] =
        benchmark::Counter(objects, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(LoadTools)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

// lmcheck over the same library: every file read in checking mode and every
// item checked (its conversions included).
void CheckDriverDir(benchmark::State& state) {
    const int objects = static_cast<int>(state.range(0));
    GeneratedLibrary files(objects);
    std::ofstream(files.dir / "STARTUP.INI", std::ios::binary) << "LOGFILE OFF\r\n";
    for (auto _ : state) {
        const lmcheck::CheckResult result = lmcheck::CheckDriverDir(files.driver_dir);
        // The generated objects have warnings (no help index item, idents
        // above 255) but no errors.
        if (result.objects != static_cast<std::size_t>(objects) || result.errors != 0) {
            state.SkipWithError("the generated library did not check as expected");
            break;
        }
    }
    state.counters["objects/s"] =
        benchmark::Counter(objects, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(CheckDriverDir)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
