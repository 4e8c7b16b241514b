// Records the host reads and writes in place. Field order and widths are the
// host's contract: packed, little-endian, native pointers. On the 32-bit target
// the sizes are pinned; nothing else may depend on them.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define LM_STDCALL __stdcall
#else
#define LM_STDCALL
#endif

extern "C" {

#pragma pack(push, 1)

// The parameter record of every host call.
struct PARAM_ENTRY {
    std::uint16_t level;     // set by the host, only traced
    std::uint16_t lmd_func;  // function code, host -> driver
    std::uint16_t dlm_func;  // function the host is asked to call next, 0 = none
    std::uint16_t error;     // error code, written only by some functions
    std::uint16_t wparam1;
    std::uint16_t wparam2;
    std::uint32_t lparam1;
    std::uint32_t lparam2;
    void* data1;
    void* data2;
    char* string1;
    char* string2;
    void* pointer1;
    void* pointer2;
};

#pragma pack(pop)

}  // extern "C"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PARAM_ENTRY) == 44, "PARAM_ENTRY is 44 bytes for the host");
#endif
static_assert(sizeof(PARAM_ENTRY) == 20 + 6 * sizeof(void*), "PARAM_ENTRY has no padding");
