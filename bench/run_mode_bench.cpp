// Run mode through the entry and the headless platform's timer and messages:
// the order pass of one timer tick and the matching of a data answer to its
// orders, over growing numbers of orders (logging off).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "base/window_messages.h"
#include "frame/entry.h"
#include "platform/headless/headless_platform.h"
#include "values/hex_texts.h"

namespace {

namespace fs = std::filesystem;

constexpr int kItems = 100;  // items of the one object; instances hold up to 100 each

// A driver in run mode: one object (ident 7) of 100 WORD items, 100 placed
// blocks, a communication program that answers every read at once when
// `answering`, and host windows that take the answers.
struct RunDriver {
    RunDriver() {
        work = fs::temp_directory_path() / "lmdriver-run-bench";
        const fs::path dir = work / "OVLADACE" / "KADEX2";
        fs::create_directories(dir);
        std::ofstream(dir / "TOOLS.INI") << "TOOL ID 1 OBJECTS BLOCK.DEF END_OBJECTS END_TOOL\r\n";
        std::ofstream(dir / "STARTUP.INI") << "LOGFILE OFF\r\n";
        std::ofstream(dir / "SETCOM.INI")
            << "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n\r\n1998\r\n";
        std::ofstream block(dir / "BLOCK.DEF");
        block << "OBJECT IDENT 7 JMENO \"BLOCK\" DATA_USER\r\n";
        for (int i = 1; i <= kItems; ++i)
            block << "ITEM IDENT " << i << " JMENO \"U" << i << "\" TYP WORD DELKA 2 ITEM_END\r\n";
        block << "DATA_USER_END OBJECT_END\r\n";
        block.close();
        fs::current_path(work);
        auto owned = std::make_unique<lm::HeadlessPlatform>();
        owned->SetQuiet(true);
        platform = owned.get();
        lm::InstallPlatform(std::move(owned));
        tolan = platform->RegisterMessage(lm::kMsgTolan);
        Call(lm::kLoadDriver);
        Call(lm::kInitObjects);
        for (int i = 1; i <= 100; ++i) Call(lm::kCreateObject, 7, static_cast<std::uint16_t>(i));
        host = platform->AddWindow([](unsigned, std::uintptr_t, std::intptr_t) { return 0; });
        client =
            platform->AddWindow([this](unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
                if (msg == tolan && wparam == 1 && answering) {
                    std::string text = platform->GlobalAtomName(static_cast<lm::AtomId>(lparam));
                    Answer(text.substr(0, 14) + " 01 02 03 04|");
                }
                return 0;
            });
        Call(lm::kStartRun);
    }
    // The program announces its window.
    void Announce() {
        platform->SendMessageTo(platform->driver_window(), tolan, 0,
                                static_cast<std::intptr_t>(client));
    }
    ~RunDriver() {
        lm::ReleaseTheEntry();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(work);
    }
    static void Call(std::uint16_t code, std::uint16_t w1 = 0, std::uint16_t w2 = 0) {
        PARAM_ENTRY r{};
        r.lmd_func = code;
        r.wparam1 = w1;
        r.wparam2 = w2;
        LumarDriver_Entry(&r);
    }
    // `n` orders over the blocks' items, `windows` orders per item.
    void Order(int n, std::uint16_t period, int windows = 1) {
        for (int k = 0; k < n; ++k) {
            PARAM_ENTRY r{};
            r.lmd_func = lm::kOrderData;
            const int item = k / windows;
            r.wparam1 = 7;
            r.wparam2 = static_cast<std::uint16_t>(1 + (item / kItems) % 100);
            r.lparam1 = static_cast<std::uint32_t>(1 + item % kItems);
            r.lparam2 = static_cast<std::uint32_t>(host);
            r.data1 = reinterpret_cast<void*>(static_cast<std::uintptr_t>(k));
            r.data2 = &period;
            LumarDriver_Entry(&r);
        }
    }
    void Answer(const std::string& text) {
        const lm::AtomId atom = platform->AddGlobalAtom(text);
        platform->SendMessageTo(platform->driver_window(), tolan, 2, atom);
        platform->DeleteGlobalAtom(atom);
    }

    fs::path work;
    lm::HeadlessPlatform* platform = nullptr;
    unsigned tolan = 0;
    lm::WindowHandle host = 0, client = 0;
    bool answering = true;
};

// One tick when no order is due: the walk over the list alone.
void BM_OrderPassNoneDue(benchmark::State& state) {
    RunDriver driver;
    driver.Announce();
    driver.Order(static_cast<int>(state.range(0)), 60000);
    for (auto _ : state) driver.platform->Tick();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One tick when every order is due: each is requested, the program answers
// each read at once, every answer is matched and sent to the host's window.
void BM_OrderPassAllDue(benchmark::State& state) {
    RunDriver driver;
    driver.Announce();
    driver.Order(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) driver.platform->Tick();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One tick in a steady run: period 1 s, so about one order in eleven is due.
void BM_OrderPassPeriod1s(benchmark::State& state) {
    RunDriver driver;
    driver.Announce();
    driver.Order(static_cast<int>(state.range(0)), 10);
    for (auto _ : state) driver.platform->Tick();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The order pass alone with every order due: each is looked up, its read
// command built and queued once (the program has not announced itself, so
// nothing is sent).
void BM_OrderPassAllDueNoExchange(benchmark::State& state) {
    RunDriver driver;
    driver.Order(static_cast<int>(state.range(0)), 0);
    lm::OrderList& orders = lm::TheEntry().driver()->run().orders();
    for (auto _ : state) {
        state.PauseTiming();
        for (lm::dLM_ORDER& order : orders) order.pending = false;
        state.ResumeTiming();
        driver.platform->Tick();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One data answer matched against a list of state.range(0) orders, ten host
// orders per item: the index finds the ten, whatever the list's length.
void BM_DataAnswerMatch(benchmark::State& state) {
    RunDriver driver;
    driver.answering = false;
    driver.Announce();
    driver.Order(static_cast<int>(state.range(0)), 60000, 10);
    const std::string answer = "QQ_RD 07 01 2A 01 02 03 04|";  // block 1, item 42
    for (auto _ : state) driver.Answer(answer);
}

BENCHMARK(BM_OrderPassNoneDue)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderPassPeriod1s)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderPassAllDueNoExchange)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderPassAllDue)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DataAnswerMatch)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
