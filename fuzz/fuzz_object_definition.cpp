// Reads arbitrary bytes as an object definition file, then copies, dumps and
// deletes what was loaded. The sample driver directory's definition files are
// good seeds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/item_codes.h"
#include "base/log_sink.h"
#include "fuzz/fuzz_check.h"
#include "library/dump_library.h"
#include "library/objects.h"
#include "platform/headless/headless_platform.h"

namespace {

using fuzz::Check;
using fuzz::CheckingLog;

bool Within(const char* text, std::size_t limit) {
    return text != nullptr && std::strlen(text) <= limit;
}

void CheckItems(const dLM_DATAITEM* head) {
    for (; head != nullptr; head = head->next) {
        Check(Within(head->name, 20));
        Check(Within(head->help, 30) && Within(head->second_help, 30) && Within(head->format, 80));
        Check(head->typ != lm::kTypNone && head->ext != nullptr);
        const dLM_DATAITEM_EXT& ext = *head->ext;
        Check(ext.label.length <= 8 && ext.value.length <= 80 && ext.default_value.length <= 80);
        Check(ext.value.view() == ext.default_value.view());
        Check(ext.cw_out <= lm::kCwOutBidir && ext.subtyp <= lm::kSubtypFloat &&
              ext.save_flag == 0 && ext.cw_selected == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lm::HeadlessPlatform platform;
    platform.SetQuiet(true);
    {
        CheckingLog log;
        lm::ObjectList objects;
        lm::BitmapList bitmaps(platform);
        std::string error;
        lm::TextSource source{std::string(reinterpret_cast<const char*>(data), size)};
        // Bitmap names point into a folder that does not exist.
        const bool appended =
            lm::LOAD_OBJECT(source, 7, error, 255, objects, bitmaps, "/nonexistent-lm-fuzz/", log);
        Check(error.size() <= 255);
        Check(appended == (objects.size() == 1));
        Check(!appended || error.empty());
        if (appended) {
            const dLM_OBJECT& object = *objects.head();
            Check(Within(object.name, 20) && Within(object.title, 20));
            Check(object.tool == 7 && object.instance == 0 && object.next == nullptr);
            for (const dLM_DATAITEM* list : lm::ItemListsOf(object)) CheckItems(list);

            lm::ObjectList instances;
            dLM_OBJECT* copy = lm::COPY_OBJECT(object, instances, 3, log);
            Check(copy != nullptr && copy->instance == 3);
            for (const dLM_DATAITEM* list : lm::ItemListsOf(*copy)) CheckItems(list);
            lm::ToolList tools;
            lm::DumpLibrary(instances, tools, log);
            Check(lm::DELETE_OBJECT(instances, copy) && instances.empty());
        }
    }
    Check(platform.live_bitmaps() == 0);
    return 0;
}
