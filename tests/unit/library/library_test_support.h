// Helpers of the object library tests: object texts loaded
// from memory, and small readers of record fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bounded_text.h"
#include "base/log_sink.h"
#include "library/objects.h"
#include "library/record_lists.h"
#include "library/texts.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/recording_log.h"
#include "values/short_real.h"

namespace lm::test {

// The result of loading one object definition text.
struct LoadedObject {
    explicit LoadedObject(Platform& platform) : bitmaps(platform) {}
    ObjectList objects;
    BitmapList bitmaps;
    std::string error;
    bool appended = false;
    dLM_OBJECT* object() const { return objects.head(); }
};

// Loads `text` as an object definition file (bitmaps from `driver_dir`).
inline void LoadObjectText(LoadedObject& into, std::string_view text, std::uint8_t tool = 0,
                           const std::string& driver_dir = "", LogSink* log = nullptr) {
    NoLog no_log;
    TextSource source{std::string(text)};
    into.appended = LOAD_OBJECT(source, tool, into.error, kMaxText, into.objects, into.bitmaps,
                                driver_dir, log != nullptr ? *log : no_log);
}

// An object text around item lists: OBJECT, the body, OBJECT_END.
inline std::string ObjectWith(std::string_view body) {
    return Concat({"OBJECT JMENO \"T\" ", body, " OBJECT_END"});
}

// A zero-terminated text of a record ("<null>" for none).
inline std::string Text(const char* owned) {
    return owned == nullptr ? std::string("<null>") : std::string(owned);
}

// Names of a chain of items.
inline std::vector<std::string> NamesOf(dLM_DATAITEM* head) {
    std::vector<std::string> names;
    for (dLM_DATAITEM* item : Chain(head)) names.push_back(Text(item->name));
    return names;
}

}  // namespace lm::test
