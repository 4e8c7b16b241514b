#include "online/run_service.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/number_text.h"
#include "instances/lookups.h"
#include "online/rozid7_start.h"
#include "values/hex_texts.h"

namespace lm {
namespace {

std::uint16_t WordAt(const void* address) {
    std::uint16_t word = 0;
    std::memcpy(&word, address, sizeof word);
    return word;
}

std::string Name(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// Told when run mode cannot work: the timer or the communication program did
// not start.
constexpr std::string_view kNoRunMode = "Nelze přejít do režimu RUN."_cp;

// The longest time-out taken from the settings: an hour.
constexpr double kLongestLineTimeout = 3600.0;

}  // namespace

RunService::RunService(const ServiceContext& context, RunModeWide wide,
                       const InstanceList& instances, RunModeLinks links)
    : context_(context), wide_(wide), instances_(instances), links_(std::move(links)) {
    TakeLineTimeout();
}

RunService::~RunService() {
    // The driver window goes: its orders, the command queue and the answers
    // go with it.
    orders_.Clear();
    commands_.Clear();
    answers_.Clear();
}

void RunService::TakeLineTimeout() {
    std::optional<double> seconds = links_.line_timeout ? links_.line_timeout() : std::nullopt;
    double value = seconds.value_or(kDefaultLineTimeout);
    if (!(value > 0.0)) value = kDefaultLineTimeout;  // also a value that is not a number
    if (value > kLongestLineTimeout) value = kLongestLineTimeout;
    timeout_ticks_ = static_cast<std::uint32_t>(std::ceil(value * 10.0 - 1e-9));
    if (timeout_ticks_ < 1) timeout_ticks_ = 1;
}

// --- Host functions.

bool RunService::StartRUN(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    wide_.send_msg_enabled = true;
    const bool timer = context_.platform.StartTimer();
    log.Write("LM ENTRY: StartRUN");
    log.WriteWith([&] { return "CRC32 = " + RightAligned(record.lparam1, 10); });
    record.wparam1 = 1;
    run_mode_ = true;
    com_error_ = false;
    ShowRunLabel(true);
    std::string error;
    const bool written = links_.write_komun_ini && links_.write_komun_ini(record.lparam1, error);
    client_ = 0;
    close_owed_ = false;
    // Texts left from an earlier run were meant for a program that is gone
    // (it never said "CLIENT CLOSED"): a write kept would put a stale value
    // into the plant through the next program. Run mode starts empty.
    DropCommands("StartRUN");
    // The reads dropped with them are made again at once.
    for (dLM_ORDER& order : orders_) {
        if (order.removed || !order.pending) continue;
        order.pending = false;
        Reschedule(order);
    }
    if (!written || !error.empty()) {
        if (!error.empty()) context_.platform.ShowMessageBox(BoxKind::Error, error);
        record.dlm_func = 8;  // the host is asked for StopRUN
    } else if (!timer) {
        // Without the timer no command would ever go out.
        log.Write("StartRUN: Timer1 not set up");
        context_.platform.ShowMessageBox(BoxKind::Error, kNoRunMode);
        record.dlm_func = 8;
    } else {
        TakeLineTimeout();
        const int started =
            StartRozid7(context_.platform, context_.driver_dir, Rozid7Start::RunMode);
        program_live_ = started > 32;
        if (started <= 32) {
            // No program would ever answer an order: the user is told and
            // the host asked for StopRUN.
            log.WriteWith([&] {
                return "StartRUN: ROZID7.EXE not started, shell result " + std::to_string(started);
            });
            context_.platform.ShowMessageBox(BoxKind::Error, kNoRunMode);
            record.dlm_func = 8;
        }
    }
    FlushWindow();
    return true;
}

bool RunService::StopRUN(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: StopRUN");
    record.wparam1 = 1;
    run_mode_ = false;
    ShowRunLabel(false);
    SendClose();
    FlushWindow();
    // The timer runs on until the program reports "CLIENT CLOSED".
    return true;
}

bool RunService::OrderData(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    list_changed_ = true;
    log.Write("LM ENTRY: OrderData");
    const std::uint16_t word = record.pointer1 != nullptr ? WordAt(record.pointer1) : 0;
    log.WriteWith([&] { return "timeout word(pointer1^)=" + HEX_WORD(word); });
    const bool timeout = (word & 0xFF) == 1;
    record.error = 0;
    if (record.data2 == nullptr) {
        // Without a period there is nothing to keep: no order, and the host
        // learns it from the flag.
        log.Write("OrderData: no period (data2 = nil) - order not made");
        record.wparam1 = 0;
        return true;
    }
    INS_ORDER(record.wparam1, record.wparam2, record.lparam1, record.lparam2,
              reinterpret_cast<std::uintptr_t>(record.data1), WordAt(record.data2), timeout);
    if (timeout && record.pointer1 != nullptr) {
        const std::uint16_t zero = 0;
        std::memcpy(record.pointer1, &zero, sizeof zero);
    }
    record.wparam1 = 1;
    return true;
}

void RunService::INS_ORDER(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                           WindowHandle window, std::uintptr_t tag, std::uint16_t period,
                           bool timeout) {
    const dLM_DATAITEM* found =
        instances_.FindItem(obj, instance, static_cast<std::uint16_t>(item));
    orders_.Insert(obj, instance, item, window, tag, period, timeout,
                   found != nullptr ? found->delka : 0);
    context_.log.WriteWith([&] {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", period / 10.0);
        return "INS_ORDER: obj=" + std::to_string(obj) + ". instance=" + std::to_string(instance) +
               ". item=" + std::to_string(item) + ", perioda=" + seconds + " sec";
    });
}

bool RunService::UnOrderData(PARAM_ENTRY& record) {
    list_changed_ = true;
    context_.log.Write("LM ENTRY: UnOrderData");
    if (record.wparam1 == 0 && record.wparam2 == 0 && record.lparam1 == 0) {
        orders_.DeleteWindow(record.lparam2);
    } else {
        orders_.Delete(orders_.Find(record.wparam1, record.wparam2, record.lparam1, record.lparam2,
                                    reinterpret_cast<std::uintptr_t>(record.data1)));
    }
    record.wparam1 = 1;
    record.error = 0;
    return true;
}

bool RunService::SetData(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    log.Write("LM ENTRY: SetData");
    record.error = 0;
    const dLM_OBJECT* instance = instances_.Find(record.wparam1, record.wparam2);
    const dLM_DATAITEM* item = instances_.FindItem(record.wparam1, record.wparam2,
                                                   static_cast<std::uint16_t>(record.lparam1));
    if (instance == nullptr || item == nullptr || record.data2 == nullptr) return true;
    log.WriteWith([&] {
        return "SET_DATA: ITEM " + Name(instance->name) + "." + std::to_string(instance->instance) +
               "." + Name(item->name);
    });
    log.Write("SET_DATA: KADEX-2");
    if (IsStringRecord(*item)) return true;  // texts are not written online
    if (instance->ident > 255 || instance->instance > 255 || item->ident > 255) {
        // Cut to their low bytes the numbers would name another block.
        log.Write("SET_DATA: obj/ins/item above 255 - not sent");
        return true;
    }
    std::uint8_t bytes[4];
    std::memcpy(bytes, record.data2, sizeof bytes);
    const std::string command = WriteCommand(
        static_cast<std::uint8_t>(instance->ident), static_cast<std::uint8_t>(instance->instance),
        static_cast<std::uint8_t>(item->ident), std::span<const std::uint8_t, 4>(bytes));
    switch (commands_.Append(command, false)) {
        case CommandQueue::Added::Refused:
            log.Write("KADEX-2 SETDATA: command queue full - write refused");
            return true;
        case CommandQueue::Added::DroppedOldestRead:
            log.Write("KADEX-2 SETDATA: command queue full - oldest read dropped");
            break;
        case CommandQueue::Added::Yes:
            break;
    }
    log.WriteWith([&] { return "KADEX-2 SETDATA: " + command; });
    return true;
}

bool RunService::OrderService(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: ORDERSERVICE");
    record.error = 0;
    record.wparam1 = 1;
    return true;
}

// --- Menu and unload.

void RunService::ReadAllCmos() {
    StartRozid7(context_.platform, context_.driver_dir, Rozid7Start::ReadAll);
}

void RunService::DriverWindowShown(bool shown) {
    if (run_mode_) SendNow(shown ? kDialogShowText : kDialogHideText);
    FlushWindow();
}

void RunService::UnloadDriver() {
    // Also after StopRUN: a program that has not closed yet would hold the
    // line after the driver is gone.
    if (run_mode_ || (program_live_ && client_ != 0)) SendClose();
}

// --- The exchange.

RunService::Sent RunService::SendNow(std::string_view text) {
    return SendText(std::string(text));
}

void RunService::SendClose() {
    // StopRUN answers the host at once. A program that has not announced its
    // window yet (or did not take the text) would be left running, polled
    // outside run mode and holding the line: it is told when it announces.
    close_owed_ = SendNow(kCloseText) != Sent::Yes && program_live_;
    if (close_owed_) context_.log.Write("CLOSE waits for the LMKOMUN window");
}

void RunService::DropCommands(std::string_view why) {
    LogSink& log = context_.log;
    while (auto command = commands_.TakeHead()) {
        if (!command->is_read)
            log.WriteWith(
                [&] { return std::string(why) + ": stale write dropped: " + command->text; });
    }
}

RunService::Sent RunService::SendText(const std::string& text) {
    SetEdit("Edit1", text);
    if (client_ == 0 || wide_.msg_tolan == 0) return Sent::NoClient;
    Platform& platform = context_.platform;
    const AtomId atom = platform.AddGlobalAtom(text);
    if (atom == 0) {
        context_.log.WriteWith(
            [&] { return "MSG_TOLAN: no atom for the text - dropped: " + text; });
        return Sent::Failed;
    }
    const auto answer =
        platform.SendMessageTo(client_, wide_.msg_tolan, 1, static_cast<std::intptr_t>(atom));
    platform.DeleteGlobalAtom(atom);
    if (answer) return Sent::Yes;
    if (!platform.WindowExists(client_)) {
        // The program has gone without a word: its handle is forgotten and
        // the texts wait for a program that announces itself again.
        context_.log.Write("MSG_TOLAN: LMKOMUN window gone - handle forgotten");
        client_ = 0;
        return Sent::NoClient;
    }
    context_.log.Write("MSG_TOLAN: LMKOMUN window does not answer");
    return Sent::Busy;
}

void RunService::SetEdit(const char* name, std::string_view text) {
    std::string& shown = wide_.window[name].text;
    if (shown == text) return;
    shown.assign(text.substr(0, kMaxText));
    Refresh();
}

void RunService::SetProgress(std::size_t orders) {
    ui::Control& bar = wide_.window["ProgressBarCom"];
    const int position = static_cast<int>(std::min<std::size_t>(orders, 100));
    if (bar.position == position) return;
    bar.position = position;
    Refresh();
}

void RunService::ShowRunLabel(bool shown) {
    wide_.window["LabelRUN"].visible = shown;
    Refresh();
}

void RunService::FlushWindow() {
    if (!window_changed_) return;
    window_changed_ = false;
    wide_.window.Touch();
    context_.platform.UpdateWindow(wide_.window);
}

}  // namespace lm
