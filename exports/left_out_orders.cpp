#include "exports/left_out_orders.h"

#include "base/bounded_text.h"
#include "base/cp1250.h"

namespace lm {
namespace {

// A line of the box names one order; a name beyond this is cut.
constexpr std::size_t kBoxLineLimit = 100;

// "value \"nan\" cannot be written", "instance 256 above 255".
std::string LogReason(const LeftOutOrder& order) {
    using Why = LeftOutOrder::Why;
    std::string reason = order.source.empty() ? "" : "source " + order.source + ", ";
    switch (order.why) {
        case Why::Value:
            return reason + "value \"" + order.value + "\" cannot be written";
        case Why::Ident:
            reason += "object number ";
            break;
        case Why::Instance:
            reason += "instance ";
            break;
        case Why::Item:
            if (order.string) {
                return reason + "items " + std::to_string(order.number) + " to " +
                       std::to_string(order.number + 7) + " above 255";
            }
            reason += "item ";
            break;
    }
    return reason + std::to_string(order.number) + " above 255";
}

// The same in the user's words.
std::string BoxReason(const LeftOutOrder& order) {
    using Why = LeftOutOrder::Why;
    std::string reason = order.source.empty() ? "" : "zdroj "_cp + order.source + ", ";
    switch (order.why) {
        case Why::Value:
            return reason + "hodnotu \""_cp + order.value + "\" nelze zapsat"_cp;
        case Why::Ident:
            reason += "číslo objektu "_cp;
            break;
        case Why::Instance:
            reason += "instance ";
            break;
        case Why::Item:
            if (order.string) {
                return reason + "položky "_cp + std::to_string(order.number) + " až "_cp +
                       std::to_string(order.number + 7) + " > 255";
            }
            reason += "položka "_cp;
            break;
    }
    return reason + std::to_string(order.number) + " > 255";
}

}  // namespace

void LeftOutOrders::Add(std::string_view block_item, const LeftOutOrder& order) {
    ++count_;
    log_.WriteWith([&] {
        return "LMKOMUN: order left out: " + std::string(block_item) + ", " + LogReason(order);
    });
    if (shown_.size() < kShown) {
        shown_.push_back(Bounded(std::string(block_item) + ": " + BoxReason(order), kBoxLineLimit));
    }
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
