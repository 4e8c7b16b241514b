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
#include "instances/instance_list.h"
#include "service/service_context.h"

namespace lm::dialogs {

inline constexpr std::uint16_t kAnalog6Ident = 11;
inline constexpr std::uint16_t kAnalog12Ident = 18;
inline constexpr std::uint16_t kKavlinIdent = 155;
inline constexpr std::uint16_t kLinearisationItem = 69;
inline constexpr std::uint16_t kCounterItem = 50;
inline constexpr const char kKavlinProgram[] = "KAVLIN.EXE";

class ObjectDialogs {
public:
    // `data_changed` is DataChanged, handed to the host by FlagChangeDat;
    // `run_mode` tells whether run mode is on (the string table is read-only
    // then).
    ObjectDialogs(const ServiceContext& context, InstanceList& instances, bool& data_changed,
                  std::function<bool()> run_mode)
        : context_(context),
          instances_(instances),
          data_changed_(data_changed),
          run_mode_(std::move(run_mode)) {}

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

    ServiceContext context_;
    InstanceList& instances_;
    bool& data_changed_;
    std::function<bool()> run_mode_;
};

// The parameters of KAVLIN.EXE: port, speed, address, relay, RS485 (1 or 0),
// time-out and the instance, as "%d %d %d %d %d %2.1f %d".
std::string KavlinParameters(int port, int speed, int address, int relay, bool rs485,
                             double timeout, int instance);

}  // namespace lm::dialogs
