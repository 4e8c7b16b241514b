// ObjectDialog: the driver's own dialog for a placed block whose object asks
// for one (SPECDIAL). The analog input blocks (idents 11 and 18) get the
// module dialog, block 155 starts the KAVLIN.EXE tool, every other block
// edits its text items in the string table. The dialogs work on the block's
// item values in place and set DataChanged when the user confirms.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "instances/instance_list.h"
#include "platform/platform.h"

namespace lm::dialogs {

inline constexpr std::uint16_t kAnalog6Ident = 11;
inline constexpr std::uint16_t kAnalog12Ident = 18;
inline constexpr std::uint16_t kKavlinIdent = 155;
inline constexpr std::uint16_t kLinearisationItem = 69;
inline constexpr std::uint16_t kCounterItem = 50;
inline constexpr const char kKavlinProgram[] = "KAVLIN.EXE";

struct ObjectDialogsContext {
    Platform& platform;
    LogSink& log;
    std::string driver_dir;
    InstanceList& instances;
    bool& data_changed;              // DataChanged, handed to the host by FlagChangeDat
    std::function<bool()> run_mode;  // the string table is read-only in run mode
};

class ObjectDialogs {
public:
    explicit ObjectDialogs(ObjectDialogsContext context) : context_(std::move(context)) {}

    // Host function 18: the instance (wparam1 ident, wparam2 instance) gets
    // the driver's dialog when its object has SPECDIAL; then error 0 and
    // TRUE. Otherwise FALSE and the host shows its own dialog.
    bool ObjectDialog(PARAM_ENTRY& record);
    // The dialog of one instance, chosen by its object ident.
    void Dispatch(dLM_OBJECT& instance);

private:
    void AnalogDialog(dLM_OBJECT& instance);
    void StartKavlin(const dLM_OBJECT& instance);
    void TextItemsDialog(dLM_OBJECT& instance);

    ObjectDialogsContext context_;
};

// The parameters of KAVLIN.EXE: port, speed, address, relay, RS485 (1 or 0),
// time-out and the instance, as "%d %d %d %d %d %2.1f %d".
std::string KavlinParameters(int port, int speed, int address, int relay, bool rs485,
                             double timeout, int instance);

}  // namespace lm::dialogs
