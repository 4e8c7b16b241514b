#include "tools/lumarsim/soak_session.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>

#include "frame/entry.h"
#include "online/command_queue.h"
#include "platform/headless/headless_platform.h"
#include "platform/system_files.h"
#include "tools/lumarsim/driver_library.h"
#include "tools/lumarsim/headless_run_host.h"
#include "tools/lumarsim/host_session.h"
#include "tools/rozid7/rozid7_core.h"

#if defined(__SANITIZE_ADDRESS__)
#define LM_SOAK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LM_SOAK_SANITIZED 1
#endif
#endif

namespace lumarsim {
namespace {

constexpr std::uint16_t kStartRun = 7, kStopRun = 8, kUnloadDriver = 3, kOrderData = 15,
                        kUnOrderData = 16, kSetData = 17;
constexpr std::uint16_t kAskStopRun = 8;
constexpr int kHostWindows = 3;
constexpr std::size_t kMostOrders = 48;  // the host's own limit of live orders
constexpr std::uint16_t kLongestPeriod = 30;
constexpr int kLongestWait = 8;  // ticks of one wait step
constexpr std::uint64_t kShownViolations = 20;
// Ticks the exchange itself may take beyond the period and the delays: the
// command leaves with the tick that queues it and the answer comes with the
// program's next step.
constexpr std::uint64_t kExchangeTicks = 3;
// How much resident memory may grow from a quarter of the run to its end.
constexpr long kFlatMemoryKb = 16 * 1024;

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    if (!(statm >> pages >> resident)) return 0;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

// An item the host may order and write: an input, output or variable of a
// block of the project that a command can address.
struct Orderable {
    std::uint16_t ident, instance, item;
};

// An order as the host keeps it.
struct HostOrder {
    int window;  // index into the host's windows
    Orderable what;
    std::uintptr_t tag;
    std::uint16_t period;
    std::uint64_t since;  // tick from which the next answer is awaited
    bool had_data = false;
    std::uint64_t failed_at = 0;  // tick of the last failure answer, 0: none
    bool late_reported = false;
};

class Soak {
public:
    Soak(const Project& project, const SoakOptions& options, std::FILE* out)
        : project_(project), options_(options), out_(out), random_(options.seed) {}

    SoakFigures Play();

private:
    bool Call(PARAM_ENTRY& record) {
        ++figures_.calls;
        return library_->Call(record) == 1;
    }
    void Violation(const std::string& what);
    bool StartDriver();
    void CollectOrderables(const dLM_OBJECT* objects);
    void OnAnswer(int window, const LiveAnswer& answer);

    void Step();
    void Wait(int ticks);
    void CheckAfterTick();
    void CheckQueue();
    PARAM_ENTRY OrderRecord(std::uint16_t code, const HostOrder& order) const;
    void PlaceOrder();
    void Withdraw();
    void WithdrawWindow();
    void Write();
    void StartRun();
    void StopRun();
    void Unload();

    std::uint64_t Bound(const HostOrder& order) const {
        return order.period + std::max<std::uint64_t>(timeout_ticks_, order.period) + late_ticks_ +
               kExchangeTicks;
    }
    template <class T>
    T Pick(T low, T high) {
        return std::uniform_int_distribution<T>(low, high)(random_);
    }

    const Project& project_;
    const SoakOptions& options_;
    std::FILE* out_;
    std::mt19937 random_;
    SoakFigures figures_;

