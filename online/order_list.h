// The order database ("ORDER-DBase"): every order the host has placed for a
// live value, in the order it was placed, with an index beside the list so
// that an answer from the line finds its orders without walking the whole
// list, and a schedule by the tick each order is next visited at, so that a
// tick's order pass touches only the orders due in it. The list owns its
// orders and their item data records.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <unordered_map>
#include <vector>

#include "base/host_records.h"
#include "platform/platform.h"

namespace lm {

// One order: keep the host's window informed about one data item of one
// instance, every `period` tenths of a second.
struct dLM_ORDER {
    std::uint16_t obj = 0;       // object code
    std::uint16_t instance = 0;  // instance number
    std::uint32_t item = 0;      // low 16 bits select the data item, low 8 go into commands
    WindowHandle window = 0;     // the requester's window: target of the answers
    std::uintptr_t tag = 0;      // the requester's own value, only to find the order again
    std::uint16_t period = 0;    // tenths of a second (timer ticks)
    // The tick of the next request: the first pass after `period` ticks
    // have gone by since the last request (or since the order was made).
    // Ticks are counted by the order pass from 1 and never wrap.
    std::uint64_t due = 0;
    // The tick of the request while pending: after the line's time-out the
    // order is requested again.
    std::uint64_t requested = 0;
    bool pending = false;    // requested, no answer yet
    bool timeout = false;    // the timeout word asked for it at OrderData
    bool answering = false;  // an answer for this order is being queued
    // Set once an order that no command can address (codes above 255) has
    // been answered as failed.
    bool unaddressable_reported = false;
    // Withdrawn while a walk was under way: kept in memory, out of the index,
    // until the walk ends.
    bool removed = false;
    std::uint64_t sequence = 0;  // place in the list, from 1
    // Its place in the schedule: the tick it is visited at (0: none) and its
    // slot among the orders of that tick. (What a tick reads of an order
    // stands before its data.)
    std::uint64_t visit = 0;
    std::size_t slot = 0;
    std::uint8_t data[kItemDataBytes] = {};     // the item's data as last received
    std::uint8_t scratch[kItemDataBytes] = {};  // assembly area of string answers
    alignas(8) dLM_ITEMDATA record{};           // what the host receives
};

class OrderList {
public:
    using Orders = std::list<dLM_ORDER>;

    // Held while orders are visited: an order deleted meanwhile (a host call
    // that re-entered through a message) stays in memory, flagged `removed`,
    // so that the visitor's references stay valid; it is freed when the last
    // walk ends.
    class Walk {
    public:
        explicit Walk(OrderList& list) : list_(list) { ++list_.walks_; }
        ~Walk() {
            if (--list_.walks_ == 0) list_.Purge();
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

    private:
        OrderList& list_;
    };

    OrderList() = default;
    OrderList(const OrderList&) = delete;
    OrderList& operator=(const OrderList&) = delete;

    // INS_ORDER's list part: a new order at the tail, due once `period` ticks
    // have gone by, data and scratch zero, its record pointing at its data. `length` is the
    // data item's DELKA (0 when not found).
    dLM_ORDER& Insert(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                      WindowHandle window, std::uintptr_t tag, std::uint16_t period, bool timeout,
                      std::uint16_t length);

    // FIND_ORDER: the first order with all five keys, or null.
    dLM_ORDER* Find(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                    WindowHandle window, std::uintptr_t tag);
    // DEL_ORDER: unlinks the order and frees it with its record (at the end
    // of the walk under way, if any).
    void Delete(dLM_ORDER* order);
    // Removes every order of one window; returns how many.
    std::size_t DeleteWindow(WindowHandle window);
    // FREE_ORDERS.
    void Clear();

    // The orders that an answer for item `item_ident` of (obj, instance) can
    // concern, in list order: those whose item number selects that item, and
    // those of a string item that may carry it (selected by an ident up to
    // seven below, or by 0xFFFF, the first string item).
    std::vector<dLM_ORDER*> Candidates(std::uint16_t obj, std::uint16_t instance,
                                       std::uint16_t item_ident) const;

