// Plays arbitrary bytes as what the communication program sends the driver
// window in run mode (MSG_TOLAN through the window procedure, the texts in
// atoms), between the timer's periods and the host's orders and writes, on
// a fresh driver per input. The host window gets answers only for the
// orders it placed, each within the record's limits; every command the
// driver sends is one terminated text; StopRUN and unload end run mode with
// no atom left behind.
//
// Input: steps until the bytes run out; a step's first byte picks it:
//   0  a text with wParam 2: a length byte, then that many bytes
//   1  the same text with wParam 1
//   2  the timer runs for (next byte % 16) periods
//   3  an order of item (next byte) of PUMP 1 or 2, with a period
//   4  the order withdrawn
//   5  a write of four bytes to that item
//   6  the program's window is gone without a word
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "frame/entry.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"
#include "tools/lumarsim/headless_run_host.h"

namespace {

using fuzz::Check;

// PUMP (11): SPEED a LONG input, LABEL a string of user data, WIDE an
// output whose ident does not fit a command, LEVEL a real; BIG (300): an
// object code that does not fit a command.
constexpr const char kTools[] =
    "TOOL ID 1 POPIS \"Run\" OBJECTS PUMP.DEF BIG.DEF END_OBJECTS END_TOOL\r\n";
constexpr const char kPump[] =
    "OBJECT IDENT 11 JMENO \"PUMP\" NAZEV \"Cerpadlo\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"SPEED\" TYP LONG DELKA 4 DEFAULT \"0\" ITEM_END "
    "ITEM IDENT 2 JMENO \"LEVEL\" TYP USER SUBTYP FLOAT DELKA 4 FORMAT \"###.##\" "
    "DEFAULT \"0\" ITEM_END D_IN_END\r\n"
    "D_OUT ITEM IDENT 300 JMENO \"WIDE\" TYP WORD DELKA 2 DEFAULT \"0\" ITEM_END D_OUT_END\r\n"
    "DATA_USER ITEM IDENT 3 JMENO \"LABEL\" TYP USER SUBTYP STRING DELKA 20 "
    "FORMAT \"????????????????????\" DEFAULT \"x\" ITEM_END DATA_USER_END\r\n"
    "OBJECT_END\r\n";
constexpr const char kBig[] =
    "OBJECT IDENT 300 JMENO \"BIG\" NAZEV \"Velky\"\r\n"
    "D_IN ITEM IDENT 1 JMENO \"IN\" TYP WORD DELKA 2 DEFAULT \"0\" ITEM_END D_IN_END\r\n"
    "OBJECT_END\r\n";
constexpr const char kSetCom[] = "1\r\n38400\r\n1\r\n1\r\n0\r\n1.5\r\n0\r\n10.0.0.1\r\n1998\r\n";
constexpr std::uint32_t kItems[] = {1, 2, 3, 300, 7};

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool More() const { return at < size; }
    std::uint8_t Next() { return at < size ? data[at++] : 0; }
};

class Session {
public:
    Session() {
        auto made = std::make_unique<fuzz::MemoryPlatform>();
        platform_ = made.get();
        platform_->Put("TOOLS.INI", kTools);
        platform_->Put("PUMP.DEF", kPump);
        platform_->Put("BIG.DEF", kBig);
        platform_->Put("STARTUP.INI", "LOGFILE OFF\r\n");
        platform_->Put("SETCOM.INI", kSetCom);
        platform_->Put("ROZID7.EXE", "");
        platform_->SetProgramRunner([](auto&&...) { return 42; });
        entry_ = std::make_unique<lm::Entry>(std::move(made));
        run_host_ = std::make_unique<lumarsim::HeadlessRunHost>(*platform_);
        client_ = &run_host_->AddProgram();
        host_ = &run_host_->AddHostWindow();
    }
    ~Session() {
        run_host_.reset();
        entry_.reset();
    }

    int Call(PARAM_ENTRY& record) { return entry_->Call(&record); }
    int Call(std::uint16_t code) {
        PARAM_ENTRY record{};
        record.lmd_func = code;
        record.wparam1 = 3;
        record.lparam1 = 34;
        return Call(record);
    }
    PARAM_ENTRY ItemRecord(std::uint16_t code, std::uint16_t instance, std::uint32_t item) {
        PARAM_ENTRY record{};
        record.lmd_func = code;
        record.wparam1 = 11;
        record.wparam2 = instance;
        record.lparam1 = item;
        record.lparam2 = static_cast<std::uint32_t>(host_->handle());
        record.data1 = reinterpret_cast<void*>(std::uintptr_t{1});
        return record;
    }

