#include "library/object_library.h"

#include "library/bitmaps.h"
#include "library/objects.h"
#include "library/tools.h"

namespace lm {

void ObjectLibrary::Free() {
    FREE_BITMAPS(bitmaps);
    FREE_TOOLS(tools);
    FREE_OBJECTS(objects);
    firmware_low = 0;
    firmware_high = 0;
}

}  // namespace lm
