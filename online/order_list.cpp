#include "online/order_list.h"

#include <algorithm>

#include "instances/lookups.h"

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
    by_instance_[KeyOf(order)][ItemOf(order)].emplace(order.sequence, std::prev(orders_.end()));
    ++live_;
    order.due = NextVisit(order) + period;
    Schedule(order, order.due);
    return order;
}

dLM_ORDER* OrderList::Find(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                           WindowHandle window, std::uintptr_t tag) {
    auto items = by_instance_.find(Key(obj, instance));
    if (items == by_instance_.end()) return nullptr;
    auto bucket = items->second.find(static_cast<std::uint16_t>(item));
    if (bucket == items->second.end()) return nullptr;
    for (auto& [sequence, it] : bucket->second) {
        if (it->item == item && it->window == window && it->tag == tag) return &*it;
    }
    return nullptr;
}

void OrderList::Delete(dLM_ORDER* order) {
    if (order == nullptr || order->removed) return;
    auto items = by_instance_.find(KeyOf(*order));
    if (items == by_instance_.end()) return;
    auto bucket = items->second.find(ItemOf(*order));
    if (bucket == items->second.end()) return;
    auto entry = bucket->second.find(order->sequence);
    if (entry == bucket->second.end()) return;
    const Orders::iterator it = entry->second;
    bucket->second.erase(entry);
    if (bucket->second.empty()) items->second.erase(bucket);
    if (items->second.empty()) by_instance_.erase(items);
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
    by_instance_.clear();
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
    current_ = BucketAt(now_, false);
}

void OrderList::Schedule(dLM_ORDER& order, std::uint64_t tick) {
    tick = std::max(tick, NextVisit(order));
    if (order.visit == tick) return;
    if (order.visit != 0) Unplace(order);
    Place(order, tick);
}

void OrderList::Unschedule(dLM_ORDER& order) {
    if (order.visit != 0) Unplace(order);
}

void OrderList::Purge() {
    if (!withdrawn_) return;
    orders_.remove_if([](const dLM_ORDER& order) { return order.removed; });
    withdrawn_ = false;
}

std::vector<dLM_ORDER*> OrderList::Candidates(std::uint16_t obj, std::uint16_t instance,
                                              std::uint16_t item_ident) const {
    // A string item carries its text in up to eight items from its own ident on.
    constexpr int kStringItems = 8;
    std::vector<std::pair<std::uint64_t, dLM_ORDER*>> found;
    auto items = by_instance_.find(Key(obj, instance));
    if (items == by_instance_.end()) return {};
    auto collect = [&](const Bucket& bucket) {
        for (const auto& [sequence, it] : bucket) found.emplace_back(sequence, &*it);
    };
    const auto lowest =
        static_cast<std::uint16_t>(std::max(0, int{item_ident} - (kStringItems - 1)));
    for (auto it = items->second.lower_bound(lowest);
         it != items->second.end() && it->first <= item_ident; ++it) {
        collect(it->second);
    }
    if (item_ident != kFirstUserString) {
        auto first_string = items->second.find(kFirstUserString);
        if (first_string != items->second.end()) collect(first_string->second);
    }
    std::sort(found.begin(), found.end());
    std::vector<dLM_ORDER*> orders;
    orders.reserve(found.size());
    for (const auto& entry : found) orders.push_back(entry.second);
    return orders;
}

}  // namespace lm
