// The host's instance and project-line functions.
#include "base/number_text.h"
#include "frame/entry.h"
#include "frame/error_texts.h"
#include "instances/lookups.h"
#include "instances/project_lines.h"

namespace lm {
namespace {

// "LM ENTRY: <function>, IDENT = <object>, instance=<instance>", numbers in 5 places.
std::string InstanceCallLine(std::string_view function, const PARAM_ENTRY& record) {
    return "LM ENTRY: " + std::string(function) + ", IDENT = " + RightAligned(record.wparam1, 5) +
           ", instance=" + RightAligned(record.wparam2, 5);
}

}  // namespace

bool Entry::CreateObject(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    Log& log = wide_.log;
    log.WriteWith([&] { return InstanceCallLine("CreateObject", record); });
    if (record.data1 != nullptr) log.Write("copy: data1 <> nil !!!");
    const dLM_OBJECT* library_object = FIND_INSTANCE(d.library.objects.head(), record.wparam1, 0);
    if (library_object == nullptr) {
        record.wparam1 = 0;
        record.error = kErrObjectUnknown;
        return true;
    }
    dLM_OBJECT* instance = d.instances.Create(*library_object, record.wparam2, log);
    record.data1 = instance->data_user;
    record.wparam1 = 1;
    record.error = kErrOk;
    return true;
}

bool Entry::DeleteObject(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    Log& log = wide_.log;
    log.WriteWith([&] { return InstanceCallLine("DeleteObject", record); });
    if (record.data1 != nullptr) log.Write("delete: data1 <> nil !!!");
    log.WriteWith([&] { return "lparam1 func=" + RightAligned(record.lparam1, 3); });
    dLM_OBJECT* instance = d.instances.Find(record.wparam1, record.wparam2);
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
        d.instances.Delete(instance);
        record.wparam1 = 1;
    } else {
        record.wparam1 = 0;
    }
    record.error = kErrOk;
    return true;
}

bool Entry::SetInstance(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    wide_.log.Write("LM ENTRY: SetInstance");
    dLM_OBJECT* instance = d.instances.Find(record.wparam1, record.wparam2);
    if (instance != nullptr) {
        d.instances.Renumber(instance, static_cast<std::uint16_t>(record.lparam1 & 0xFFFF));
    } else {
        record.error = kErrInstance;
    }
    return true;
}

bool Entry::SaveLine(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    wide_.log.Write("LM ENTRY: SaveLine");
    SaveState state{d.all_saved, &d.line_buffer};
    bool result = lm::SaveLine(d.instances, record, state, wide_.log);
    d.all_saved = state.all_saved;
    return result;
}

bool Entry::LoadLine(PARAM_ENTRY& record) {
    Driver& d = *driver_;
    wide_.log.Write("LM ENTRY: LoadLine");
    std::string line(ReadZeroText(record.string1));
    d.line_buffer.Store(line);
    std::uint16_t error = kErrOk;
    const bool found =
        DECODE_LINE(d.instances, record.wparam1, record.wparam2, line, error, wide_.log);
    record.error = error;
    record.wparam1 = found ? 1 : 0;
    return true;
}

bool Entry::FlagChangeDat(PARAM_ENTRY& record) {
    Log& log = wide_.log;
    log.Write("LM ENTRY: FlagChangeDat");
    if (record.wparam1 == 1) {
        wide_.data_changed = false;
        record.wparam1 = 0;
        log.Write(" > nulovani");
    } else if (wide_.data_changed) {
        record.wparam1 = 1;
        log.Write(" > zmena !");
    } else {
        record.wparam1 = 0;
        log.Write(" > beze zmeny");
    }
    record.error = kErrOk;
    return true;
}

bool Entry::StartLoadPrj(PARAM_ENTRY& record) {
    wide_.log.Write("LM ENTRY: STARTLOADPRJ");
    if (record.lparam1 == 1) {
        wide_.log.Write("  IMPORT TO PRJ");
    } else {
        wide_.log.Write("  LOAD NEW PRJ");
        wide_.data_changed = false;
    }
    record.error = kErrOk;
    return true;
}

bool Entry::EndLoadPrj(PARAM_ENTRY& record) {
    wide_.log.Write("LM ENTRY: ENDLOADPRJ");
    wide_.log.Write(record.lparam1 == 1 ? "  IMPORT TO PRJ" : "  LOAD NEW PRJ");
    record.error = kErrOk;
    return true;
}

}  // namespace lm
