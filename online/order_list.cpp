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
    order.countdown = period;
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
    by_item_[KeyOf(order)].emplace(order.sequence, std::prev(orders_.end()));
    ++live_;
    return order;
}

dLM_ORDER* OrderList::Find(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                           WindowHandle window, std::uintptr_t tag) {
    auto bucket = by_item_.find(Key(obj, instance, static_cast<std::uint16_t>(item)));
    if (bucket == by_item_.end()) return nullptr;
    for (auto& [sequence, it] : bucket->second) {
        if (it->item == item && it->window == window && it->tag == tag) return &*it;
    }
    return nullptr;
}

void OrderList::Delete(dLM_ORDER* order) {
    if (order == nullptr || order->removed) return;
    auto bucket = by_item_.find(KeyOf(*order));
    if (bucket == by_item_.end()) return;
    auto entry = bucket->second.find(order->sequence);
    if (entry == bucket->second.end()) return;
    const Orders::iterator it = entry->second;
    bucket->second.erase(entry);
    if (bucket->second.empty()) by_item_.erase(bucket);
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
    by_item_.clear();
    live_ = 0;
    if (walks_ > 0) {
        for (dLM_ORDER& order : orders_) order.removed = true;
        withdrawn_ = true;
        return;
    }
    orders_.clear();
    withdrawn_ = false;
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
    auto collect = [&](std::uint16_t item) {
        auto bucket = by_item_.find(Key(obj, instance, item));
        if (bucket == by_item_.end()) return;
        for (const auto& [sequence, it] : bucket->second) found.emplace_back(sequence, &*it);
    };
    const int lowest = std::max(0, int{item_ident} - (kStringItems - 1));
    for (int item = lowest; item <= item_ident; ++item) collect(static_cast<std::uint16_t>(item));
    if (item_ident != kFirstUserString) collect(kFirstUserString);
    std::sort(found.begin(), found.end());
    std::vector<dLM_ORDER*> orders;
    orders.reserve(found.size());
    for (const auto& entry : found) orders.push_back(entry.second);
    return orders;
}

}  // namespace lm