    fuzz::MemoryPlatform* platform_;
    std::unique_ptr<lm::Entry> entry_;
    std::unique_ptr<lumarsim::HeadlessRunHost> run_host_;
    lumarsim::ScriptedProgram* client_ = nullptr;
    lumarsim::HostWindow* host_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Session s;
    Check(s.Call(lm::kIdentify) == 1 && s.Call(lm::kLoadDriver) == 1 &&
          s.Call(lm::kInitObjects) == 1);
    for (std::uint16_t instance : {1, 2}) {
        PARAM_ENTRY create = s.ItemRecord(lm::kCreateObject, instance, 0);
        create.data1 = nullptr;
        Check(s.Call(create) == 1 && create.wparam1 == 1);
    }
    PARAM_ENTRY start{};
    start.lmd_func = lm::kStartRun;
    Check(s.Call(start) == 1 && start.wparam1 == 1);
    s.client_->Announce();

    // Orders as (instance, item) that the host placed and still holds.
    std::set<std::tuple<std::uint16_t, std::uint32_t>> ordered, ever_ordered;
    Bytes in{data, size};
    std::size_t steps = 0;
    while (in.More() && ++steps < 200) {
        const std::uint8_t step = in.Next() % 7;
        if (step <= 1) {
            const std::size_t length = in.Next();
            std::string text;
            for (std::size_t i = 0; i < length && in.More(); ++i) {
                text += static_cast<char>(in.Next());
            }
            s.client_->Send(text, step == 0 ? 2 : 1);
        } else if (step == 2) {
            for (int tick = in.Next() % 16; tick > 0; --tick) s.platform_->Tick();
        } else if (step == 6) {
            s.client_->Vanish();
        } else {
            const std::uint8_t which = in.Next();
            const std::uint16_t instance = which & 1 ? 2 : 1;
            const std::uint32_t item = kItems[(which >> 1) % std::size(kItems)];
            if (step == 3) {
                std::uint16_t period = static_cast<std::uint16_t>(in.Next() % 8);
                PARAM_ENTRY order = s.ItemRecord(lm::kOrderData, instance, item);
                order.data2 = &period;
                Check(s.Call(order) == 1);
                if (order.wparam1 == 1) {
                    ordered.insert({instance, item});
                    ever_ordered.insert({instance, item});
                }
            } else if (step == 4) {
                PARAM_ENTRY unorder = s.ItemRecord(lm::kUnOrderData, instance, item);
                Check(s.Call(unorder) == 1);
                ordered.erase({instance, item});
            } else {
                std::uint8_t value[4] = {in.Next(), in.Next(), in.Next(), in.Next()};
                PARAM_ENTRY write = s.ItemRecord(lm::kSetData, instance, item);
                write.data1 = nullptr;
                write.data2 = value;
                Check(s.Call(write) == 1);
            }
        }
        for (const auto& answer : s.host_->answers) {
            const dLM_ITEMDATA& a = answer.record;
            const std::uint16_t obj = a.obj, instance = a.instance, length = a.length;
            const std::uint8_t item = a.item, failed = a.failed, timeout = a.timeout;
            Check(obj == 11 && answer.self_contained && length <= lm::kItemDataBytes);
            // A failure answer sets both; a data answer clears timeout and leaves
            // failed as an earlier failure left it.
            Check(failed <= 1 && timeout <= failed);
            bool known = false;
            for (const auto& [i, whole] : ever_ordered) {
                known = known || (i == instance && (whole & 0xFF) == item);
            }
            Check(known);
        }
        s.host_->answers.clear();
        for (const std::string& text : s.client_->received) {
            Check(text.size() <= 255 && text.ends_with('|'));
        }
        s.client_->received.clear();
    }

    PARAM_ENTRY stop{};
    stop.lmd_func = lm::kStopRun;
    Check(s.Call(stop) == 1);
    for (int tick = 0; tick < 100 && s.platform_->timer_running(); ++tick) s.platform_->Tick();
    s.client_->Vanish();
    for (int tick = 0; tick < 100 && s.platform_->timer_running(); ++tick) s.platform_->Tick();
    Check(s.Call(lm::kUnloadDriver) == 1);
    Check(s.platform_->live_atoms() == 0);
    return 0;
}
