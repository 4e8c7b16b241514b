// The Control Web export over growing selections: the four files (PAR, DMF,
// CW, CP) built and written whole to a temporary folder. Reports items per
// second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/item_codes.h"
#include "exports/cw_exports.h"
#include "platform/headless/headless_platform.h"

namespace {

std::vector<lm::CwItem> Selection(std::size_t size) {
    constexpr std::uint8_t kDirections[] = {lm::kCwOutRead, lm::kCwOutWrite, lm::kCwOutBidir};
    std::vector<lm::CwItem> items(size);
    for (std::size_t i = 0; i < size; ++i) {
        lm::CwItem& item = items[i];
        item.object_name = "TERMOSTAT";
        item.ident = 40;
        item.instance = static_cast<std::uint16_t>(i / 10 + 1);
        item.item_name = "TEPLOTA_" + std::to_string(i % 10);
        item.item_ident = static_cast<std::uint16_t>(i % 10);
        item.typ = i % 2 == 0 ? lm::kTypWord : lm::kTypUser;
        item.subtyp = lm::kSubtypFloat;
        item.cw_out = kDirections[i % 3];
        item.value = "21.5";
        item.value_flag = i % 4 == 0;
    }
    return items;
}

void BM_CwExportFourFiles(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::vector<lm::CwItem> items = Selection(size);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("lm_cw_bench_" + std::to_string(size));
    std::filesystem::create_directories(dir);
    lm::HeadlessPlatform platform;
    lm::NoLog log;
    lm::CwExports exports(
        lm::ServiceContext{platform, platform.files(), log, "c:\\LUMAR\\KADEX2\\"});
    lm::CwExportChoice choice;
    const char* extensions[] = {"a.par", "a.dmf", "a.cw", "a.cp"};
    for (std::size_t i = 0; i < lm::kCwFileCount; ++i) {
        choice.paths[i] = (dir / extensions[i]).string();
        choice.create[i] = true;
    }
    choice.first_channel = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(exports.Write(choice, items, lm::settings::TComSettings{}));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * size));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CwExportFourFiles)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
