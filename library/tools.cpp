#include "library/tools.h"

#include <optional>

#include "base/cp1250.h"
#include "library/bitmaps.h"
#include "library/definition_reader.h"
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

    void DefinitionError(std::string_view keyword) {
        SetErrorText(error, error_limit, Concat({path, ": ", keyword, " - chyba definice"}));
    }
};

// The object files of an OBJECTS list, up to END_OBJECTS or the end of input.
// Files that do not exist are skipped; an object rejected with a message
// stops the list (false), one rejected without a message is skipped.
bool ReadObjects(TextSource& source, std::uint16_t id, ToolsLoad& load) {
    while (true) {
        const std::string token = READ_TOKEN(source);
        if (token.empty() || token == "END_OBJECTS") return true;
        const std::string file = Concat({load.driver_dir, token});
        if (!load.files.CanBeOpened(file)) continue;
        LOAD_OBJECT(load.files, file, static_cast<std::uint8_t>(id), load.error, load.error_limit,
                    load.library.objects, load.library.bitmaps, load.driver_dir, load.log);
        if (!load.error.empty()) return false;
    }
}

// One TOOL block after its TOOL token. False when it stopped the load.
bool ReadTool(TextSource& source, ToolsLoad& load) {
    std::uint16_t level = 0;
    std::uint16_t id = 0;
    std::string description;
    std::string bitmap_name;
    bool ok = true;
    while (ok) {
        const std::string token = READ_TOKEN(source);
        if (token.empty() || token == "END_TOOL") break;
        if (token == "LEVEL") {
            level = static_cast<std::uint16_t>(READ_INT(source, ok));
            if (!ok) load.DefinitionError("LEVEL");
        } else if (token == "ID") {
            id = static_cast<std::uint16_t>(READ_INT(source, ok));
            if (!ok) load.DefinitionError("ID");
        } else if (token == "POPIS") {
            description = READ_STRING(source, ok);
            if (!ok) load.DefinitionError("POPIS");
        } else if (token == "BITMAP") {
            bitmap_name = READ_TOKEN(source);
        } else if (token == "OBJECTS") {
            ok = ReadObjects(source, id, load);
        }
        // Other tokens are skipped.
    }
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
                ObjectLibrary& library, std::string& error, std::size_t error_limit, LogSink& log) {
    error.clear();
    std::optional<std::string> bytes = files.ReadWhole(path);
    if (!bytes) {
        SetErrorText(error, error_limit,
                     Concat({"Soubor ", path, " neexistuje, nebo je prázdný."_cp}));
        return false;
    }
    TextSource source(std::move(*bytes));
    ToolsLoad load{files, path, driver_dir, library, error, error_limit, log};
    bool ok = true;
    while (ok) {
        const std::string token = READ_TOKEN(source);
        if (token.empty()) break;
        if (token == "FIRMWARE") {
            // A value that cannot be read counts as 0.
            bool read = false;
            const std::uint32_t low = READ_CARDINAL(source, read);
            library.firmware_low = ScaleFirmware(read ? low : 0);
            const std::uint32_t high = READ_CARDINAL(source, read);
            library.firmware_high = ScaleFirmware(read ? high : 0);
        } else if (token == "TOOL") {
            ok = ReadTool(source, load);
        }
        // Other tokens are skipped.
    }
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
