#include "library/tools.h"

#include <optional>

#include "base/cp1250.h"
#include "library/bitmaps.h"
#include "library/definition_reader.h"
#include "library/load_problems.h"
#include "library/new_text.h"
#include "library/objects.h"
#include "library/texts.h"

namespace lm {

using namespace lm::literals;

namespace {

// What a TOOLS.INI load shares between its steps.
struct ToolsLoad {
    Files& files;
    const std::string& path;
    const std::string& driver_dir;
    ObjectLibrary& library;
    std::string& error;
    std::size_t error_limit;
    LogSink& log;
    LoadProblems* problems;  // checking mode when not null
    LoadStopPlace* stop;
    FirstFailure first;  // checking: the message the driver stops with

    void DefinitionError(TextSource& source, std::string_view keyword, std::string_view kind) {
        SetErrorText(error, error_limit, Concat({path, ": ", keyword, " - chyba definice"}));
        if (stop != nullptr) *stop = {path, source.TokenPosition()};
        ReportBadValue(source, keyword, kind, error, "the driver stops loading the library here");
    }
};

// Checking mode: a FIRMWARE value that does not read.
void ReportFirmware(TextSource& source) {
    ReportProblem(source, Severity::Warning, source.TokenPosition(), "bad-value", "",
                  Concat({"FIRMWARE: \"", ShownToken(source.TokenText()),
                          "\" is not a whole number; the driver counts it as 0"}));
}

// The words of TOOLS.INI that end an OBJECTS list or a TOOL block whose end
// keyword is missing.
bool IsToolsKeyword(std::string_view word) {
    for (std::string_view keyword :
         {"FIRMWARE", "TOOL", "END_TOOL", "LEVEL", "ID", "POPIS", "BITMAP", "OBJECTS"}) {
        if (word == keyword) return true;
    }
    return false;
}

// Checking mode: a word that ends a block whose own end keyword is missing.
void ReportMissingEnd(TextSource& source, std::string_view end, std::string_view before,
                      TextPosition block_at, Severity severity) {
    ReportProblem(
        source, severity, before.empty() ? block_at : source.TokenPosition(), "missing-end", "",
        before.empty() ? Concat({end, " missing: the file ends inside this block"})
                       : Concat({end, " missing before ", before, " (the block begins at line ",
                                 std::to_string(block_at.line), "); the driver reads on"}));
}

// Checking mode: words that the driver skips where they stand; the first of
// a run is reported.
void ReportSkipped(TextSource& source, bool& skipping, std::string_view where) {
    if (!skipping) {
        ReportProblem(source, Severity::Warning, source.TokenPosition(), "ignored-word", "",
                      Concat({"\"", ShownToken(source.TokenText()), "\" ", where,
                              " is skipped by the driver"}));
    }
    skipping = true;
}

// The object files of an OBJECTS list, up to END_OBJECTS or the end of input.
// Files that do not exist are skipped; an object rejected with a message
// stops the list (false), one rejected without a message is skipped.
bool ReadObjects(TextSource& source, std::uint16_t id, ToolsLoad& load) {
    const TextPosition list_at = load.problems != nullptr ? source.TokenPosition() : TextPosition{};
    while (true) {
        const std::string token = READ_TOKEN(source);
        if (token.empty() || token == "END_OBJECTS") {
            if (load.problems != nullptr && token.empty() && !source.spent()) {
                ReportMissingEnd(source, "END_OBJECTS", "", list_at, Severity::Warning);
            }
            return true;
        }
        if (load.problems != nullptr && IsToolsKeyword(token)) {
            ReportMissingEnd(source, "END_OBJECTS", token, list_at, Severity::Error);
            source.Unread();
            return true;
        }
        const std::string file = Concat({load.driver_dir, token});
        const TextPosition named_at =
            load.problems != nullptr ? source.TokenPosition() : TextPosition{};
        if (load.problems != nullptr) load.problems->ObjectFileNamed(token, file, named_at);
        if (!load.files.CanBeOpened(file)) continue;
        LOAD_OBJECT(load.files, file, static_cast<std::uint8_t>(id), load.error, load.error_limit,
                    load.library.objects, load.library.bitmaps, load.driver_dir, load.log,
                    load.problems, load.stop);
        if (load.error.empty()) continue;
        if (load.problems == nullptr) return false;
        ReportProblem(source, Severity::Warning, named_at, "load-stops", "",
                      Concat({"the driver stops loading the library at ", ShownToken(token),
                              ": no object after it is loaded"}));
        load.first.Keep(load.error);
    }
}

// One TOOL block after its TOOL token. False when it stopped the load.
bool ReadTool(TextSource& source, ToolsLoad& load) {
    LoadProblems* const checking = load.problems;
    BlockPositions at;
    at.start = checking != nullptr ? source.TokenPosition() : TextPosition{};
    std::uint16_t level = 0;
    std::uint16_t id = 0;
    std::string description;
    std::string bitmap_name;
    bool ok = true;
    bool skipping = false;
    while (ok) {
        const std::string token = READ_TOKEN(source);
        if (token.empty() || token == "END_TOOL") {
            if (checking != nullptr && token.empty() && !source.spent()) {
                ReportMissingEnd(source, "END_TOOL", "", at.start, Severity::Warning);
            }
            break;
        }
        if (checking != nullptr && (token == "TOOL" || token == "FIRMWARE")) {
            ReportMissingEnd(source, "END_TOOL", token, at.start, Severity::Error);
            source.Unread();
            break;
        }
        if (token == "LEVEL") {
            level = Narrow<std::uint16_t>(source, "LEVEL", READ_INT(source, ok));
            if (!ok) load.DefinitionError(source, "LEVEL", "a whole number");
        } else if (token == "ID") {
            const std::int32_t value = READ_INT(source, ok);
            id = static_cast<std::uint16_t>(value);
            if (checking != nullptr) at.Set("ID", source.TokenPosition());
            if (!ok) load.DefinitionError(source, "ID", "a whole number");
            // The objects keep the tool id in 8 bits.
            if (ok && static_cast<std::uint8_t>(value) != value && checking != nullptr) {
                ReportNarrowed(source, "ID", value, 8);
            }
        } else if (token == "POPIS") {
            description = READ_STRING(source, ok);
            if (!ok) {
                load.DefinitionError(source, "POPIS", "a quoted text");
            } else {
                ReportSwallowingString(source, "POPIS", description);
                ReportCut(source, "POPIS", description, kToolDescriptionLimit);
            }
        } else if (token == "BITMAP") {
            bitmap_name = READ_TOKEN(source);
            at.Set("BITMAP", source.TokenPosition());
        } else if (token == "OBJECTS") {
            ok = ReadObjects(source, id, load);
        } else if (checking != nullptr) {
            ReportSkipped(source, skipping, "in a TOOL block");
            continue;
        }
        skipping = false;
        // Other tokens are skipped.
        load.first.ReadOn(ok, load.error, checking != nullptr);
    }
    if (checking != nullptr) checking->ToolRead(id, bitmap_name, at);
    // A block that sets none of these (only an OBJECTS list, say) adds no tool.
    if (ok && (!description.empty() || level != 0 || id != 0 || !bitmap_name.empty())) {
        INS_TOOL(load.library.tools, level, id, description, bitmap_name, load.library.bitmaps,
                 load.driver_dir, load.log);
    }
    return ok;
}

}  // namespace

std::uint32_t ScaleFirmware(std::uint32_t value) {
    while (value > 0 && value < 1000) value *= 10;
    return value;
}

bool LOAD_TOOLS(Files& files, const std::string& path, const std::string& driver_dir,
                ObjectLibrary& library, std::string& error, std::size_t error_limit, LogSink& log,
                LoadProblems* problems, LoadStopPlace* stop) {
    error.clear();
    const ProblemFile file(problems, path);
    std::optional<std::string> bytes = files.ReadWhole(path);
    if (!bytes) {
        SetErrorText(error, error_limit,
                     Concat({"Soubor ", path, " neexistuje, nebo je prázdný."_cp}));
        if (problems != nullptr) {
            problems->Add({Severity::Error,
                           {1, 1},
                           "no-file",
                           error,
                           "TOOLS.INI cannot be read; the driver loads no library"});
        }
        if (stop != nullptr) *stop = {path, {}};
        return false;
    }
    TextSource source(std::move(*bytes));
    source.set_problems(problems);
    ToolsLoad load{files, path, driver_dir, library, error, error_limit, log, problems, stop, {}};
    bool ok = true;
    bool skipping = false;
    while (ok) {
        const std::string token = READ_TOKEN(source);
        if (token.empty()) break;
        if (token == "FIRMWARE") {
            // A value that cannot be read counts as 0.
            bool read = false;
            const std::uint32_t low = READ_CARDINAL(source, read);
            if (!read) ReportFirmware(source);
            library.firmware_low = ScaleFirmware(read ? low : 0);
            const std::uint32_t high = READ_CARDINAL(source, read);
            if (!read) ReportFirmware(source);
            library.firmware_high = ScaleFirmware(read ? high : 0);
        } else if (token == "TOOL") {
            ok = ReadTool(source, load);
        } else if (problems != nullptr) {
            ReportSkipped(source, skipping, "outside a TOOL block");
            continue;
        }
        skipping = false;
        // Other tokens are skipped.
    }
    // A comment left open swallowed the rest of TOOLS.INI: the tools and
    // object files after it are never read. (An object file's own comment
    // stops the load in that file, with its own message.)
    if (error.empty() || problems != nullptr) {
        const std::string message = Concat({path, ": ", kUnclosedCommentText});
        ReportUnclosedComment(source, message,
                              "it swallows the rest of TOOLS.INI; the driver loads no tool and "
                              "no object file named after it");
        if (error.empty() && !load.first.failed() && source.UnclosedComment().line != 0) {
            SetErrorText(error, error_limit, message);
            if (stop != nullptr) *stop = {path, source.UnclosedComment()};
        }
    }
    if (problems != nullptr && load.first.failed())
        SetErrorText(error, error_limit, load.first.text());
    return error.empty();
}

dLMN_TOOL* INS_TOOL(ToolList& tools, std::uint16_t level, std::uint16_t id,
                    std::string_view description, std::string_view bitmap_name, BitmapList& bitmaps,
                    const std::string& driver_dir, LogSink& log) {
    const std::uint32_t bitmap = INS_BITMAP(bitmaps, driver_dir, bitmap_name, log);
    OwnedRecord<dLMN_TOOL> tool = NewRecord<dLMN_TOOL>();
    tool->level = level;
    tool->id = static_cast<std::uint8_t>(id);
    tool->description = NEW_TEXT(description, kToolDescriptionLimit).release();
    tool->bitmap = bitmap;
    dLMN_TOOL* appended = tools.Append(std::move(tool));
    log.WriteWith([&] { return Concat({"INS_TOOL: ", appended->description}); });
    return appended;
}

void FREE_TOOLS(ToolList& tools) {
    tools.Clear();
}

}  // namespace lm
