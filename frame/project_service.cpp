#include "frame/project_service.h"

#include "base/cp1250.h"
#include "base/number_text.h"
#include "dialogs/dialog_ini.h"
#include "frame/error_texts.h"
#include "instances/lookups.h"
#include "instances/project_lines.h"
#include "library/dump_library.h"
#include "library/tools.h"
#include "values/number_texts.h"

namespace lm {
namespace {

// "LM ENTRY: <function>, IDENT = <object>, instance=<instance>", numbers in 5 places.
std::string InstanceCallLine(std::string_view function, const PARAM_ENTRY& record) {
    return "LM ENTRY: " + std::string(function) + ", IDENT = " + RightAligned(record.wparam1, 5) +
           ", instance=" + RightAligned(record.wparam2, 5);
}

}  // namespace

ProjectService::ProjectService(const ServiceContext& context, DriverWindow& window,
                               StartupOptions& startup, TextBuffer<kMaxText + 1>& message_buffer,
                               bool& data_changed)
    : context_(context),
      window_(window),
      startup_(startup),
      message_buffer_(message_buffer),
      data_changed_(data_changed),
      library_(context.platform) {
    library_.firmware_low = library_.firmware_high = 0;
}

ProjectService::~ProjectService() {
    // Bitmaps, tools and objects of the library, then the instances.
    library_.Free();
    instances_.Clear();
}

bool ProjectService::InitObjects(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    Platform& platform = context_.platform;
    platform.SetBusyCursor(true);
    log.Write("LM ENTRY: init objects - begin");
    const std::string startup_file = context_.DriverFile(kStartupFileName);
    const std::string tools_file = context_.DriverFile("TOOLS.INI");
    Files& files = platform.files();
    if (!files.CanBeOpened(startup_file)) {
        startup_ = StartupOptions{};
        // Should the write fail, the file is still missing below: error 1.
        SaveStartup(files, context_.driver_dir, dialogs::kNoLabelTable, startup_);
        platform.ShowMessageBox(BoxKind::Error,
                                "Startovacího soubor STARTUP.INI nebyl nalezen.\r"
                                "Bylo použito počáteční nastavení."_cp);
    }
    if (!files.CanBeOpened(tools_file) || !files.CanBeOpened(startup_file) || !library_.empty()) {
        record.error = kErrInitObjects;
        log.Write("LM ENTRY: init objects - END ERROR");
        platform.SetBusyCursor(false);
        return true;
    }

    log.Write("LM ENTRY : StartUp.INI");
    std::string label;
    TextPosition comment;
    if (LoadStartup(files, context_.driver_dir, label, kMaxText, startup_, log, nullptr,
                    &comment)) {
        window_.ApplyStartupOptions(startup_);
    } else if (comment.line != 0) {
        platform.ShowMessageBox(BoxKind::Error, "Chyba startovacího souboru\r"_cp +
                                                    StopPlaceText({startup_file, comment}) +
                                                    "\rNeukončená poznámka, chybí }"_cp);
    } else {
        platform.ShowMessageBox(BoxKind::Error, "Chyba startovacího souboru\r"_cp + startup_file);
    }

    log.Write("LM ENTRY: init objects - load tools");
    std::string error;
    LoadStopPlace stop;
    LOAD_TOOLS(files, tools_file, context_.driver_dir, library_, error, kMaxText, log, nullptr,
               &stop);
    // A load stopped by a faulty definition keeps what came before it and
    // still answers success; its message goes to MessageBuffer, where errtext
    // hands texts out. A clean load leaves the buffer empty.
    message_buffer_.Store(error);
    if (!error.empty()) ReportLoadError(error, stop);
    ShowFirmware();

    record.error = kErrOk;
    const std::size_t count = library_.objects.size();
    record.wparam1 = static_cast<std::uint16_t>(count);
    log.WriteWith(
        [&] { return "pocet objektu : " + RightAligned(static_cast<long long>(count), 3); });
    record.pointer1 = library_.objects.head();
    record.pointer2 = library_.tools.head();
    DumpLibrary(library_, log);
    log.Write("LM ENTRY: init objects - END OK");
    platform.SetBusyCursor(false);
    return true;
}

void ProjectService::ReportLoadError(const std::string& error, const LoadStopPlace& stop) {
    // The host shows a palette without the objects from the faulty file on, and
    // says nothing: the user is told here what stopped the load and where.
    const std::string place = StopPlaceText(stop);
    context_.log.WriteWith([&] {
        std::string line = "LOAD_TOOLS ERROR: ";
        line += place;
        line += ": ";
        line += error;
        return line;
    });
    std::string text = error;
    text += '\r';
    text += place;
    context_.platform.ShowMessageBox(BoxKind::Error, text);
}

void ProjectService::ShowFirmware() {
    ui::Control& base = window_.form()["lBase"];
    if (library_.firmware_low == 0 && library_.firmware_high == 0) {
        base.text = "Firmware: <vypnuto>";
    } else {
        base.text = "Pro firmware: " + FIRMWARE_TEXT(library_.firmware_low) + " až "_cp +
                    FIRMWARE_TEXT(library_.firmware_high);
    }
    window_.Refresh();
}

bool ProjectService::CreateObject(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    log.WriteWith([&] { return InstanceCallLine("CreateObject", record); });
    if (record.data1 != nullptr) log.Write("copy: data1 <> nil !!!");
    const dLM_OBJECT* library_object = FIND_INSTANCE(library_.objects.head(), record.wparam1, 0);
    if (library_object == nullptr) {
        record.wparam1 = 0;
        record.error = kErrObjectUnknown;
        return true;
    }
    dLM_OBJECT* instance = instances_.Create(*library_object, record.wparam2, log);
    record.data1 = instance->data_user;
    record.wparam1 = 1;
    record.error = kErrOk;
    return true;
}

bool ProjectService::DeleteObject(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    log.WriteWith([&] { return InstanceCallLine("DeleteObject", record); });
    if (record.data1 != nullptr) log.Write("delete: data1 <> nil !!!");
    log.WriteWith([&] { return "lparam1 func=" + RightAligned(record.lparam1, 3); });
    dLM_OBJECT* instance = instances_.Find(record.wparam1, record.wparam2);
    if (instance != nullptr) {
        switch (record.lparam1) {
            case 0:
                log.Write("test delete");
                break;
            case 1:
                log.Write("true delete with confirm");
                break;
            case 2:
                log.Write("TRUE delete & shut-up");
                break;
            default:
                log.Write("error !");
                break;
        }
        instances_.Delete(instance);
        record.wparam1 = 1;
    } else {
        record.wparam1 = 0;
    }
    record.error = kErrOk;
    return true;
}

bool ProjectService::SetInstance(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: SetInstance");
    dLM_OBJECT* instance = instances_.Find(record.wparam1, record.wparam2);
    if (instance != nullptr) {
        instances_.Renumber(instance, static_cast<std::uint16_t>(record.lparam1 & 0xFFFF));
    } else {
        record.error = kErrInstance;
    }
    return true;
}

bool ProjectService::SaveLine(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: SaveLine");
    SaveState state{all_saved_, &line_buffer_};
    bool result = lm::SaveLine(instances_, record, state, context_.log);
    all_saved_ = state.all_saved;
    return result;
}

bool ProjectService::LoadLine(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: LoadLine");
    // The line is read from the driver's own copy: the host's text is read once.
    line_buffer_.Store(ReadZeroText(record.string1));
    const std::string_view line = line_buffer_.view();
    std::uint16_t error = kErrOk;
    const bool found =
        DECODE_LINE(instances_, record.wparam1, record.wparam2, line, error, context_.log);
    record.error = error;
    record.wparam1 = found ? 1 : 0;
    return true;
}

bool ProjectService::FlagChangeDat(PARAM_ENTRY& record) {
    LogSink& log = context_.log;
    log.Write("LM ENTRY: FlagChangeDat");
    if (record.wparam1 == 1) {
        data_changed_ = false;
        record.wparam1 = 0;
        log.Write(" > nulovani");
    } else if (data_changed_) {
        record.wparam1 = 1;
        log.Write(" > zmena !");
    } else {
        record.wparam1 = 0;
        log.Write(" > beze zmeny");
    }
    record.error = kErrOk;
    return true;
}

bool ProjectService::StartLoadPrj(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: STARTLOADPRJ");
    if (record.lparam1 == 1) {
        context_.log.Write("  IMPORT TO PRJ");
    } else {
        context_.log.Write("  LOAD NEW PRJ");
        data_changed_ = false;
    }
    record.error = kErrOk;
    return true;
}

bool ProjectService::EndLoadPrj(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: ENDLOADPRJ");
    context_.log.Write(record.lparam1 == 1 ? "  IMPORT TO PRJ" : "  LOAD NEW PRJ");
    record.error = kErrOk;
    return true;
}

}  // namespace lm
