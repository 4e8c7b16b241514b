// The one function the driver library exports.
#include "frame/entry.h"

#if defined(_WIN32)
#define LM_EXPORT
#else
#define LM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LM_EXPORT int LM_STDCALL LumarDriver_Entry(PARAM_ENTRY* record) {
    return lm::TheEntry().Call(record);
}
