#include "tools/lumarsim/run_host.h"

#include <cstring>
#include <utility>

namespace lumarsim {

LiveAnswer AnswerOf(const dLM_ANSWER_BLOCK& block) {
    LiveAnswer answer;
    answer.record = block.record;
    std::memcpy(answer.data.data(), block.data, answer.data.size());
    answer.self_contained = block.record.data == block.data;
    return answer;
}

std::vector<LiveAnswer> RunHost::TakeAnswers() {
    return std::exchange(answers_, {});
}

void RunHost::Receive(const dLM_ANSWER_BLOCK* block) {
    if (block == nullptr) return;
    if (answers_.size() >= kKeptAnswers) {
        ++lost_;
        return;
    }
    answers_.push_back(AnswerOf(*block));
}

}  // namespace lumarsim
