// The netlist exports over growing projects: every node a block of the sample
// library with 5 constants and 5 wires to the node before it, each lookup
// through the instance index; logging off. Reports nodes per second, for the
// text alone and for the whole export written to a file.
#include <benchmark/benchmark.h>

#include <array>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "exports/netlist_exports.h"
#include "exports/netlist_text.h"
#include "instances/lookups.h"
#include "library/objects.h"
#include "library/tools.h"
#include "platform/headless/headless_platform.h"

namespace {

// Objects of the sample library with items of numbers (INT, WORD, 3BF, FLOAT).
constexpr std::uint16_t kIdents[] = {40, 25, 43, 20, 21, 23, 22, 42, 24, 26};

struct Project {
    explicit Project(std::size_t size) : library(platform) {
        const std::string dir = std::string(LM_SAMPLE_DRIVER_DIR) + "/";
        std::string error;
        lm::NoLog log;
        lm::LOAD_TOOLS(platform.files(), dir + "TOOLS.INI", dir, library, error, lm::kMaxText, log);
        nodes.resize(size);
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint16_t ident = kIdents[i % std::size(kIdents)];
            const auto instance = static_cast<std::uint16_t>(i / std::size(kIdents) + 1);
            const dLM_OBJECT* object = lm::FIND_INSTANCE(library.objects.head(), ident, 0);
            instances.Create(*object, instance, log);
            dLMN_NODE& node = nodes[i];
            node = {};
            node.ident = ident;
            node.instance = instance;
            if (i + 1 < size) node.next = &nodes[i + 1];
            std::vector<std::uint16_t> items;
            for (dLM_DATAITEM* list : lm::ItemListsOf(*object)) {
                for (dLM_DATAITEM* item = list; item != nullptr; item = item->next) {
                    if (item->ident != 9999) items.push_back(item->ident);
                }
            }
            for (int k = 0; k < 5; ++k) {
                dLMN_CONST& c = constants.emplace_back();
                c = {};
                c.level = 2;
                c.item = items[k % items.size()];
                c.data = value.data();
                c.length = 4;
                c.next = k == 0 ? nullptr : &constants[constants.size() - 2];
            }
            node.constants = &constants.back();
            if (i == 0) continue;
            for (int k = 0; k < 5; ++k) {
                dLMN_CONNECT& w = wires.emplace_back();
                w = {};
                w.item = items[k % items.size()];
                w.other_item = 10;
                w.other = &nodes[i - 1];
                w.next = k == 0 ? nullptr : &wires[wires.size() - 2];
            }
            node.connections = &wires.back();
        }
        header.firmware_low = library.firmware_low;
        header.firmware_high = library.firmware_high;
        header.settings.TCP = true;
        header.settings.TCPIP = "192.168.1.10";
    }

    lm::HeadlessPlatform platform;
    lm::ObjectLibrary library;
    lm::InstanceList instances;
    std::vector<dLMN_NODE> nodes;
    std::deque<dLMN_CONST> constants;
    std::deque<dLMN_CONNECT> wires;
    std::array<std::uint8_t, 4> value = {0x2C, 0x01, 0x00, 0x00};
    lm::NetListHeader header;
};

void Export(benchmark::State& state, lm::NetListMode mode) {
    Project project(static_cast<std::size_t>(state.range(0)));
    lm::NoLog log;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = lm::NetListText(mode, 0x12345678, &project.instances,
                                           project.nodes.data(), project.header, log);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_NetlistText(benchmark::State& state) {
    Export(state, lm::NetListMode::Listing);
}
void BM_NetlistKomun(benchmark::State& state) {
    Export(state, lm::NetListMode::Komun);
}

// WriteNetList as the host's NetList runs it: the text, then the file
// written whole in a temporary folder and renamed over the earlier one.
void Write(benchmark::State& state, std::string_view file_name) {
    namespace fs = std::filesystem;
    Project project(static_cast<std::size_t>(state.range(0)));
    const fs::path dir = fs::temp_directory_path() / "lmdriver-netlist-bench";
    fs::create_directories(dir);
    lm::NoLog log;
    lm::NetlistExports exports(
        lm::ServiceContext{project.platform, project.platform.files(), log, dir.string() + "/"},
        project.instances, project.library, [&] { return std::optional(project.header.settings); },
        [&] { return project.header.window; });
    for (auto _ : state) {
        const std::string error =
            exports.WriteNetList(0x12345678, &project.instances, project.nodes.data(), file_name);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

void BM_NetlistTextFile(benchmark::State& state) {
    Write(state, lm::kNetlistFileName);
}
void BM_NetlistKomunFile(benchmark::State& state) {
    Write(state, lm::kKomunFileName);
}

BENCHMARK(BM_NetlistText)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetlistKomun)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetlistTextFile)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetlistKomunFile)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
