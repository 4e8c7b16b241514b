// The orders that LMKOMUN.INI could not take. The file is written as its
// format says, without them; the user is told once, after the file is
// written: one box with their count and the first few with the reason, and a
// log line for each as it is found.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/log_sink.h"
#include "exports/order_lines.h"

namespace lm {

class LeftOutOrders {
public:
    // The orders the box names; the count covers them all.
    static constexpr std::size_t kShown = 5;

    explicit LeftOutOrders(LogSink& log) : log_(log) {}

    // An order of `block_item` ("PID.1.KP") left out, as `order` says why.
    void Add(std::string_view block_item, const LeftOutOrder& order);
    // The same for the item of an instance; its name is made only for the
    // log and the box, not for every order left out of a large project.
    void Add(const dLM_OBJECT& instance, const dLM_DATAITEM& item, const LeftOutOrder& order);
    std::size_t count() const { return count_; }
    // The box's text; empty when nothing was left out.
    std::string BoxText() const;

private:
    template <class BlockItemText>
    void Told(const BlockItemText& block_item, const LeftOutOrder& order);

    LogSink& log_;
    std::size_t count_ = 0;
    std::vector<std::string> shown_;  // the box's lines of the first kShown
};

}  // namespace lm
