// The plain order list the report compares with: the same list, and every
// search (FIND_ORDER, DEL_ORDER, the orders an answer concerns) a full walk,
// as is the search of the orders due at each tick: only the orders of the
// tick under way are kept in a bucket, found by walking the whole list when
// the tick's pass begins. Linked instead of online/order_list.cpp into the
// plain benchmark only.
#include <algorithm>
#include <iterator>

#include "instances/lookups.h"
#include "online/order_list.h"

namespace lm {

dLM_ORDER& OrderList::Insert(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                             WindowHandle window, std::uintptr_t tag, std::uint16_t period,
                             bool timeout, std::uint16_t length) {
    dLM_ORDER& order = orders_.emplace_back();
    order.obj = obj;
    order.instance = instance;
    order.item = item;
    order.window = window;
    order.tag = tag;
    order.period = period;
    order.timeout = timeout;
    order.sequence = next_sequence_++;
    dLM_ITEMDATA& record = order.record;
    record.kind = 2;
    record.obj = obj;
    record.instance = instance;
    record.item = static_cast<std::uint8_t>(item);
    record.valid = 0;
    record.length = length;
    record.data = order.data;
    record.timeout = timeout ? 1 : 0;
    record.failed = 0;
    record.reserved = 0;
    ++live_;
    order.due = NextVisit(order) + period;
    Schedule(order, order.due);
    return order;
}

dLM_ORDER* OrderList::Find(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                           WindowHandle window, std::uintptr_t tag) {
    for (dLM_ORDER& order : orders_) {
        if (!order.removed && order.obj == obj && order.instance == instance &&
            order.item == item && order.window == window && order.tag == tag) {
            return &order;
        }
    }
    return nullptr;
}

void OrderList::Delete(dLM_ORDER* order) {
    if (order == nullptr || order->removed) return;
    auto it = std::find_if(orders_.begin(), orders_.end(),
                           [order](const dLM_ORDER& each) { return &each == order; });
    if (it == orders_.end()) return;
    Unschedule(*it);
    --live_;
    if (walks_ > 0) {
        it->removed = true;
        withdrawn_ = true;
    } else {
        orders_.erase(it);
    }
}

std::size_t OrderList::DeleteWindow(WindowHandle window) {
    std::size_t removed = 0;
    for (auto it = orders_.begin(); it != orders_.end();) {
        dLM_ORDER& order = *it++;
        if (order.removed || order.window != window) continue;
        Delete(&order);
        ++removed;
    }
    return removed;
}

void OrderList::Clear() {
    schedule_.clear();
    current_ = cached_ = nullptr;
    for (dLM_ORDER& order : orders_) order.visit = 0;
    live_ = 0;
    if (walks_ > 0) {
        for (dLM_ORDER& order : orders_) order.removed = true;
        withdrawn_ = true;
        return;
    }
    orders_.clear();
    withdrawn_ = false;
}

void OrderList::BeginPass() {
    ++now_;
    in_pass_ = true;
    passed_ = 0;
    current_ = nullptr;
    for (dLM_ORDER& order : orders_) {
        if (!order.removed && order.visit == now_) Place(order, now_);
    }
}

// Outside the tick under way an order only notes its tick.
void OrderList::Schedule(dLM_ORDER& order, std::uint64_t tick) {
    tick = std::max(tick, NextVisit(order));
    Unschedule(order);
    if (in_pass_ && tick == now_) {
        Place(order, tick);
    } else {
        order.visit = tick;
    }
}

void OrderList::Unschedule(dLM_ORDER& order) {
    if (in_pass_ && order.visit == now_) Unplace(order);
    order.visit = 0;
}

void OrderList::Purge() {
    if (!withdrawn_) return;
    orders_.remove_if([](const dLM_ORDER& order) { return order.removed; });
    withdrawn_ = false;
}

std::vector<dLM_ORDER*> OrderList::Candidates(std::uint16_t obj, std::uint16_t instance,
                                              std::uint16_t item_ident) const {
    constexpr int kStringItems = 8;
    const int lowest = std::max(0, int{item_ident} - (kStringItems - 1));
    std::vector<dLM_ORDER*> found;
    for (const dLM_ORDER& order : orders_) {
        if (order.removed || order.obj != obj || order.instance != instance) continue;
        const auto item = static_cast<std::uint16_t>(order.item);
        if ((item >= lowest && item <= item_ident) ||
            (item_ident != kFirstUserString && item == kFirstUserString)) {
            found.push_back(const_cast<dLM_ORDER*>(&order));
        }
    }
    return found;
}

}  // namespace lm
