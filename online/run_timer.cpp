// Timer1Timer: the order pass, then the command queue to the communication
// program, then the answers to the host's windows.
#include <algorithm>

#include "instances/lookups.h"
#include "online/run_service.h"

namespace lm {
namespace {

std::string Name(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// A string item answers in up to eight items from its own ident on.
constexpr std::uint16_t kStringItemSpan = 7;

}  // namespace

void RunService::on_timer() {
    if (wide_.in_entry || tick_busy_ || answer_queuing_) return;
    tick_busy_ = true;
    OrderPass();
    SendCommands();
    SEND_ANSWERS();
    FlushWindow();
    tick_busy_ = false;
}

void RunService::OrderPass() {
    list_changed_ = false;
    orders_.BeginPass();
    if (orders_.empty()) {
        orders_.EndPass();
        SetProgress(0);
        return;
    }
    // Only the orders due in this tick are visited, in list order: those to
    // be requested and those whose answer has not come within the line's
    // time-out. Each is visited once, also when a host call re-enters and
    // places or withdraws orders meanwhile: an order placed then is visited
    // in this pass when it is due in it, one withdrawn is not visited any
    // more. (Starting the walk again from the head, as the list's other walks
    // do, would count down the orders before the change twice and request
    // them a tick early.)
    OrderList::Walk walk(orders_);
    while (dLM_ORDER* order = orders_.NextDue()) {
        VisitOrder(*order);
        Reschedule(*order);
    }
    orders_.EndPass();
    list_changed_ = false;
    // The bar shows the orders in the list, at most 100.
    SetProgress(orders_.size());
}

std::uint64_t RunService::AnswerWait(const dLM_ORDER& order) const {
    return std::max<std::uint64_t>(timeout_ticks_, order.period);
}

void RunService::Reschedule(dLM_ORDER& order) {
    if (order.removed) return;
    std::uint64_t tick = order.due;
    if (order.pending) {
        // Visited at its due tick while that is still to come: an answer that
        // comes in time (mostly in the tick of the request) leaves the order
        // where it is. Past it, at the end of the answer's time-out.
        const std::uint64_t timeout = order.requested + AnswerWait(order);
        tick = order.due >= orders_.NextVisit(order) ? std::min(order.due, timeout) : timeout;
    }
    orders_.Schedule(order, tick);
}

void RunService::VisitOrder(dLM_ORDER& order) {
    const std::uint64_t now = orders_.now();
    if (order.pending) {
        // An answer lost on the line would freeze the value for good: after
        // the line's time-out (at least one period) the order is requested
        // again. Within the time-out it is not. The host's window learns that
        // the value did not come (a failure answer): a program that died,
        // never announced itself or answers only what cannot be read would
        // otherwise leave it showing an old value as if it were live.
        if (now >= order.requested + AnswerWait(order)) {
            context_.log.Write("TIMER answer time-out - order requested again");
            order.pending = false;
            ANSWER_ORDER(order, true);
        }
    }
    if (order.pending || now < order.due) return;
    order.due = now + 1 + order.period;
    const dLM_OBJECT* instance = instances_.Find(order.obj, order.instance);
    const dLM_DATAITEM* item =
        instances_.FindItem(order.obj, order.instance, static_cast<std::uint16_t>(order.item));
    if (instance == nullptr || item == nullptr) return;
    context_.log.WriteWith([&] {
        return "TIMER GET-ITEM " + Name(instance->name) + "." + std::to_string(instance->instance) +
               "." + Name(item->name);
    });
    if (item->ext == nullptr) return;
    RequestOrder(order, *instance, *item);
}

void RunService::RequestOrder(dLM_ORDER& order, const dLM_OBJECT& instance,
                              const dLM_DATAITEM& item) {
    LogSink& log = context_.log;
    const bool string_item = IsStringRecord(item);
    if (instance.ident > 255 || instance.instance > 255 || item.ident > 255) {
        // A command carries one byte per number: cut, it would read another
        // block and the answer could never match. The host learns once that
        // this value does not come.
        if (!order.unaddressable_reported) {
            order.unaddressable_reported = true;
            log.Write("TIMER obj/ins/item above 255 - order cannot be requested");
            order.record.valid = 0;
            ANSWER_ORDER(order, true);
        }
        return;
    }
    if (string_item && unsigned{item.ident} + kStringItemSpan > 255u &&
        !order.unaddressable_reported) {
        // A string of ident 249 to 255 is read up to item 255: its first
        // bytes come, the rest cannot be named in an answer and keeps its
        // value. Told once in the log.
        order.unaddressable_reported = true;
        log.WriteWith([&] {
            return "TIMER string item " + std::to_string(item.ident) +
                   ": items above 255 cannot be read - only bytes 0 to " +
                   std::to_string(4 * (256 - item.ident) - 1) + " come";
        });
    }
    log.Write("TIMER RUN read Kadex-2");
    const std::string command = ReadCommand(string_item, static_cast<std::uint8_t>(instance.ident),
                                            static_cast<std::uint8_t>(instance.instance),
                                            static_cast<std::uint8_t>(item.ident));
    log.WriteWith([&] { return "TIMER " + command; });
    if (!commands_.Contains(command)) {
        if (commands_.Append(command, true) == CommandQueue::Added::Refused) {
            // Not pending: the order asks again at its next due time.
            log.Write("TIMER command queue full - read refused");
            return;
        }
        log.Write("TIMER Command inserted to queue");
    }
    order.pending = true;
    order.requested = orders_.now();
    if (com_error_) {
        order.record.valid = 0;
        log.Write("TIMER com error / canceled - input");
        ANSWER_ORDER(order, true);
        log.Write("TIMER com error / canceled");
    }
}

void RunService::SendCommands() {
    if (commands_.empty()) return;
    LogSink& log = context_.log;
    if (client_ == 0) {
        log.Write("TIMER Handle to LMKOMUN not defined !!!");
    } else {
        // Each text leaves the queue before it is sent: a message that
        // arrives during the send (the program closing, say) may clear the
        // queue safely.
        while (client_ != 0) {
            auto command = commands_.TakeHead();
            if (!command) break;
            const Sent sent = SendText(command->text);
            if (sent == Sent::NoClient || sent == Sent::Busy) {
                commands_.PutBackHead(std::move(*command));
                break;
            }
            if (sent == Sent::Yes) log.WriteWith([&] { return "TIMER Sent: " + command->text; });
        }
    }
    log.Write("TIMER string command deleted");
}

}  // namespace lm