    // The list in order, withdrawn orders included while a walk is under way
    // (skip those flagged `removed`).
    Orders::iterator begin() { return orders_.begin(); }
    Orders::iterator end() { return orders_.end(); }
    bool empty() const { return live_ == 0; }
    std::size_t size() const { return live_; }

    // The order pass of a tick: BeginPass counts the tick, NextDue hands out
    // the orders to visit in it one by one in list order (an order leaves the
    // schedule when handed out, until Schedule places it again), EndPass ends
    // it. Orders placed, scheduled for this tick or withdrawn during the pass
    // (a host call that re-entered) are taken into account; none is handed
    // out twice in one pass.
    void BeginPass();
    dLM_ORDER* NextDue();
    void EndPass();
    // Ticks counted so far, the one whose pass is under way included.
    std::uint64_t now() const { return now_; }
    // The first tick the order can be visited at: the one under way while
    // its pass has not reached the order yet, else the next one.
    std::uint64_t NextVisit(const dLM_ORDER& order) const {
        return in_pass_ && order.sequence > passed_ ? now_ : now_ + 1;
    }
    // Visits the order at `tick`, or at its next visit if that is later.
    void Schedule(dLM_ORDER& order, std::uint64_t tick);
    // Ticks until the order's next request as counted down from its period:
    // 0 or less once due, going on below 0 while it waits for an answer.
    std::int64_t Countdown(const dLM_ORDER& order) const {
        return static_cast<std::int64_t>(order.due) - static_cast<std::int64_t>(NextVisit(order));
    }

private:
    // The orders of one item number, by place in the list; the items of one
    // instance by item number, so that a range of items is one walk.
    using Bucket = std::map<std::uint64_t, Orders::iterator>;
    using Items = std::map<std::uint16_t, Bucket>;
    static std::uint32_t Key(std::uint16_t obj, std::uint16_t instance) {
        return (std::uint32_t{obj} << 16) | instance;
    }
    static std::uint32_t KeyOf(const dLM_ORDER& order) { return Key(order.obj, order.instance); }
    static std::uint16_t ItemOf(const dLM_ORDER& order) {
        return static_cast<std::uint16_t>(order.item);
    }

    void Purge();

    // The orders visited at one tick, each order's slot its index; those
    // before `next` have been handed out. `sorted`: from `next` on by place
    // in the list (as a pass fills the next tick's while it goes).
    struct Due {
        std::vector<dLM_ORDER*> orders;
        std::size_t next = 0;
        bool sorted = true;
    };
    Due* BucketAt(std::uint64_t tick, bool create);
    void Place(dLM_ORDER& order, std::uint64_t tick);
    void Unplace(dLM_ORDER& order);
    // Takes the order out of the schedule for good (it is withdrawn).
    void Unschedule(dLM_ORDER& order);

    Orders orders_;
    std::unordered_map<std::uint32_t, Items> by_instance_;
    std::uint64_t next_sequence_ = 1;
    std::size_t live_ = 0;  // orders not withdrawn
    int walks_ = 0;
    bool withdrawn_ = false;  // some order waits for the end of the walks

    std::unordered_map<std::uint64_t, Due> schedule_;  // by tick
    std::uint64_t now_ = 0;
    bool in_pass_ = false;
    std::uint64_t passed_ = 0;  // sequence of the order the pass visits or last visited
    // The bucket of the tick under way while its pass runs, and the one last
    // used besides (the pass fills the next tick's as it goes).
    Due* current_ = nullptr;
    Due* cached_ = nullptr;
    std::uint64_t cached_tick_ = 0;
    // The room of the last bucket handed out, for the next one made.
    std::vector<dLM_ORDER*> spare_;
};

}  // namespace lm
