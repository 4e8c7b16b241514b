#include "instances/project_lines.h"

#include "instances/lookups.h"
#include "library/record_lists.h"

namespace lm {
namespace {

std::string_view StripLineBreaks(std::string_view text) {
    auto is_break = [](char c) { return c == '\r' || c == '\n'; };
    while (!text.empty() && is_break(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_break(text.back())) text.remove_suffix(1);
    return text;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

// TAKE_WORD on a view of the line: no copies while a project loads.
std::string_view TakeWord(std::string_view& line) {
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    line = space == std::string_view::npos ? std::string_view()
                                           : StripLineBreaks(line.substr(space + 1));
    return StripLineBreaks(word);
}

// A save sequence reads, of every item, its record, its name, and its
// extension's subtype, value and save flag. At the sequence's first call
// they are asked for all at once, so that in a project larger than the
// processor's cache they come from memory together instead of one by one.
void PrefetchSaveRecords(const dLM_DATAITEM* item) {
    for (int k = 0; item != nullptr && k < 64; ++k, item = item->next) {
        const dLM_DATAITEM_EXT* ext = item->ext;
        if (ext == nullptr) continue;
        __builtin_prefetch(ext, 1);
        __builtin_prefetch(&ext->value, 0);
        __builtin_prefetch(&ext->save_flag, 1);
        __builtin_prefetch(item->name, 0);
    }
}

}  // namespace

std::string TAKE_WORD(std::string& line) {
    std::string_view rest = line;
    std::string word(TakeWord(rest));
    line = std::string(rest);
    return word;
}

bool DECODE_LINE(const InstanceList& instances, std::uint16_t ident, std::uint16_t instance,
                 std::string_view line, std::uint16_t& error, LogSink& log) {
    error = 0;
    if (TakeWord(line) != kSaveIdent) {
        log.Write("decodeline : SaveIdent not found (line is not for DLL)");
        return false;
    }
    log.WriteWith([&] { return "decodeline : " + std::string(kSaveIdent) + " found"; });
    const std::string_view name = TakeWord(line);
    log.WriteWith([&] { return "decodeline : searching " + Quoted(name); });
    dLM_DATAITEM* item = instances.FindItemByName(ident, instance, name);
    if (item == nullptr) {
        log.Write("decodeline : Item = nil (not found)");
        return false;
    }
    log.Write("decodeline : string found");
    if (TakeWord(line) != "=") {
        log.Write("decodeline : \"=\" NOT found !!!");
        return false;
    }
    log.Write("decodeline : \"=\" found");
    std::string_view value = line;
    if (!value.empty() && value.front() == '"') value.remove_prefix(1);
    if (!value.empty() && value.back() == '"') value.remove_suffix(1);
    if (item->ext != nullptr) {
        item->ext->value.assign(value);  // the value text holds at most 80 characters
    } else {
        log.Write("decodeline : value not inserted (user_data = nil)");
    }
    log.WriteWith([&] { return "decodeline : value=" + Quoted(value); });
    return true;
}

std::string ProjectLineOf(const dLM_DATAITEM& item) {
    std::string_view value = item.ext != nullptr ? item.ext->value.view() : std::string_view();
    std::string line = std::string(kSaveIdent) + " " + (item.name ? item.name : "") + " = ";
    line += IsStringRecord(item) ? Quoted(value) : std::string(value);
    return line;
}

bool SaveLine(const InstanceList& instances, PARAM_ENTRY& record, SaveState& state, LogSink& log) {
    const std::uint16_t ident = record.wparam1, instance = record.wparam2;
    log.WriteWith(
        [&] { return "K2: obj=" + std::to_string(ident) + ", inst=" + std::to_string(instance); });
    dLM_OBJECT* object = instances.Find(ident, instance);
    if (object == nullptr) {
        record.wparam1 = 0;
        log.Write("K2: obj = nil !!!");
        return true;
    }
    if (object->data_user == nullptr) {
        record.wparam1 = 0;
        log.Write("K2: obj/user_data = nil !!!");
        return true;
    }
    // The first item not yet handed out in this sequence; handing out the
    // last one ends the sequence, so one is always left here.
    dLM_DATAITEM* item = object->data_user;
    if (item->ext != nullptr && item->ext->save_flag == 0) PrefetchSaveRecords(item);
    while (item->next != nullptr && item->ext != nullptr && item->ext->save_flag != 0) {
        item = item->next;
    }
    const bool last = item->next == nullptr;

    bool result = false;
    if (record.string1 == nullptr && !state.all_saved) {
        // SAVE_ITEM. The item is the one the walk found, not one looked up
        // again by its ident: items that share an ident each get their line.
        if (item->ext != nullptr && item->ext->save_flag != 0) {
            log.Write("save item: already saved");
            record.string1 = nullptr;
        } else {
            log.Write("save item: saving");
            if (item->ext != nullptr) item->ext->save_flag = 1;
            // The line goes out zero-terminated: at most 254 characters.
            const std::string line = ProjectLineOf(*item).substr(0, kMaxText - 1);
            record.string1 = const_cast<char*>(state.line_buffer->Store(line));
            record.wparam1 = 1;
            result = true;
            log.WriteWith([&] { return "save item: line=" + Quoted(line); });
        }
        if (last) {
            record.wparam1 = 0;
            result = true;
            state.all_saved = true;
            log.Write("save item: set allSaved=true");
        }
        log.Write(last ? "K2: item saved (last)" : "K2: item saved");
    }
    if (state.all_saved) {
        log.Write("K2: all items saved");
        state.all_saved = false;
        for (dLM_DATAITEM* each : Chain<dLM_DATAITEM>(object->data_user)) {
            if (each->ext != nullptr) each->ext->save_flag = 0;
        }
        log.Write("K2: all items/\"save flag\" reseted");
    }
    return result;
}

}  // namespace lm
