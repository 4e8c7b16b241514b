#include "online/command_queue.h"

#include "base/bounded_text.h"

namespace lm {

void CommandQueue::Count(const std::string& text, int delta) {
    auto it = counts_.find(text);
    if (it == counts_.end()) {
        if (delta > 0) counts_.emplace(text, delta);
        return;
    }
    it->second += delta;
    if (it->second <= 0) counts_.erase(it);
}

CommandQueue::Added CommandQueue::Append(std::string_view text, bool is_read) {
    Added added = Added::Yes;
    if (cells_.size() >= kCommandQueueLimit) {
        if (is_read) return Added::Refused;
        auto oldest_read = cells_.begin();
        while (oldest_read != cells_.end() && !oldest_read->is_read) ++oldest_read;
        if (oldest_read == cells_.end()) return Added::Refused;
        Count(oldest_read->text, -1);
        cells_.erase(oldest_read);
        added = Added::DroppedOldestRead;
    }
    Command command{Bounded(text), is_read};
    Count(command.text, +1);
    cells_.push_back(std::move(command));
    return added;
}

bool CommandQueue::Contains(std::string_view text) const {
    return counts_.find(std::string(text)) != counts_.end();
}

std::optional<CommandQueue::Command> CommandQueue::TakeHead() {
    if (cells_.empty()) return std::nullopt;
    Command command = std::move(cells_.front());
    cells_.pop_front();
    Count(command.text, -1);
    return command;
}

void CommandQueue::PutBackHead(Command command) {
    command.text = Bounded(command.text);
    Count(command.text, +1);
    cells_.push_front(std::move(command));
}

void CommandQueue::Clear() {
    cells_.clear();
    counts_.clear();
}

}  // namespace lm
