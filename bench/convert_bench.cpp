// BINTOSTR and STRTOBIN as the host calls them for every value it shows, one
// standard type at a time, with logging off: the services themselves, without
// the entry frame around them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "base/item_codes.h"
#include "base/log_sink.h"
#include "values/item_services.h"

namespace {

struct TypeSample {
    std::uint8_t type;
    const char* name;
    std::uint8_t bytes[4];
    const char* text;
    const char* format;
};

constexpr TypeSample kSamples[] = {
    {lm::kTypByte, "BYTE", {200, 0, 0, 0}, "200", "###"},
    {lm::kTypInt, "INT", {0x18, 0xFC, 0, 0}, "-1000", "######"},
    {lm::kTypWord, "WORD", {0x39, 0x30, 0, 0}, "12345", "#####"},
    {lm::kTypLong, "LONG", {0x2E, 0xFD, 0x69, 0xB6}, "-1234567890", "###########"},
    {lm::kTypDword, "DWORD", {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295", "##########"},
};

void BM_BinToStr(benchmark::State& state) {
    const TypeSample& sample = kSamples[state.range(0)];
    state.SetLabel(sample.name);
    lm::ConversionBuffers buffers;
    lm::NoLog log;
    std::uint8_t bytes[4];
    char format[16];
    std::copy(std::begin(sample.bytes), std::end(sample.bytes), bytes);
    std::snprintf(format, sizeof format, "%s", sample.format);
    PARAM_ENTRY record{};
    for (auto _ : state) {
        record = PARAM_ENTRY{};
        record.lmd_func = 36;
        record.wparam1 = sample.type;
        record.data1 = bytes;
        record.string1 = format;
        benchmark::DoNotOptimize(lm::BINTOSTR(record, buffers, log));
        benchmark::DoNotOptimize(record.string2);
    }
    if (record.wparam1 != 1) state.SkipWithError("BINTOSTR failed");
    state.SetItemsProcessed(state.iterations());
}

void BM_StrToBin(benchmark::State& state) {
    const TypeSample& sample = kSamples[state.range(0)];
    state.SetLabel(sample.name);
    lm::ConversionBuffers buffers;
    lm::NoLog log;
    char text[16];
    char format[16];
    std::snprintf(text, sizeof text, "%s", sample.text);
    std::snprintf(format, sizeof format, "%s", sample.format);
    PARAM_ENTRY record{};
    for (auto _ : state) {
        record = PARAM_ENTRY{};
        record.lmd_func = 37;
        record.wparam1 = sample.type;
        record.string1 = text;
        record.string2 = format;
        benchmark::DoNotOptimize(lm::STRTOBIN(record, buffers, log));
        benchmark::DoNotOptimize(record.data1);
    }
    if (record.wparam1 != 1) state.SkipWithError("STRTOBIN failed");
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_BinToStr)->ArgName("type")->DenseRange(0, 4);
BENCHMARK(BM_StrToBin)->ArgName("type")->DenseRange(0, 4);

}  // namespace
