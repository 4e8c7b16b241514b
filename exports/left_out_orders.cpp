#include "exports/left_out_orders.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"

namespace lm {
namespace {

// A line of the box names one order; a name beyond this is cut.
constexpr std::size_t kBoxLineLimit = 100;

// How a reason reads, in the log and (CP1250) in the box.
struct ReasonWords {
    std::string source;             // the block an item takes its value from
    std::string value, value_tail;  // around the value that cannot be written
    std::string ident, instance, item;
    std::string items, items_to;  // a string's eight items, first to last
    std::string above;
};

const ReasonWords& LogWords() {
    static const ReasonWords words{"source ",        "value \"",  "\" cannot be written",
                                   "object number ", "instance ", "item ",
                                   "items ",         " to ",      " above 255"};
    return words;
}

const ReasonWords& BoxWords() {
    static const ReasonWords words{"zdroj "_cp,         "hodnotu \""_cp, "\" nelze zapsat"_cp,
                                   "číslo objektu "_cp, "instance ",     "položka "_cp,
                                   "položky "_cp,       " až "_cp,       " > 255"};
    return words;
}

// "source PID.1.W, value \"nan\" cannot be written", "instance 256 above 255".
std::string Reason(const LeftOutOrder& order, const ReasonWords& words) {
    using Why = LeftOutOrder::Why;
    std::string reason = order.source.empty() ? "" : words.source + order.source + ", ";
    const std::string number = std::to_string(order.number);
    switch (order.why) {
        case Why::Value:
            return reason + words.value + order.value + words.value_tail;
        case Why::Ident:
            return reason + words.ident + number + words.above;
        case Why::Instance:
            return reason + words.instance + number + words.above;
        case Why::Item:
            if (order.string) {
                return reason + words.items + number + words.items_to +
                       std::to_string(order.number + 7) + words.above;
            }
            return reason + words.item + number + words.above;
    }
    return reason;
}

}  // namespace

template <class BlockItemText>
void LeftOutOrders::Told(const BlockItemText& block_item, const LeftOutOrder& order) {
    ++count_;
    log_.WriteWith([&] {
        return "LMKOMUN: order left out: " + std::string(block_item()) + ", " +
               Reason(order, LogWords());
    });
    if (shown_.size() < kShown) {
        shown_.push_back(
            Bounded(std::string(block_item()) + ": " + Reason(order, BoxWords()), kBoxLineLimit));
    }
}

void LeftOutOrders::Add(std::string_view block_item, const LeftOutOrder& order) {
    Told([block_item] { return block_item; }, order);
}

void LeftOutOrders::Add(const dLM_OBJECT& instance, const dLM_DATAITEM& item,
                        const LeftOutOrder& order) {
    Told([&] { return BlockItem(instance, item); }, order);
}

std::string LeftOutOrders::BoxText() const {
    if (count_ == 0) return {};
    std::string text =
        "Soubor LMKOMUN.INI je zapsán bez příkazů, které nelze předat regulátoru.\r"_cp;
    text += "Vynechané příkazy: "_cp;
    text += std::to_string(count_);
    for (const std::string& line : shown_) {
        text += '\r';
        text += line;
    }
    if (count_ > shown_.size()) text += "\r...";
    return text;
}

}  // namespace lm
