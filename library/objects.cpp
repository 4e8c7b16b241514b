#include "library/objects.h"

#include <array>
#include <optional>
#include <string_view>

#include "base/bounded_text.h"
#include "library/attribute_group.h"
#include "library/bitmaps.h"
#include "library/load_problems.h"
#include "library/new_text.h"
#include "library/texts.h"

namespace lm {

namespace {

constexpr std::array<AttributeName, 5> kObjectAttributes = {{
    {"SPECDIAL", kAttrSpecDial},
    {"JEDEN", kAttrJeden},
    {"SETSIZE", kAttrSetSize},
    {"NOUNIDIAL", kAttrNoUniDial},
    {"RUNSPECDIAL", kAttrRunSpecDial},
}};

struct ItemListKeyword {
    std::string_view start;
    std::string_view end;
    ItemList ObjectItems::*list;
};

constexpr std::array<ItemListKeyword, 5> kItemLists = {{
    {"D_IN", "D_IN_END", &ObjectItems::d_in},
    {"D_OUT", "D_OUT_END", &ObjectItems::d_out},
    {"D_INIT", "D_INIT_END", &ObjectItems::d_init},
    {"D_PROM", "D_PROM_END", &ObjectItems::d_prom},
    {"DATA_USER", "DATA_USER_END", &ObjectItems::data_user},
}};

const ItemListKeyword* FindItemList(std::string_view token) {
    for (const ItemListKeyword& keyword : kItemLists) {
        if (token == keyword.start) return &keyword;
    }
    return nullptr;
}

// The items of one list up to its end keyword or the end of input; other
// tokens between the items are skipped. False when an item failed (the
// list ends there). While checking, the list goes on after a failed item, a
// word that belongs to the object's structure ends it (its end keyword is
// missing), and the words between items are reported.
bool ReadItemList(TextSource& source, std::string_view end, ItemList& list, std::string& error,
                  std::size_t error_limit, LogSink& log) {
    LoadProblems* const checking = source.problems();
    const TextPosition list_at = checking != nullptr ? source.TokenPosition() : TextPosition{};
    bool all_read = true;
    bool ignoring = false;
    while (true) {
        const std::string token = READ_TOKEN(source);
        if (token.empty() || token == end) {
            if (checking != nullptr && token.empty() && !source.spent()) {
                ReportProblem(
                    source, Severity::Error, list_at, "missing-end", "",
                    Concat({end, " missing: the file ends inside this list; ", kSkipsObject}));
            }
            return all_read;
        }
        if (token == "ITEM") {
            ignoring = false;
            if (checking == nullptr) {
                if (!LOAD_DATAITEM(source, list, error, error_limit, log)) return false;
                continue;
            }
            std::string item_error;
            if (!LOAD_DATAITEM(source, list, item_error, error_limit, log)) {
                // An item that only lacks its end leaves no message; the driver reads
                // on into the next one and stops at its fault.
                if (error.empty()) error = item_error;
                all_read = false;
            }
            continue;
        }
        if (checking == nullptr) continue;
        if (IsStructureWord(token)) {
            ReportProblem(source, Severity::Error, source.TokenPosition(), "missing-end", "",
                          Concat({end, " missing before ", token, " (the list begins at line ",
                                  std::to_string(list_at.line), "); ", kSkipsObject}));
            source.Unread();
            return all_read;
        }
        if (!ignoring) {
            ReportProblem(
                source, Severity::Warning, source.TokenPosition(), "ignored-word", "",
                Concat({"\"", ShownToken(token), "\" between the items of the list is skipped",
                        IsItemKeyword(token) ? " (is ITEM missing before it?)" : ""}));
        }
        ignoring = true;
    }
}

// Checking mode, after an unknown keyword: the words after it are skipped up
// to the next keyword of the object.
void SkipToObjectKeyword(TextSource& source) {
    while (true) {
        const std::string token = READ_TOKEN(source);
        if (token.empty()) return;
        if (IsObjectKeyword(token) || token == "OBJECT") {
            source.Unread();
            return;
        }
    }
}

}  // namespace

bool LOADOBJECT_ATTR(TextSource& source, std::string& error, std::size_t error_limit,
                     std::uint32_t& attributes) {
    return ReadAttributeGroup(source, kObjectAttributes, "LOADOBJECT_ATTR", error, error_limit,
                              attributes);
}

bool LOAD_OBJECT(Files& files, const std::string& path, std::uint8_t tool, std::string& error,
                 std::size_t error_limit, ObjectList& objects, BitmapList& bitmaps,
                 const std::string& driver_dir, LogSink& log, LoadProblems* problems,
                 LoadStopPlace* stop) {
    std::optional<std::string> bytes = files.ReadWhole(path);
    if (!bytes) {
        error.clear();
        return false;
    }
    const ProblemFile file(problems, path);
    TextSource source(std::move(*bytes));
    source.set_problems(problems);
    const bool appended =
        LOAD_OBJECT(source, tool, error, error_limit, objects, bitmaps, driver_dir, log);
    const TextPosition comment = source.UnclosedComment();
    if (!appended && comment.line != 0) {
        // The comment swallowed the object's end (and maybe more): it is the
        // cause, whatever else the reading then missed. Without this the
        // object was skipped without a word.
        SetErrorText(error, error_limit, Concat({"LOAD OBJECT: ", kUnclosedCommentText}));
        if (stop != nullptr) *stop = {path, comment};
        return false;
    }
    if (stop != nullptr && !error.empty()) *stop = {path, source.TokenPosition()};
    return appended;
}

bool LOAD_OBJECT(TextSource& source, std::uint8_t tool, std::string& error, std::size_t error_limit,
                 ObjectList& objects, BitmapList& bitmaps, const std::string& driver_dir,
                 LogSink& log) {
    LoadProblems* const checking = source.problems();
    error.clear();
    std::string token;
    TextPosition first_word;  // checking: the first word, when it is not OBJECT
    do {
        token = READ_TOKEN(source);
        if (checking != nullptr && first_word.line == 0 && !token.empty() && token != "OBJECT") {
            first_word = source.TokenPosition();
        }
    } while (!token.empty() && token != "OBJECT");
    if (token != "OBJECT") {
        SetErrorText(error, error_limit, "LOAD OBJECT: Nenalezeno pocatecni slovo OBJECT");
        ReportProblem(source, Severity::Error,
                      first_word.line != 0 ? first_word : TextPosition{1, 1}, "no-object", error,
                      Concat({"the file has no word OBJECT; ", kStopsLibrary}));
        return false;
    }
    if (first_word.line != 0) {
        ReportProblem(source, Severity::Warning, first_word, "ignored-word", "",
                      "the words before OBJECT are skipped by the driver");
    }
    const int errors_before = checking != nullptr ? checking->errors() : 0;
    BlockPositions at;  // filled only while checking
    at.start = checking != nullptr ? source.TokenPosition() : TextPosition{};
    // While checking, the reading goes on after a failure; the error text then
    // holds what the driver would have stopped with: the first failure's.
    FirstFailure first;

    ObjectFields f;
    f.tool = tool;
    // The items read so far; released with everything they own when the
    // object is rejected.
    ObjectItems items;
    std::string bm_lib_name, bm_desktop_name;
    bool ok = true;
    KeywordValues values(source, ok, at, "", kSkipsObject);
    while (ok) {
        token = READ_TOKEN(source);
        if (token.empty() || token == "OBJECT_END") break;
        if (token == "LEVEL") {
            f.level = values.IntAs<std::uint16_t>("LEVEL");
        } else if (token == "IDENT") {
            f.ident = values.IntAs<std::uint16_t>("IDENT");
        } else if (token == "JMENO") {
            f.name = values.Text("JMENO", kObjectNameLimit);
        } else if (token == "NAZEV") {
            f.title = values.Text("NAZEV", kObjectNameLimit);
        } else if (token == "VSTUPU") {
            f.inputs = values.IntAs<std::uint8_t>("VSTUPU");
        } else if (token == "VYSTUPU") {
            f.outputs = values.IntAs<std::uint8_t>("VYSTUPU");
        } else if (token == "INIT_PROM") {
            f.init_vars = values.IntAs<std::uint8_t>("INIT_PROM");
        } else if (token == "PROM") {
            f.vars = values.IntAs<std::uint8_t>("PROM");
        } else if (token == "BM_LIB") {
            bm_lib_name = READ_TOKEN(source);
            values.Kept("BM_LIB");
        } else if (token == "BM_DESKTOP") {
            bm_desktop_name = READ_TOKEN(source);
            values.Kept("BM_DESKTOP");
        } else if (token == "VER_HIGH") {
            f.ver_high = values.IntAs<std::uint8_t>("VER_HIGH");
        } else if (token == "VER_LOW") {
            f.ver_low = values.IntAs<std::uint8_t>("VER_LOW");
        } else if (token == "ATRIBUTY") {
            ok = LOADOBJECT_ATTR(source, error, error_limit, f.attributes);
        } else if (const ItemListKeyword* list = FindItemList(token)) {
            ok = ReadItemList(source, list->end, items.*(list->list), error, error_limit, log);
        } else {
            ok = false;
            SetErrorText(error, error_limit,
                         Concat({"LOAD OBJECT: Nezname klicove slovo: ", token}));
            if (checking != nullptr) {
                ReportProblem(source, Severity::Error, source.TokenPosition(), "unknown-keyword",
                              error,
                              Concat({"\"", ShownToken(token), "\" is no keyword of an object; ",
                                      kStopsLibrary}));
                SkipToObjectKeyword(source);
            }
        }
        first.ReadOn(ok, error, checking != nullptr);
    }
    if (checking != nullptr) {
        ReportUnclosedComment(source, Concat({"LOAD OBJECT: ", kUnclosedCommentText}),
                              "it swallows the rest of the file with OBJECT_END; the driver "
                              "rejects this object and loads no object after it");
        if (token != "OBJECT_END" && !source.spent()) {
            ReportProblem(
                source, Severity::Error, at.start, "missing-end", "",
                Concat({"OBJECT_END missing: the file ends inside the object; ", kSkipsObject}));
        } else if (!READ_TOKEN(source).empty()) {
            ReportProblem(source, Severity::Warning, source.TokenPosition(), "after-object-end", "",
                          "the driver reads one object a file: everything after OBJECT_END is "
                          "skipped");
        }
        const bool object_failed = checking->errors() != errors_before;
        checking->ObjectRead(f, bm_lib_name, bm_desktop_name, at, object_failed);
        if (first.failed()) SetErrorText(error, error_limit, first.text());
        if (object_failed) return false;
    }
    if (!ok || token != "OBJECT_END") return false;
    if (checking != nullptr) return true;  // a check builds no records

    f.bm_lib = INS_BITMAP(bitmaps, driver_dir, bm_lib_name, log);
    f.bm_desktop = INS_BITMAP(bitmaps, driver_dir, bm_desktop_name, log);
    INS_OBJECT(objects, f, std::move(items), log);
    return true;
}

dLM_OBJECT* INS_OBJECT(ObjectList& objects, const ObjectFields& fields, ObjectItems items,
                       LogSink& log) {
    OwnedRecord<dLM_OBJECT> object = NewRecord<dLM_OBJECT>();
    object->level = fields.level;
    object->ident = fields.ident;
    object->instance = fields.instance;
    object->name = NEW_TEXT(fields.name, kObjectNameLimit).release();
    object->title = NEW_TEXT(fields.title, kObjectNameLimit).release();
    object->inputs = fields.inputs;
    object->outputs = fields.outputs;
    object->init_vars = fields.init_vars;
    object->vars = fields.vars;
    object->bm_lib = fields.bm_lib;
    object->bm_desktop = fields.bm_desktop;
    object->ver_high = fields.ver_high;
    object->ver_low = fields.ver_low;
    object->tool = fields.tool;
    object->attributes = fields.attributes;
    object->d_in = items.d_in.ReleaseChain();
    object->d_out = items.d_out.ReleaseChain();
    object->d_init = items.d_init.ReleaseChain();
    object->d_prom = items.d_prom.ReleaseChain();
    object->data_user = items.data_user.ReleaseChain();

    dLM_OBJECT* appended = objects.Append(std::move(object));
    log.WriteWith([&] { return Concat({"INS_OBJECT: ", appended->name, " ", appended->title}); });
    return appended;
}

ObjectFields FieldsOf(const dLM_OBJECT& object) {
    ObjectFields f;
    f.level = object.level;
    f.ident = object.ident;
    f.instance = object.instance;
    f.name = ReadZeroText(object.name, kObjectNameLimit);
    f.title = ReadZeroText(object.title, kObjectNameLimit);
    f.inputs = object.inputs;
    f.outputs = object.outputs;
    f.init_vars = object.init_vars;
    f.vars = object.vars;
    f.bm_lib = object.bm_lib;
    f.bm_desktop = object.bm_desktop;
    f.ver_high = object.ver_high;
    f.ver_low = object.ver_low;
    f.tool = object.tool;
    f.attributes = object.attributes;
    return f;
}

dLM_OBJECT* COPY_OBJECT(const dLM_OBJECT& source, ObjectList& target, std::uint16_t instance,
                        LogSink& log) {
    ObjectItems items;
    for (dLM_DATAITEM* item : Chain(source.d_in)) COPY_DATAITEM(*item, items.d_in, log);
    for (dLM_DATAITEM* item : Chain(source.d_out)) COPY_DATAITEM(*item, items.d_out, log);
    for (dLM_DATAITEM* item : Chain(source.d_init)) COPY_DATAITEM(*item, items.d_init, log);
    for (dLM_DATAITEM* item : Chain(source.d_prom)) COPY_DATAITEM(*item, items.d_prom, log);
    for (dLM_DATAITEM* item : Chain(source.data_user)) COPY_DATAITEM(*item, items.data_user, log);
    ObjectFields fields = FieldsOf(source);
    fields.instance = instance;
    return INS_OBJECT(target, fields, std::move(items), log);
}

bool DELETE_OBJECT(ObjectList& objects, dLM_OBJECT* record) {
    // The unlinked record is freed, with everything it owns, on leaving.
    return objects.Unlink(record) != nullptr;
}

void FREE_OBJECTS(ObjectList& objects) {
    objects.Clear();
}

std::array<dLM_DATAITEM*, 5> ItemListsOf(const dLM_OBJECT& object) {
    return {object.d_in, object.d_out, object.d_init, object.d_prom, object.data_user};
}

dLM_DATAITEM* FindObjectItem(const dLM_OBJECT& object, std::uint16_t item_ident) {
    for (dLM_DATAITEM* head : ItemListsOf(object)) {
        for (dLM_DATAITEM* item : Chain(head)) {
            if (item->ident == item_ident) return item;
        }
    }
    return nullptr;
}

}  // namespace lm
