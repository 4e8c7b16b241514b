#include "library/bitmaps.h"

#include "library/texts.h"

namespace lm {

std::uint32_t INS_BITMAP(BitmapList& bitmaps, const std::string& driver_dir, std::string_view name,
                         LogSink& log) {
    // An empty name would name the folder itself.
    if (name.empty()) return 0;
    // A file that is there but is no picture the platform can load gives no
    // entry and handle 0, as a missing file does.
    const BitmapHandle bitmap = bitmaps.Load(Concat({driver_dir, name}), name);
    if (bitmap == 0) {
        // The host draws without it; the log says why the picture is missing.
        log.WriteWith([&] { return Concat({"INS_BITMAP: ", name, " not loaded - handle 0"}); });
        return 0;
    }
    log.WriteWith([&] { return Concat({"INS_BITMAP: ", name}); });
    return RecordHandle(bitmap);
}

void FREE_BITMAPS(BitmapList& bitmaps) {
    bitmaps.Clear();
}

}  // namespace lm
