// Which orders a tick requests and which time out, for many orders of mixed
// periods and answer delays placed and withdrawn at different ticks, against
// a reference that counts every order down on every tick.
#include <algorithm>
#include <map>

#include "tests/driver/run_mode_fixture.h"

namespace lm::test {
namespace {

using RunModeDue = RunModeFixture;

constexpr int kNever = -1;

// One order of SPEED (item 1) of one PUMP instance.
struct DueRow {
    std::uint16_t instance;
    std::uint16_t period;
    int answer_after;  // ticks until the program answers a read; 0: at once
    int placed_after;  // ticks gone by when the host places it
    int withdrawn_after;
};

// The old rule read plainly: each tick visits every order in list order.
struct Reference {
    struct Order {
        DueRow row;
        int countdown;
        bool pending = false;
        int waited = 0;
    };
    std::vector<Order> orders;

    // The instances requested (> 0) and timed out (< 0) in one tick, in order.
    std::vector<int> Tick(int timeout_ticks) {
        std::vector<int> seen;
        for (Order& o : orders) {
            if (o.pending && ++o.waited >= std::max<int>(timeout_ticks, o.row.period)) {
                seen.push_back(-o.row.instance);
                o.pending = false;
            }
            if (o.countdown >= 1 || o.pending) {
                --o.countdown;
                continue;
            }
            o.countdown = o.row.period;
            seen.push_back(o.row.instance);
            o.pending = true;
            o.waited = 0;
        }
        return seen;
    }
    void Answered(int instance) {
        for (Order& o : orders)
            if (o.row.instance == instance) o.pending = false;
    }
};

TEST_F(RunModeDue, EachTickRequestsTheOrdersTheReferenceWalkFindsDueInListOrder) {
    const DueRow rows[] = {
        {1, 0, 0, 0, kNever},        // every tick
        {2, 3, 0, 0, kNever},        // every fourth tick
        {3, 0, 4, 0, kNever},        // the tick after each late answer
        {4, 25, 0, 5, kNever},       // placed later
        {5, 2, kNever, 0, kNever},   // never answered: after each time-out
        {6, 30, kNever, 3, kNever},  // time-out of one period
        {7, 1, 2, 7, 60},            // withdrawn
        {8, 10, 12, 0, kNever},      // answers slower than the period
        {9, 15, 16, 2, kNever},      // answers one tick after the time-out
        {10, 0, 0, 40, kNever},     {11, 65535, 0, 0, kNever},  // never due in this run
        {12, 7, 0, 11, 90},         {13, 4, 15, 1, kNever},  // answers in the tick of the time-out
        {14, 5, 14, 0, 120},
    };
    constexpr int kTicks = 150;
    Running();
    for (std::uint16_t instance = 3; instance <= 14; ++instance) {
        PARAM_ENTRY create = Record(kCreateObject);
        create.wparam1 = 11;
        create.wparam2 = instance;
        ASSERT_EQ(Call(create), 1);
    }
    const int timeout_ticks = static_cast<int>(run().timeout_ticks());
    std::map<int, const DueRow*> by_instance;
    for (const DueRow& row : rows) by_instance[row.instance] = &row;
    std::multimap<int, std::string> later;  // answers by the tick they come before
    std::vector<std::vector<int>> seen(kTicks + 1);
    client_->on_text = [&](const std::string& text) {
        const int instance = std::stoi(text.substr(9, 2), nullptr, 16);
        seen[tick_].push_back(instance);
        const int after = by_instance.at(instance)->answer_after;
        const std::string answer = lumarsim::DataAnswerFor(text, {1, 2, 3, 4});
        if (after == 0) client_->Send(answer);
        if (after > 0) later.emplace(tick_ + after, answer);
    };
    host_->on_answer = [&](const lumarsim::LiveAnswer& answer) {
        if (answer.record.timeout == 1) seen[tick_].push_back(-answer.record.instance);
    };
    Reference reference;
    std::vector<std::vector<int>> expected(kTicks + 1);
    for (int t = 1; t <= kTicks; ++t) {
        for (const DueRow& row : rows) {
            if (row.placed_after == t - 1) {
                Order(11, row.instance, 1, host_->handle(), row.period);
                reference.orders.push_back({row, row.period});
            }
            if (row.withdrawn_after == t - 1) {
                Unorder(11, row.instance, 1, host_->handle());
                std::erase_if(reference.orders, [&](const Reference::Order& o) {
                    return o.row.instance == row.instance;
                });
            }
        }
        for (auto [it, end] = later.equal_range(t); it != end; ++it) {
            reference.Answered(std::stoi(it->second.substr(9, 2), nullptr, 16));
            client_->Send(it->second);
        }
        expected[t] = reference.Tick(timeout_ticks);
        for (int instance : expected[t]) {
            if (instance > 0 && by_instance.at(instance)->answer_after == 0)
                reference.Answered(instance);
        }
        Ticks(1);
        // The failures go out with the first answer sent: the requests and
        // the time-outs are compared each in their own order.
        for (auto* each : {&seen[t], &expected[t]})
            std::stable_partition(each->begin(), each->end(), [](int i) { return i > 0; });
        EXPECT_EQ(seen[t], expected[t]) << "tick " << t;
    }
}

}  // namespace
}  // namespace lm::test
