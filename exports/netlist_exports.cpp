#include "exports/netlist_exports.h"

#include <new>
#include <stdexcept>

#include "base/bounded_text.h"
#include "base/error_codes.h"
#include "exports/file_parameter.h"
#include "exports/netlist_text.h"
#include "online/rozid7_start.h"

namespace lm {
namespace {

// The host's function code of NetList and the menu commands that ask for it.
constexpr std::uint16_t kNetListFunction = 20;
constexpr std::uint16_t kMenuTranslate = 3000;
constexpr std::uint16_t kMenuNetlist = 3001;

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// A netlist too large for the memory of the process: nothing is written.
std::string OutOfMemoryText(const std::string& path) {
    return Bounded(FileErrorText(path, "vytvořit"_cp, ":\rnedostatek paměti."_cp));
}

}  // namespace

NetlistExports::NetlistExports(const ServiceContext& context, InstanceList& instances,
                               const ObjectLibrary& library, SettingsSource settings,
                               WindowSource window)
    : platform_(context.platform),
      files_(context.files),
      log_(context.log),
      driver_dir_(context.driver_dir),
      instances_(instances),
      library_(library),
      settings_(std::move(settings)),
      window_(std::move(window)) {}

std::string NetlistExports::WriteNetList(std::uint32_t checksum, InstanceList* instances,
                                         const dLMN_NODE* netlist, std::string_view file_name) {
    const std::string path = driver_dir_ + std::string(file_name);
    const NetListMode mode = NetListModeOf(file_name);
    NetListHeader header;
    header.firmware_low = library_.firmware_low;
    header.firmware_high = library_.firmware_high;
    if (mode == NetListMode::Komun) {
        std::optional<settings::TComSettings> settings = settings_ ? settings_() : std::nullopt;
        if (!settings) {
            // Without the line settings the communication program must not
            // start on an old configuration: the file is left empty.
            WriteFile(path, "");
            return std::string(kMissingSettingsText);
        }
        header.settings = *settings;
        if (window_) header.window = window_();
    }
    // The text goes to the file in pieces as it is made. A write that fails
    // does not stop the walk, which also changes the instance list: the
    // failure is told when the text is complete, and the earlier file stays.
    FileReplacement file(files_, path);
    LeftOutOrders left_out(log_);
    try {
        ExportText out([&file](std::string_view piece) { file.Write(piece); });
        WriteNetListText(out, mode, checksum, instances, netlist, header, log_,
                         mode == NetListMode::Komun ? &left_out : nullptr);
        out.Flush();
    } catch (const std::bad_alloc&) {
        return OutOfMemoryText(path);
    } catch (const std::length_error&) {
        return OutOfMemoryText(path);
    }
    std::string error = Told(path, file.Commit());
    // The orders the file could not take are told once, after it is written;
    // a file not written says so in its own box.
    if (error.empty() && left_out.count() > 0) {
        platform_.ShowMessageBox(BoxKind::Error, left_out.BoxText());
    }
    return error;
}

std::string NetlistExports::WriteFile(const std::string& path, std::string_view text) {
    return Told(path, ReplaceWholeFile(files_, path, text));
}

std::string NetlistExports::Told(const std::string& path, const FileStatus& status) {
    if (status) return {};
    log_.WriteWith([&] { return "WriteNetList: " + path + " not written: " + status.reason; });
    return Bounded(FileErrorText(path, "zapsat", ":\r", status.reason));
}

void NetlistExports::AskForNetList(PARAM_ENTRY& record, std::string_view log_line) {
    record.dlm_func = kNetListFunction;
    record.lmd_func = kNetListFunction;
    log_.Write(log_line);
}

std::uint16_t NetlistExports::MenuTranslate(PARAM_ENTRY& record) {
    const BoxAnswer answer = platform_.ShowMessageBox(
        BoxKind::Question, "Opravdu přeložit projekt a nahrát do systému RX7 ?"_cp);
    if (answer == BoxAnswer::Yes) AskForNetList(record, "Menu ITEM - ack for NET com");
    if (answer != BoxAnswer::NotShown) return kErrOk;
    // Nobody answered No: the host is told that nothing was exported, in the
    // error code of its call, instead of a silent No.
    log_.Write("Menu ITEM - question box not shown, NET com not done");
    return kErrNotExported;
}

void NetlistExports::MenuNetlist(PARAM_ENTRY& record) {
    AskForNetList(record, "Menu ITEM - ack for NET text");
}

void NetlistExports::MenuKeyboard() {
    const std::string error = WriteNetList(0, nullptr, nullptr, kKomunFileName);
    if (!error.empty()) {
        platform_.ShowMessageBox(BoxKind::Error, error);
        return;
    }
    StartRozid7(platform_, driver_dir_, Rozid7Start::Keyboard);
}

bool NetlistExports::NetList(PARAM_ENTRY& record, std::uint16_t last_menu_item) {
    switch (last_menu_item) {
        case kMenuNetlist:
            NetListToText(record);
            break;
        case kMenuTranslate:
            NetListToKomun(record);
            break;
        default:
            return false;
    }
    record.error = 0;
    return true;
}

std::string NetlistExports::ExportFromHost(const PARAM_ENTRY& record, std::string_view log_line,
                                           std::string_view file_name) {
    log_.Write(log_line);
    log_.WriteWith([&] { return "   CRC32 = " + std::to_string(record.lparam1); });
    return WriteNetList(record.lparam1, &instances_, static_cast<const dLMN_NODE*>(record.pointer1),
                        file_name);
}

void NetlistExports::NetListToText(const PARAM_ENTRY& record) {
    const std::string error = ExportFromHost(record, "LM ENTRY: NetList to TEXT", kNetlistFileName);
    if (!error.empty()) platform_.ShowMessageBox(BoxKind::Error, error);
    // Notepad shows the listing, or the earlier one when this one could not be written.
    platform_.ShellOpen("NOTEPAD", FileParameter(driver_dir_ + std::string(kNetlistFileName)), "",
                        ShowMode::Show);
}

void NetlistExports::NetListToKomun(const PARAM_ENTRY& record) {
    const std::string error =
        ExportFromHost(record, "LM ENTRY: NetList to LMKOMUN", kKomunFileName);
    if (error.empty()) {
        StartRozid7(platform_, driver_dir_, Rozid7Start::Translate);
    } else {
        platform_.ShowMessageBox(BoxKind::Error, error);
    }
    log_.WriteWith([&] { return "LMDir=" + Quoted(driver_dir_); });
    log_.WriteWith([&] { return "ErrorStr=" + Quoted(error); });
}

}  // namespace lm
