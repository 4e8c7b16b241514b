// NetlistExports: the netlist exports NETLIST.TXT and LMKOMUN.INI with the
// menu actions that ask for them, one method per host function or menu
// command it serves.
//
//   menu 3001 "&Netlist"    -> the host calls NetList -> NETLIST.TXT, Notepad opens it
//   menu 3000 "&Překlad"    -> Yes in the confirmation box -> NetList -> LMKOMUN.INI
//                              and the communication program ROZID7.EXE starts
//   menu 3002 "&Klávesnice" -> LMKOMUN.INI without a netlist, ROZID7.EXE /K
//
// Files are written whole through Files: the text is built in memory first,
// then replaces the earlier file (a temporary file renamed over it), so a
// failed export leaves the earlier file as it was. A failure reaches the user
// as an error box naming the file and the reason; the host's call answers as
// it does after a successful export.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/cp1250.h"
#include "base/host_records.h"
#include "base/log_sink.h"
#include "exports/komun_header.h"
#include "instances/instance_list.h"
#include "library/object_library.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "service/service_context.h"

namespace lm {

// The error text when SETCOM.INI is missing.
inline constexpr CpText kMissingSettingsText =
    "Chybí soubor nastavení komunikace.\rNelze provést připojení k regulátoru."_cp;

class NetlistExports {
public:
    // The active communication settings (SETCOM.INI). Nothing when they cannot
    // be read; the reader has told the user then.
    using SettingsSource = std::function<std::optional<settings::TComSettings>()>;
    // The driver window's handle and place at the moment of the export.
    using WindowSource = std::function<KomunWindow()>;

    // The context's driver directory ends with the path separator. The
    // firmware pair is read from `library` at each export.
    NetlistExports(const ServiceContext& context, InstanceList& instances,
                   const ObjectLibrary& library, SettingsSource settings, WindowSource window);

    // WriteNetList: writes `file_name` in the driver directory, in the
    // communication-program mode for exactly "LMKOMUN.INI", else as the
    // listing. Returns the error text (empty on success, at most 255
    // characters): the missing settings, or the file that could not be
    // written and why. `instances` and `netlist` may be null.
    std::string WriteNetList(std::uint32_t checksum, InstanceList* instances,
                             const dLMN_NODE* netlist, std::string_view file_name);

    // Menu 3000: asks for confirmation; on Yes asks the host for NetList.
    // Returns the error code of the menu call: 0, or kErrNotExported when the
    // question could not be shown (logged; nothing is asked for).
    std::uint16_t MenuTranslate(PARAM_ENTRY& record);
    // Menu 3001: asks the host for NetList.
    void MenuNetlist(PARAM_ENTRY& record);
    // Menu 3002: LMKOMUN.INI without a netlist, then ROZID7.EXE /K.
    void MenuKeyboard();

    // NetList (function 20) for the export the last menu command chose:
    // 3001 the listing, 3000 the communication program's file. Both answer
    // error 0 and TRUE; any other command does nothing and answers FALSE.
    bool NetList(PARAM_ENTRY& record, std::uint16_t last_menu_item);

private:
    void NetListToText(const PARAM_ENTRY& record);
    void NetListToKomun(const PARAM_ENTRY& record);
    // The log lines of the host's NetList call and WriteNetList with its
    // checksum and netlist; the error text.
    std::string ExportFromHost(const PARAM_ENTRY& record, std::string_view log_line,
                               std::string_view file_name);
    void AskForNetList(PARAM_ENTRY& record, std::string_view log_line);
    std::string WriteFile(const std::string& path, std::string_view text);
    // Empty when written; otherwise logged, and the text for the user's box.
    std::string Told(const std::string& path, const FileStatus& status);

    Platform& platform_;
    Files& files_;
    LogSink& log_;
    std::string driver_dir_;
    InstanceList& instances_;
    const ObjectLibrary& library_;
    SettingsSource settings_;
    WindowSource window_;
};

}  // namespace lm