    lm::HeadlessPlatform* platform_ = nullptr;  // owned by the process-wide entry
    // The host's windows (not keeping their answers: the soak checks each as
    // it comes) and the stand-in.
    std::unique_ptr<HeadlessRunHost> run_host_;
    std::unique_ptr<DriverLibrary> library_;
    std::FILE* quiet_ = nullptr;
    std::vector<Orderable> orderables_;
    std::vector<HostOrder> orders_;
    std::uintptr_t next_tag_ = 1;
    std::uint64_t now_ = 0;
    bool run_mode_ = false;    // StartRUN succeeded, no StopRUN or unload since
    bool line_ended_ = false;  // the stand-in ended the line during run mode
    bool driver_loaded_ = false;
    std::uint64_t timeout_ticks_ = 15;
    std::uint64_t late_ticks_ = 0;
};

void Soak::Violation(const std::string& what) {
    ++figures_.violations;
    if (figures_.violations <= kShownViolations) {
        std::fprintf(out_, "  !! step %llu, tick %llu: %s\n",
                     static_cast<unsigned long long>(figures_.steps),
                     static_cast<unsigned long long>(now_), what.c_str());
    }
}

void Soak::OnAnswer(int window, const LiveAnswer& answer) {
    const dLM_ITEMDATA& record = answer.record;
    const std::uint16_t obj = record.obj, instance = record.instance;
    const std::uint8_t item = record.item, failed = record.failed, timeout = record.timeout;
    // A failure answer carries timeout 1; a data answer timeout 0.
    const bool failure = timeout != 0;
    bool any = false;
    for (HostOrder& order : orders_) {
        if (order.window != window || order.what.ident != obj || order.what.instance != instance ||
            static_cast<std::uint8_t>(order.what.item) != item)
            continue;
        any = true;
        order.since = now_;
        order.late_reported = false;
        if (failure) {
            order.failed_at = now_;
        } else {
            order.had_data = true;
        }
    }
    if (failure) {
        ++figures_.failed;
        if (failed == 0) Violation("a failure answer without its failed flag");
    } else {
        ++figures_.answers;
    }
    if (!any) {
        std::string what = "an answer for ";
        what += std::to_string(obj);
        what += '/';
        what += std::to_string(instance);
        what += '/';
        what += std::to_string(item);
        what += " reached window ";
        what += std::to_string(window);
        what += ", which has no such order";
        Violation(what);
    }
}

void Soak::CollectOrderables(const dLM_OBJECT* objects) {
    orderables_.clear();
    for (const ProjectBlock& block : project_.blocks) {
        const dLM_OBJECT* object = objects;
        while (object != nullptr && object->ident != block.ident) object = object->next;
        if (object == nullptr || block.ident > 255 || block.instance > 255) continue;
        for (const dLM_DATAITEM* list : {object->d_in, object->d_out, object->d_prom}) {
            for (const dLM_DATAITEM* item = list; item != nullptr; item = item->next) {
                if (item->ident <= 255)
                    orderables_.push_back({block.ident, block.instance, item->ident});
            }
        }
    }
}

bool Soak::StartDriver() {
    HostSession host(*library_, quiet_);
    host.Identify();
    host.LoadDriver();
    host.InitObjects(false);
    host.GetMenu();
    host.OpenProject(project_, false);
    if (host.failures() != 0) {
        Violation("the driver did not load the project again");
        return false;
    }
    CollectOrderables(host.objects());
    driver_loaded_ = true;
    return !orderables_.empty();
}

void Soak::CheckQueue() {
    lm::Driver* driver = lm::TheEntry().driver();
    if (driver == nullptr) return;
    const std::size_t queued = driver->run().commands().size();
    figures_.max_command_queue = std::max(figures_.max_command_queue, queued);
    if (queued > lm::kCommandQueueLimit) Violation("the command queue grew past its bound");
}

void Soak::CheckAfterTick() {
    CheckQueue();
    const lm::rozid7::Core* core = run_host_->stand_in()->program();
    if (run_mode_ && !line_ended_ && core != nullptr && core->closed()) {
        // The stand-in ended the line itself (COM_ERROR, USER_CLOSE): every
        // order that never had data has been failed by now.
        line_ended_ = true;
        ++figures_.lines_ended;
        for (const HostOrder& order : orders_) {
            if (!order.had_data && order.failed_at != now_) {
                Violation("the line ended with an error and an order without data was not failed");
            }
        }
    }
    if (!run_mode_ || line_ended_) return;
    for (HostOrder& order : orders_) {
        if (order.late_reported || now_ - order.since <= Bound(order)) continue;
        order.late_reported = true;
        std::string what = "order ";
        what += std::to_string(order.what.ident);
        what += '/';
        what += std::to_string(order.what.instance);
        what += '/';
        what += std::to_string(order.what.item);
        what += " every ";
        what += std::to_string(order.period);
        what += " ticks has had neither data nor a failure for ";
        what += std::to_string(now_ - order.since);
        what += " ticks";
        Violation(what);
    }
}

void Soak::Wait(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        ++now_;
        ++figures_.ticks;
        run_host_->Wait(1);
        CheckAfterTick();
    }
}

// The record that names one order: OrderData's or UnOrderData's.
PARAM_ENTRY Soak::OrderRecord(std::uint16_t code, const HostOrder& order) const {
    PARAM_ENTRY r{};
    r.lmd_func = code;
    r.wparam1 = order.what.ident;
    r.wparam2 = order.what.instance;
    r.lparam1 = order.what.item;
    r.lparam2 = static_cast<std::uint32_t>(
        run_host_->host_window(static_cast<std::size_t>(order.window)).handle());
    r.data1 = reinterpret_cast<void*>(order.tag);
    return r;
}

void Soak::PlaceOrder() {
    if (orders_.size() >= kMostOrders) return;
    HostOrder order;
    order.window = Pick(0, kHostWindows - 1);
    order.what = orderables_[Pick<std::size_t>(0, orderables_.size() - 1)];
    order.tag = next_tag_++;
    order.period = Pick<std::uint16_t>(0, kLongestPeriod);
    order.since = now_;
    std::uint16_t period = order.period;
    std::uint16_t timeout_word = Pick(0, 1) != 0 ? 0x0101 : 0;
    PARAM_ENTRY r = OrderRecord(kOrderData, order);
    r.data2 = &period;
    r.pointer1 = &timeout_word;
    if (!Call(r) || r.wparam1 != 1) {
        Violation("OrderData refused an order of an existing item");
        return;
    }
    ++figures_.orders_placed;
    orders_.push_back(order);
    figures_.max_orders = std::max(figures_.max_orders, orders_.size());
}

void Soak::Withdraw() {
    if (orders_.empty()) return;
    const std::size_t i = Pick<std::size_t>(0, orders_.size() - 1);
    PARAM_ENTRY r = OrderRecord(kUnOrderData, orders_[i]);
    if (!Call(r) || r.wparam1 != 1) Violation("UnOrderData failed");
    orders_.erase(orders_.begin() + static_cast<std::ptrdiff_t>(i));
    ++figures_.orders_withdrawn;
}

void Soak::WithdrawWindow() {
    const int window = Pick(0, kHostWindows - 1);
    PARAM_ENTRY r{};
    r.lmd_func = kUnOrderData;
    r.lparam2 = static_cast<std::uint32_t>(
        run_host_->host_window(static_cast<std::size_t>(window)).handle());
    if (!Call(r) || r.wparam1 != 1) Violation("UnOrderData of a window failed");
    figures_.orders_withdrawn +=
        std::erase_if(orders_, [&](const HostOrder& order) { return order.window == window; });
}

void Soak::Write() {
    const Orderable& what = orderables_[Pick<std::size_t>(0, orderables_.size() - 1)];
    std::uint8_t bytes[4];
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(Pick(0, 255));
    PARAM_ENTRY r{};
    r.lmd_func = kSetData;
    r.wparam1 = what.ident;
    r.wparam2 = what.instance;
    r.lparam1 = what.item;
    r.data2 = bytes;
    if (!Call(r)) Violation("SetData failed");
    ++figures_.writes;
}

void Soak::StartRun() {
    // The stand-in this start brings: one of the modes, or a well-behaved one.
    std::string mode;
    const std::size_t choice = Pick<std::size_t>(0, options_.modes.size());
    if (choice < options_.modes.size()) mode = options_.modes[choice];
    lm::rozid7::Misbehaviour misbehaviour;
    if (!mode.empty()) lm::rozid7::ReadMisbehaviour(mode, misbehaviour);
    late_ticks_ = static_cast<std::uint64_t>(std::max(0, misbehaviour.late_ticks));
    const std::string settings = mode.empty() ? std::string() : "SIMULATE " + mode + "\r\n";
    lm::MakeSystemFiles()->WriteWhole(
        lm::TheEntry().wide().DriverFile(lm::rozid7::kOwnSettingsFile), settings);

    PARAM_ENTRY r{};
    r.lmd_func = kStartRun;
    r.lparam1 = static_cast<std::uint32_t>(random_());
    ++figures_.starts;
    if (!Call(r) || r.wparam1 != 1) Violation("StartRUN failed");
    if (r.dlm_func == kAskStopRun) {
        Violation("StartRUN could not start run mode");
        StopRun();
        return;
    }
    run_mode_ = true;
    line_ended_ = false;
    if (lm::Driver* driver = lm::TheEntry().driver())
        timeout_ticks_ = driver->run().timeout_ticks();
    for (HostOrder& order : orders_) {
        order.since = now_;
        order.late_reported = false;
    }
}

void Soak::StopRun() {
    PARAM_ENTRY r{};
    r.lmd_func = kStopRun;
    ++figures_.stops;
    if (!Call(r) || r.wparam1 != 1) Violation("StopRUN failed");
    run_mode_ = false;
}

void Soak::Unload() {
    PARAM_ENTRY r{};
    r.lmd_func = kUnloadDriver;
    ++figures_.unloads;
    // Returning at all is the first half of the check.
    if (!Call(r)) Violation("unload driver answered FALSE");
    if (platform_->driver_window() != 0) Violation("the driver window outlived unload driver");
    driver_loaded_ = false;
    run_mode_ = false;
    orders_.clear();  // the driver's orders went with its window
    StartDriver();
}

void Soak::Step() {
    ++figures_.steps;
    const int roll = Pick(0, 999);
    if (roll < 400) {
        Wait(Pick(1, kLongestWait));
    } else if (roll < 580) {
        PlaceOrder();
    } else if (roll < 680) {
        Withdraw();
    } else if (roll < 700) {
        WithdrawWindow();
    } else if (roll < 860) {
        Write();
    } else if (roll < 930) {
        StartRun();
    } else if (roll < 990) {
        StopRun();
    } else {
        Unload();
    }
    CheckQueue();
}

SoakFigures Soak::Play() {
    auto platform = std::make_unique<lm::HeadlessPlatform>();
    platform->SetQuiet(true);
    platform_ = platform.get();
    lm::InstallPlatform(std::move(platform));
    run_host_ = std::make_unique<HeadlessRunHost>(*platform_);
    run_host_->StartStandIn();
    library_ = std::make_unique<DriverLibrary>(&LumarDriver_Entry);
    quiet_ = std::fopen("/dev/null", "w");
    if (quiet_ == nullptr) quiet_ = out_;
    for (int w = 0; w < kHostWindows; ++w) {
        run_host_->AddHostWindow(false).on_answer = [this, w](const LiveAnswer& answer) {
            OnAnswer(w, answer);
        };
    }
    if (!StartDriver()) {
        Violation("the project offers nothing to order");
        return figures_;
    }

    const auto started = std::chrono::steady_clock::now();
    auto done = [&] {
        if (options_.steps > 0) return figures_.steps >= options_.steps;
        if (figures_.steps % 1000 != 0) return false;
        const std::chrono::duration<double, std::ratio<60>> spent =
            std::chrono::steady_clock::now() - started;
        return spent.count() >= options_.minutes;
    };
    long resident_at_quarter = 0;
    std::uint64_t quarter_steps = options_.steps / 4;
    // A long soak tells on stderr how far it is: every tenth of its steps, or
    // every minute of its minutes.
    const std::uint64_t progress_steps = options_.steps >= 10000 ? options_.steps / 10 : 0;
    double next_progress_minute = 1;
    while (!done()) {
        Step();
        if (progress_steps > 0 && figures_.steps % progress_steps == 0) {
            std::fprintf(stderr, "lumarsim: soak %llu of %llu steps, %llu broken checks\n",
                         static_cast<unsigned long long>(figures_.steps),
                         static_cast<unsigned long long>(options_.steps),
                         static_cast<unsigned long long>(figures_.violations));
        } else if (options_.steps == 0 && figures_.steps % 1000 == 0) {
            const std::chrono::duration<double, std::ratio<60>> spent =
                std::chrono::steady_clock::now() - started;
            if (spent.count() >= next_progress_minute) {
                std::fprintf(
                    stderr, "lumarsim: soak %.0f of %.0f minutes, %llu steps, %llu broken checks\n",
                    next_progress_minute, options_.minutes,
                    static_cast<unsigned long long>(figures_.steps),
                    static_cast<unsigned long long>(figures_.violations));
                ++next_progress_minute;
            }
        }
        if (options_.steps == 0 && figures_.steps % 1000 == 0) {
            const std::chrono::duration<double, std::ratio<60>> spent =
                std::chrono::steady_clock::now() - started;
            if (resident_at_quarter == 0 && spent.count() >= options_.minutes / 4)
                resident_at_quarter = ResidentKb();
        } else if (quarter_steps > 0 && figures_.steps == quarter_steps) {
            resident_at_quarter = ResidentKb();
        }
    }
    if (driver_loaded_) {
        PARAM_ENTRY r{};
        r.lmd_func = kUnloadDriver;
        ++figures_.unloads;
        if (!Call(r)) Violation("unload driver answered FALSE");
    }
    figures_.peak_resident_kb = PeakResidentKb();
    figures_.resident_growth_kb = resident_at_quarter > 0 ? ResidentKb() - resident_at_quarter : 0;
#if !defined(LM_SOAK_SANITIZED)
    if (figures_.resident_growth_kb > kFlatMemoryKb) Violation("resident memory kept growing");
#endif
    if (quiet_ != out_) std::fclose(quiet_);
    run_host_.reset();
    return figures_;
}

}  // namespace

