// profiles.ini with a full table of 501 profiles: loaded into the table and
// saved over the file's previous text (the work between the one read and the
// one write of the file).
#include <benchmark/benchmark.h>

#include "base/log_sink.h"
#include "settings/profiles.h"

namespace {

using lm::settings::ProfileTable;

ProfileTable FullTable() {
    ProfileTable table;
    table.count = lm::settings::kProfileSlots;
    table.position = 250;
    for (int i = 0; i < table.count; ++i) {
        auto& p = table.entries[static_cast<std::size_t>(i)];
        p.Name = "Stanice " + std::to_string(i);
        p.TCP = i % 3 == 0;
        p.TimeOut = 2.5;
    }
    return table;
}

void BM_LoadProfiles501(benchmark::State& state) {
    const std::string text = lm::settings::SavedProfilesText("", FullTable(), ',');
    lm::NoLog log;
    for (auto _ : state) {
        ProfileTable table;
        lm::settings::LoadProfiles(text, table, ',', log);
        benchmark::DoNotOptimize(table.entries.data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_LoadProfiles501)->Unit(benchmark::kMillisecond);

void BM_SaveProfiles501(benchmark::State& state) {
    const ProfileTable table = FullTable();
    const std::string old_text = lm::settings::SavedProfilesText("", table, ',');
    ProfileTable changed = table;
    for (auto& p : changed.entries) p.Address = 9;
    for (auto _ : state) {
        std::string text = lm::settings::SavedProfilesText(old_text, changed, ',');
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SaveProfiles501)->Unit(benchmark::kMillisecond);

}  // namespace
