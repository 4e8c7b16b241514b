// The driver's object library: what init objects builds from TOOLS.INI and
// what lives until the driver is unloaded.
#pragma once

#include <cstdint>

#include "library/record_lists.h"
#include "platform/platform.h"

namespace lm {

class ObjectLibrary {
public:
    // Bitmaps are loaded and released through `platform`.
    explicit ObjectLibrary(Platform& platform) : bitmaps(platform) {}
    ~ObjectLibrary() { Free(); }
    ObjectLibrary(const ObjectLibrary&) = delete;
    ObjectLibrary& operator=(const ObjectLibrary&) = delete;

    // True while neither a tool nor an object is loaded.
    bool empty() const { return tools.empty() && objects.empty(); }

    // Releases everything in the unload order: bitmaps, tools, objects. The
    // firmware pair goes back to 0 (not set).
    void Free();

    ToolList tools;      // dLMN_TOOL records; the host gets tools.head()
    ObjectList objects;  // dLM_OBJECT records; the host gets objects.head()
    BitmapList bitmaps;  // owns the bitmaps whose handles the records carry
    // FIRMWARE of TOOLS.INI, scaled to at least 1000; 0 = not set.
    std::uint32_t firmware_low = 0;
    std::uint32_t firmware_high = 0;
};

}  // namespace lm
