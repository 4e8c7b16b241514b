// WndProc: what the communication program sends the driver window, the data
// answers matched to the orders, and the answers to the host's windows.
#include <cstring>

#include "base/bounded_text.h"
#include "instances/lookups.h"
#include "online/run_service.h"

namespace lm {
namespace {

// A string item answers in up to eight items from its own ident on.
constexpr unsigned kStringItemSpan = 7;

}  // namespace

bool RunService::on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                            std::intptr_t& result) {
    if (wide_.msg_tolan == 0 || msg != wide_.msg_tolan) return false;
    result = 0;
    Platform& platform = context_.platform;
    switch (wparam) {
        case 0: {
            // The program announces its window; the driver's own never counts.
            const auto window = static_cast<WindowHandle>(lparam);
            if (window != wide_.own_window) client_ = window;
            if (client_ != 0 && close_owed_ && !run_mode_) {
                // Run mode ended before the program announced itself: it is
                // told now, and nothing that waited for it is sent.
                DropCommands("MSG_TOLAN");
                context_.log.Write("WndProc - LMKOMUN announced after StopRUN - CLOSE sent");
                SendClose();
            }
            break;
        }
        case 1: {
            const std::string text = Bounded(platform.GlobalAtomName(static_cast<AtomId>(lparam)));
            SetEdit("Edit1", text);
            context_.log.WriteWith([&] { return "WndProc - text #1 - " + text; });
            break;
        }
        case 2: {
            const std::string text = Bounded(platform.GlobalAtomName(static_cast<AtomId>(lparam)));
            SetEdit("Edit2", text);
            Interpret(text);
            SEND_ANSWERS();
            break;
        }
        default:
            break;
    }
    FlushWindow();
    return true;
}

void RunService::Interpret(std::string_view text) {
    DataAnswer answer;
    const Received kind = ReadReceived(text, answer);
    switch (kind) {
        case Received::ClientClosedFailed:
        case Received::ClientClosed: {
            const bool failed = kind == Received::ClientClosedFailed;
            commands_.Clear();
            program_live_ = false;
            close_owed_ = false;
            context_.platform.StopTimer();
            SetProgress(0);
            if (failed) {
                context_.log.Write("All unfinished orders skiped - COM error");
                com_error_ = true;
                AllOrdersFailed();
            }
            break;
        }
        case Received::Data:
            ApplyDataAnswer(answer);
            break;
        case Received::BadData:
            context_.log.Write("WndProc - QQ_RD: not hexadecimal - ignored");
            break;
        case Received::Nothing:
            break;
    }
}

void RunService::ApplyDataAnswer(const DataAnswer& answer) {
    context_.log.WriteWith([&] {
        return "WndProc - QQ_RD: obj=" + std::to_string(answer.obj) +
               ", ins=" + std::to_string(answer.instance) + ", item=" + std::to_string(answer.item);
    });
    // Only the orders of this instance that can carry this item are visited,
    // in list order.
    OrderList::Walk walk(orders_);
    bool matched = false;
    auto candidates = orders_.Candidates(answer.obj, answer.instance, answer.item);
    for (std::size_t i = 0; i < candidates.size();) {
        dLM_ORDER& order = *candidates[i];
        if (!order.removed && !list_changed_) matched |= AnswerMatches(order, answer);
        if (list_changed_) {
            list_changed_ = false;
            candidates = orders_.Candidates(answer.obj, answer.instance, answer.item);
            i = 0;
            continue;
        }
        ++i;
    }
    if (!matched) context_.log.Write("WndProc - QQ_RD: no order for the answer - dropped");
}

bool RunService::AnswerMatches(dLM_ORDER& order, const DataAnswer& answer) {
    LogSink& log = context_.log;
    const dLM_OBJECT* instance = instances_.Find(order.obj, order.instance);
    const dLM_DATAITEM* item =
        instances_.FindItem(order.obj, order.instance, static_cast<std::uint16_t>(order.item));
    if (instance == nullptr || item == nullptr) return false;
    log.WriteWith([&] {
        return "WndProc - Qq:Object/Item in ORDER-DBase, obj=" + std::to_string(order.obj) +
               ", ins=" + std::to_string(order.instance) + ", item=" + std::to_string(order.item);
    });
    const bool same_instance =
        answer.obj == instance->ident && answer.instance == instance->instance;
    if (IsStringRecord(*item)) {
        log.Write("Item is STRING !");
        const unsigned k = answer.item;
        if (item->ext == nullptr || k < item->ident || k > item->ident + kStringItemSpan ||
            !same_instance || order.answering) {
            return false;
        }
        // Four characters per item; the controller's 0xDF stands for an
        // apostrophe.
        for (std::size_t i = 0; i < answer.count; ++i)
            order.scratch[i] = answer.bytes[i] == 0xDF ? 0x27 : answer.bytes[i];
        std::memcpy(order.data + 4 * (k - item->ident), order.scratch, 4);
        log.Write("Item/String & respond to new data -> convert");
    } else {
        if (item->ext == nullptr || item->ident != answer.item || !same_instance ||
            order.answering) {
            return false;
        }
        log.Write("Item not String & respond to new data -> convert");
        std::memcpy(order.data, answer.bytes.data(), answer.count);
    }
    order.pending = false;
    Reschedule(order);  // due again once its countdown has run out
    order.record.valid = 1;
    order.record.data = order.data;
    log.Write("WndProc data sending - start");
    ANSWER_ORDER(order, false);
    log.Write("WndProc data sending - end");
    return true;
}

void RunService::AllOrdersFailed() {
    LogSink& log = context_.log;
    OrderList::Walk walk(orders_);
    for (auto it = orders_.begin(); it != orders_.end();) {
        dLM_ORDER& order = *it;
        if (!order.removed && order.record.valid == 0) {
            log.Write("WndProc com error / all skip - input");
            ANSWER_ORDER(order, true);
            log.Write("WndProc com error / all skip");
        }
        if (list_changed_) {
            list_changed_ = false;
            it = orders_.begin();
            continue;
        }
        ++it;
    }
}

void RunService::ANSWER_ORDER(dLM_ORDER& order, bool failed) {
    if (wide_.msg_rec_to_lmr == 0) return;
    order.answering = true;
    answer_queuing_ = true;
    if (failed) {
        order.record.timeout = 1;
        order.record.failed = 1;
    } else {
        order.record.timeout = 0;
    }
    order.record.reserved = 0;
    answers_.Append(order);
    answer_queuing_ = false;
    order.answering = false;
}

void RunService::SEND_ANSWERS() {
    if (wide_.msg_rec_to_lmr == 0) return;
    Platform& platform = context_.platform;
    // Each answer leaves the queue before it is sent, so a host window that
    // calls the driver while it takes the answer finds a consistent queue.
    while (auto answer = answers_.TakeHead()) {
        const auto sent = platform.SendMessageTo(answer->window, wide_.msg_rec_to_lmr, 0,
                                                 reinterpret_cast<std::intptr_t>(&answer->block));
        if (!sent) {
            context_.log.WriteWith([&] {
                return "SEND_ANSWERS: window " + std::to_string(answer->window) + " not reached";
            });
        }
    }
}

}  // namespace lm
