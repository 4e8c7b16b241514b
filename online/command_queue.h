// The command queue: texts waiting to be sent to the communication program,
// first in, first out, each at most 255 characters, with a membership test by
// exact text. The queue is bounded: while the communication program has not
// announced its window nothing leaves it, and the host's writes must not grow
// it without end.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lm {

// The most texts the queue holds. With every read queued at most once per
// text, only writes can crowd it; a write that finds it full pushes out the
// oldest read (its order is requested again after the line's time-out), and
// when only writes are queued the new text is refused.
inline constexpr std::size_t kCommandQueueLimit = 4096;

class CommandQueue {
public:
    enum class Added { Yes, Refused, DroppedOldestRead };
    struct Command {
        std::string text;
        bool is_read = false;  // a read may be pushed out to make room for a write
    };

    // Appends the text (cut to 255 characters) at the tail. `is_read` texts
    // may be pushed out later to make room for a write.
    Added Append(std::string_view text, bool is_read);
    // True when the queue holds exactly this text.
    bool Contains(std::string_view text) const;
    // Removes and returns the head.
    std::optional<Command> TakeHead();
    // Puts a command back at the head (a send that did not reach the program).
    void PutBackHead(Command command);
    void Clear();

    bool empty() const { return cells_.empty(); }
    std::size_t size() const { return cells_.size(); }
    const std::string& front() const { return cells_.front().text; }

private:
    void Count(const std::string& text, int delta);

    std::deque<Command> cells_;
    std::unordered_map<std::string, int> counts_;  // texts in the queue, for Contains
};

}  // namespace lm
