#include "online/answer_queue.h"

#include <cstring>

namespace lm {

void AnswerQueue::Append(const dLM_ORDER& order) {
    auto answer = std::make_unique<dLM_ANSWER>();
    answer->block.record = order.record;
    std::memcpy(answer->block.data, order.data, sizeof answer->block.data);
    answer->block.record.data = answer->block.data;
    answer->window = order.window;
    entries_.push_back(std::move(answer));
}

std::unique_ptr<dLM_ANSWER> AnswerQueue::TakeHead() {
    if (entries_.empty()) return nullptr;
    std::unique_ptr<dLM_ANSWER> head = std::move(entries_.front());
    entries_.pop_front();
    return head;
}

}  // namespace lm
