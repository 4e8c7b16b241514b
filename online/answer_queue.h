// The answer queue: answers waiting to go to the host's windows, first in,
// first out. Each entry is a self-contained block (the order's item data
// record followed by a copy of its data, the record pointing at the copy) and
// the window it goes to. The queue is filled while orders are visited and
// emptied at the end of the same timer tick or message.
#pragma once

#include <deque>
#include <memory>

#include "base/host_records.h"
#include "online/order_list.h"

namespace lm {

struct dLM_ANSWER {
    dLM_ANSWER_BLOCK block{};
    WindowHandle window = 0;
};

class AnswerQueue {
public:
    // Appends the order's record and data as they stand, for its window.
    void Append(const dLM_ORDER& order);
    // Removes the head; the block keeps its address for as long as the
    // caller holds it.
    std::unique_ptr<dLM_ANSWER> TakeHead();
    void Clear() { entries_.clear(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

private:
    std::deque<std::unique_ptr<dLM_ANSWER>> entries_;
};

}  // namespace lm