SoakFigures PlaySoak(const Project& project, const SoakOptions& options, std::FILE* out) {
    Soak soak(project, options, out);
    return soak.Play();
}

void PrintSoakFigures(const SoakFigures& f, std::FILE* out) {
    auto n = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
    std::fprintf(out, "\nsoak figures\n");
    std::fprintf(out, "  steps              %llu (%llu ticks of 100 ms, %llu host calls)\n",
                 n(f.steps), n(f.ticks), n(f.calls));
    std::fprintf(out, "  orders             %llu placed, %llu withdrawn, at most %zu at once\n",
                 n(f.orders_placed), n(f.orders_withdrawn), f.max_orders);
    std::fprintf(out, "  answers            %llu with data, %llu failed\n", n(f.answers),
                 n(f.failed));
    std::fprintf(out, "  writes             %llu\n", n(f.writes));
    std::fprintf(out,
                 "  run mode           %llu StartRUN, %llu StopRUN, %llu lines ended by the "
                 "stand-in, %llu unloads\n",
                 n(f.starts), n(f.stops), n(f.lines_ended), n(f.unloads));
    std::fprintf(out, "  command queue      at most %zu texts (bound %zu)\n", f.max_command_queue,
                 lm::kCommandQueueLimit);
    std::fprintf(out,
                 "  resident memory    peak %ld kB, %+ld kB from a quarter of the run to its "
                 "end\n",
                 f.peak_resident_kb, f.resident_growth_kb);
    std::fprintf(out, "  violations         %llu\n", n(f.violations));
}

}  // namespace lumarsim
