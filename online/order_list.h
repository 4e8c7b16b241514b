// The order database ("ORDER-DBase"): every order the host has placed for a
// live value, in the order it was placed, with an index beside the list so
// that an answer from the line finds its orders without walking the whole
// list. The list owns its orders and their item data records.
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
    std::int32_t countdown = 0;  // ticks until the next request
    bool pending = false;        // requested, no answer yet
    bool timeout = false;        // the timeout word asked for it at OrderData
    bool answering = false;      // an answer for this order is being queued
    std::uint8_t data[kItemDataBytes] = {};     // the item's data as last received
    std::uint8_t scratch[kItemDataBytes] = {};  // assembly area of string answers
    alignas(8) dLM_ITEMDATA record{};           // what the host receives

    // Ticks since the request went out while pending: after the line's
    // time-out the order is requested again.
    std::uint32_t waited = 0;
    // Set once an order that no command can address (codes above 255) has
    // been answered as failed.
    bool unaddressable_reported = false;
    // Withdrawn while a walk was under way: kept in memory, out of the index,
    // until the walk ends.
    bool removed = false;
    std::uint64_t sequence = 0;  // place in the list
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

    // INS_ORDER's list part: a new order at the tail with countdown = period,
    // data and scratch zero, its record pointing at its data. `length` is the
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

    Orders orders_;
    std::unordered_map<std::uint32_t, Items> by_instance_;
    std::uint64_t next_sequence_ = 0;
    std::size_t live_ = 0;  // orders not withdrawn
    int walks_ = 0;
    bool withdrawn_ = false;  // some order waits for the end of the walks
};

}  // namespace lm
