// The definition reader over a large generated definition text: MB/s.
#include <benchmark/benchmark.h>

#include <string>

#include "library/definition_reader.h"

namespace {

// About `megabytes` MB of definition text: keywords, integers, reals, quoted
// strings and comments, with CR LF line ends.
std::string DefinitionText(std::size_t megabytes) {
    const std::string block =
        "{ a comment with a few words }\r\n"
        "ITEM\r\n  IDENT 12\r\n  JMENO \"Teplota kotle\"\r\n  TYP USER SUBTYP 3BF\r\n"
        "  DELKA 3\r\n  FORMAT \"####.##\"\r\n  MIN -50.5 MAX 1.5E2\r\n  DEFAULT \"20.00\"\r\n"
        "  ATRIBUTY ( JEDEF JEMINMAX )\r\nITEM_END\r\n";
    std::string text;
    text.reserve(megabytes * 1024 * 1024 + block.size());
    while (text.size() < megabytes * 1024 * 1024) text += block;
    return text;
}

void BM_ReadDefinitionText(benchmark::State& state) {
    const std::string text = DefinitionText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        lm::TextSource source(text);
        bool ok = true;
        std::size_t values = 0;
        while (!source.Eof()) {
            std::string token = lm::READ_TOKEN(source);
            if (token == "IDENT" || token == "DELKA") {
                benchmark::DoNotOptimize(lm::READ_INT(source, ok));
            } else if (token == "MIN" || token == "MAX") {
                benchmark::DoNotOptimize(lm::READ_REAL(source, ok));
            } else if (token == "JMENO" || token == "FORMAT" || token == "DEFAULT") {
                benchmark::DoNotOptimize(lm::READ_STRING(source, ok));
            } else if (token.empty()) {
                break;
            }
            ++values;
        }
        benchmark::DoNotOptimize(values);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_ReadDefinitionText)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
