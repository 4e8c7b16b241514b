// The order pass's side of the order list: the orders of one tick handed out
// in list order, and the buckets of the schedule by tick. Shared by every
// build of the list; only how orders get into a tick's bucket differs.
#include <algorithm>

#include "online/order_list.h"

namespace lm {

dLM_ORDER* OrderList::NextDue() {
    Due* bucket = current_ != nullptr ? current_ : BucketAt(now_, false);
    if (bucket == nullptr || bucket->next >= bucket->orders.size()) return nullptr;
    std::vector<dLM_ORDER*>& orders = bucket->orders;
    const auto rest = orders.begin() + static_cast<std::ptrdiff_t>(bucket->next);
    if (!bucket->sorted) {
        // Orders placed out of list order (an answer, a withdrawal, the
        // start of run mode or a change during a pass); a pass places the
        // orders it visits in list order.
        std::sort(rest, orders.end(),
                  [](const dLM_ORDER* a, const dLM_ORDER* b) { return a->sequence < b->sequence; });
        for (std::size_t i = bucket->next; i < orders.size(); ++i) orders[i]->slot = i;
        bucket->sorted = true;
    }
    dLM_ORDER* order = orders[bucket->next++];
    order->visit = 0;
    passed_ = order->sequence;
    return order;
}

void OrderList::EndPass() {
    in_pass_ = false;
    if (current_ != nullptr) {
        // Every order of the tick has been handed out.
        if (cached_ == current_) cached_ = nullptr;
        spare_ = std::move(current_->orders);
        spare_.clear();
        schedule_.erase(now_);
        current_ = nullptr;
    }
}

OrderList::Due* OrderList::BucketAt(std::uint64_t tick, bool create) {
    if (in_pass_ && tick == now_ && current_ != nullptr) return current_;
    if (cached_ != nullptr && cached_tick_ == tick) return cached_;
    Due* bucket = nullptr;
    if (create) {
        auto [made, fresh] = schedule_.try_emplace(tick);
        bucket = &made->second;
        if (fresh) bucket->orders.swap(spare_);
    } else {
        auto found = schedule_.find(tick);
        if (found == schedule_.end()) return nullptr;
        bucket = &found->second;
    }
    if (in_pass_ && tick == now_) {
        current_ = bucket;
    } else {
        cached_ = bucket;
        cached_tick_ = tick;
    }
    return bucket;
}

void OrderList::Place(dLM_ORDER& order, std::uint64_t tick) {
    Due& bucket = *BucketAt(tick, true);
    std::vector<dLM_ORDER*>& orders = bucket.orders;
    if (orders.size() > bucket.next && orders.back()->sequence > order.sequence)
        bucket.sorted = false;
    order.visit = tick;
    order.slot = orders.size();
    orders.push_back(&order);
}

void OrderList::Unplace(dLM_ORDER& order) {
    const std::uint64_t tick = order.visit;
    order.visit = 0;
    Due* bucket = BucketAt(tick, false);
    if (bucket == nullptr) return;
    std::vector<dLM_ORDER*>& orders = bucket->orders;
    if (order.slot < bucket->next || order.slot >= orders.size() || orders[order.slot] != &order)
        return;
    if (order.slot + 1 != orders.size()) {
        orders[order.slot] = orders.back();
        orders[order.slot]->slot = order.slot;
        bucket->sorted = false;
    }
    orders.pop_back();
    // The bucket of the tick under way stays until its pass ends.
    if (orders.size() > bucket->next || bucket == current_) return;
    if (cached_ == bucket) cached_ = nullptr;
    schedule_.erase(tick);
}

}  // namespace lm
