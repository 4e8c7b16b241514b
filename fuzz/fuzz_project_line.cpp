// Hands arbitrary bytes to the driver as the project lines of one block
// (LoadLine through the entry), one line per input line; the first byte
// picks the block's object and whether each line is taken as it is or as
// the value of the block's next user item. Then the host saves the block
// (SaveLine until the last line): one line per user item, each within the
// host's limit, and the lines loaded into a fresh block save as the same
// lines (a value that is not a string loses a pair of quotes or line
// breaks around it at each loading, so those are left out).
#include <sanitizer/lsan_interface.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/bounded_text.h"
#include "frame/entry.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/support/memory_platform.h"
#include "instances/lookups.h"

namespace {

using fuzz::Check;

lm::Entry& TheDriver() {
    static lm::Entry* entry = [] {
        // The library's records point at each other from packed fields, which
        // the leak checker does not follow: it would call the library lost.
        __lsan::ScopedDisabler lasting;
        auto platform = std::make_unique<fuzz::MemoryPlatform>();
        platform->PutSampleDriverDir();
        platform->Put("STARTUP.INI", "LOGFILE OFF\r\n");
        auto* made = new lm::Entry(std::move(platform));
        for (std::uint16_t code : {lm::kIdentify, lm::kLoadDriver, lm::kInitObjects}) {
            PARAM_ENTRY record{};
            record.lmd_func = code;
            record.wparam1 = 3;
            record.lparam1 = 34;
            Check(made->Call(&record) == 1);
        }
        return made;
    }();
    return *entry;
}

PARAM_ENTRY Record(std::uint16_t code, std::uint16_t ident, std::uint16_t instance) {
    PARAM_ENTRY record{};
    record.lmd_func = code;
    record.wparam1 = ident;
    record.wparam2 = instance;
    return record;
}

struct SavedLine {
    std::string text;
    bool exact;  // a string item's line, or a value without quotes or breaks around it
};

std::vector<SavedLine> Save(lm::Entry& entry, std::uint16_t ident, std::uint16_t instance) {
    std::vector<SavedLine> lines;
    const dLM_OBJECT* object = entry.driver()->instances().Find(ident, instance);
    Check(object != nullptr);
    std::vector<const dLM_DATAITEM*> items;
    for (const dLM_DATAITEM* item = object->data_user; item != nullptr; item = item->next) {
        items.push_back(item);
    }
    for (std::size_t call = 0;; ++call) {
        Check(call <= items.size());
        PARAM_ENTRY record = Record(lm::kSaveLine, ident, instance);
        const int result = entry.Call(&record);
        if (result == 1 && record.string1 != nullptr && call < items.size()) {
            const std::string text = record.string1;
            Check(text.size() < lm::kMaxText && text.starts_with("K2_USER "));
            const std::string_view value =
                items[call]->ext != nullptr ? items[call]->ext->value.view() : "";
            const auto breaks = [](char c) { return c == '"' || c == '\r' || c == '\n'; };
            lines.push_back({text, lm::IsStringRecord(*items[call]) || value.empty() ||
                                       (!breaks(value.front()) && !breaks(value.back()))});
        }
        if (record.wparam1 == 0) break;
    }
    // Every user item has its line.
    Check(lines.size() == items.size());
    return lines;
}

void Load(lm::Entry& entry, std::uint16_t ident, std::uint16_t instance, const std::string& line) {
    PARAM_ENTRY record = Record(lm::kLoadLine, ident, instance);
    record.string1 = const_cast<char*>(line.c_str());
    Check(entry.Call(&record) == 1);
    Check(record.wparam1 <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    lm::Entry& entry = TheDriver();
    std::vector<const dLM_OBJECT*> objects;
    for (const dLM_OBJECT* o = entry.driver()->library().objects.head(); o != nullptr;
         o = o->next) {
        if (o->data_user != nullptr) objects.push_back(o);
    }
    const dLM_OBJECT& object = *objects[data[0] % objects.size()];
    const std::uint16_t ident = object.ident;
    const bool as_values = data[0] >= 128;

    PARAM_ENTRY start = Record(lm::kStartLoadPrj, 0, 0);
    entry.Call(&start);
    for (std::uint16_t instance : {1, 2}) {
        PARAM_ENTRY create = Record(lm::kCreateObject, ident, instance);
        Check(entry.Call(&create) == 1 && create.wparam1 == 1);
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const dLM_DATAITEM* next_item = object.data_user;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(at, end - at));
        at = end + 1;
        if (as_values) {
            std::string named = "K2_USER ";
            named += next_item->name;
            named += " = ";
            named += line;
            line = named;
            next_item = next_item->next != nullptr ? next_item->next : object.data_user;
        }
        Load(entry, ident, 1, line);
    }
    PARAM_ENTRY end_load = Record(lm::kEndLoadPrj, 0, 0);
    entry.Call(&end_load);

    const std::vector<SavedLine> saved = Save(entry, ident, 1);
    for (const SavedLine& line : saved) Load(entry, ident, 2, line.text);
    const std::vector<SavedLine> again = Save(entry, ident, 2);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i].exact) Check(again[i].text == saved[i].text);
    }

    for (std::uint16_t instance : {1, 2}) {
        PARAM_ENTRY remove = Record(lm::kDeleteObject, ident, instance);
        remove.lparam1 = 2;
        Check(entry.Call(&remove) == 1 && remove.wparam1 == 1);
    }
    return 0;
}
