// CwOutput: the Control Web export after the netlist's constants have become
// the items' values (GenerateControlWeb from the item list on): the options
// dialog filled with every exportable item, the ticks read back into the
// items, the chosen files written, then Notepad and Control Web. It keeps the
// four file names between exports for as long as the driver is loaded.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/host_records.h"
#include "base/log_sink.h"
#include "exports/cw_exports.h"
#include "instances/instance_list.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "service/service_context.h"
#include "settings/com_settings.h"

namespace lm::dialogs {

class CwOutput {
public:
    // The active communication settings; nothing when they cannot be read
    // (the reader has told the user).
    using SettingsSource = std::function<std::optional<settings::TComSettings>()>;

    CwOutput(const ServiceContext& context, SettingsSource settings);

    // NetList after menu 3010: the netlist's constants become the items'
    // values (`checksum` goes to the project block), then GenerateControlWeb.
    void NetList(std::uint32_t checksum, const dLMN_NODE* netlist, InstanceList& instances);

    // Shows the dialog modally and, on OK, exports the ticked items of
    // `instances` (their cw_selected is set from the ticks).
    void GenerateControlWeb(InstanceList& instances);

    const std::array<std::string, kCwFileCount>& file_names() const { return names_; }

private:
    Platform& platform_;
    LogSink& log_;
    CwExports exports_;
    SettingsSource settings_;
    std::array<std::string, kCwFileCount> names_ = {"c:\\novy.par", "c:\\novy.dmf", "c:\\novy.cw",
                                                    "c:\\novy.cp"};
};

// The settings line of the dialog:
// "COM2 38400Bd RS485, Adresa=5, Retranslace=7, Timeout=1.5s".
std::string CwPortText(const settings::TComSettings& settings);

}  // namespace lm::dialogs
