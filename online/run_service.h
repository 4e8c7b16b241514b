// Run mode: the host's orders for live values, the command queue towards the
// communication program ROZID7.EXE and the answers back to the host's
// windows. The host's calls (StartRUN, StopRUN, OrderData, UnOrderData,
// SetData, ORDERSERVICE) come through the entry; the driver window's 100 ms
// timer (Timer1Timer) and its window procedure (WndProc) come from the
// platform. Nothing here blocks: texts go out with synchronous sends that
// the platform bounds, and every walk over the orders survives a host call
// that re-enters meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/host_records.h"
#include "instances/instance_list.h"
#include "online/answer_queue.h"
#include "online/command_queue.h"
#include "online/order_list.h"
#include "online/tolan_texts.h"
#include "platform/platform.h"
#include "service/service_context.h"
#include "ui/form.h"

namespace lm {

// What run mode uses of the driver window and of the driver-wide state.
struct RunModeWide {
    ui::Form& window;         // LabelRUN, ProgressBarCom, Edit1, Edit2
    WindowHandle own_window;  // the driver window's handle
    unsigned msg_rec_to_lmr;  // 0 when its registration failed: no answers
    unsigned msg_tolan;       // 0 when its registration failed: no exchange
    const bool& in_entry;     // a host call is under way
    bool& send_msg_enabled;   // SendMsgEnabled, set by StartRUN
};

// What run mode needs from the other services of the driver.
struct RunModeLinks {
    // Writes LMKOMUN.INI for run mode (no netlist) with the host's CRC32 of
    // the project. False with the text the user is to see in an error box;
    // when the settings file is missing its reader has shown its own box.
    std::function<bool(std::uint32_t crc32, std::string& error)> write_komun_ini;
    // TimeOut of the active communication settings, in seconds; nothing when
    // they cannot be read.
    std::function<std::optional<double>()> line_timeout;
};

// The time-out used when the settings give none, in seconds.
inline constexpr double kDefaultLineTimeout = 1.5;

class RunService : public WindowEvents {
public:
    RunService(const ServiceContext& context, RunModeWide wide, const InstanceList& instances,
               RunModeLinks links);
    ~RunService() override;  // FREE_ORDERS, the queues
    RunService(const RunService&) = delete;
    RunService& operator=(const RunService&) = delete;

    // Host functions.
    bool StartRUN(PARAM_ENTRY& record);
    bool StopRUN(PARAM_ENTRY& record);
    bool OrderData(PARAM_ENTRY& record);
    bool UnOrderData(PARAM_ENTRY& record);
    bool SetData(PARAM_ENTRY& record);
    bool OrderService(PARAM_ENTRY& record);

    // Menu item "Načíst celou &CMOS": the program with "/READALL".
    void ReadAllCmos();
    // The menu has shown or hidden the driver window: in run mode the
    // program shows or hides its own.
    void DriverWindowShown(bool shown);
    // Unload driver: in run mode the program is told to close.
    void UnloadDriver();

    // Timer1Timer, every 100 ms once StartRUN has started the timer.
    void on_timer() override;
    // WndProc: MSG_TOLAN from the communication program.
    bool on_message(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                    std::intptr_t& result) override;

    // State, for the window and the tests.
    bool run_mode() const { return run_mode_; }
    bool com_error() const { return com_error_; }
    WindowHandle client_window() const { return client_; }
    const CommandQueue& commands() const { return commands_; }
    OrderList& orders() { return orders_; }
    // Ticks after which a pending order is requested again.
    std::uint32_t timeout_ticks() const { return timeout_ticks_; }

private:
    // Yes: delivered. NoClient: no program known (or it has gone): the text
    // waits. Busy: the program did not take it in time: the text waits.
    // Failed: the text could not be carried (no atom) and is dropped.
    enum class Sent { Yes, NoClient, Busy, Failed };

    // Host-call parts.
    void INS_ORDER(std::uint16_t obj, std::uint16_t instance, std::uint32_t item,
                   WindowHandle window, std::uintptr_t tag, std::uint16_t period, bool timeout);
    void TakeLineTimeout();

    // Timer parts (run_timer.cpp).
    void OrderPass();
    void VisitOrder(dLM_ORDER& order);
    // Ticks a request waits for its answer before it is made again.
    std::uint64_t AnswerWait(const dLM_ORDER& order) const;
    // Places the order in the schedule by its state: at its due tick, or
    // while pending and past it at the end of its answer's time-out.
    void Reschedule(dLM_ORDER& order);
    void RequestOrder(dLM_ORDER& order, const dLM_OBJECT& instance, const dLM_DATAITEM& item);
    void SendCommands();

    // Message parts (run_messages.cpp).
    // A text received with wParam 2.
    void Interpret(std::string_view text);
    void ApplyDataAnswer(const DataAnswer& answer);
    bool AnswerMatches(dLM_ORDER& order, const DataAnswer& answer);
    void AllOrdersFailed();
    void ANSWER_ORDER(dLM_ORDER& order, bool failed);
    void SEND_ANSWERS();

    // The exchange.
    // Shows the text in Edit1 and sends it at once when the program is known.
    Sent SendNow(std::string_view text);
    // Tells the program run mode started to close; remembers when the text
    // could not reach it yet.
    void SendClose();
    // Empties the command queue, one log line for each write dropped.
    void DropCommands(std::string_view why);
    Sent SendText(const std::string& text);
    void SetEdit(const char* name, std::string_view text);
    void SetProgress(std::size_t orders);
    void ShowRunLabel(bool shown);
    // The window's controls change many times in one tick (Edit1 with every
    // text sent): they are drawn once, when the tick, message or call ends.
    void Refresh() { window_changed_ = true; }
    void FlushWindow();

    ServiceContext context_;
    RunModeWide wide_;
    const InstanceList& instances_;
    RunModeLinks links_;

    OrderList orders_;
    AnswerQueue answers_;
    CommandQueue commands_;
    bool run_mode_ = false;
    bool com_error_ = false;
    WindowHandle client_ = 0;
    // The program StartRUN started has not reported "CLIENT CLOSED".
    bool program_live_ = false;
    // StopRUN (or unload) could not deliver "CLOSE|": the program is told
    // when it announces its window.
    bool close_owed_ = false;
    std::uint32_t timeout_ticks_ = 15;
    bool window_changed_ = false;

    // The re-entry marks besides the host call's own (in_entry).
    bool tick_busy_ = false;       // a tick is under way
    bool answer_queuing_ = false;  // ANSWER_ORDER is under way
    bool list_changed_ = false;    // OrderData or UnOrderData ran
};

}  // namespace lm
