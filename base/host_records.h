// Records the host reads and writes in place. Field order and widths are the
// host's contract: packed, little-endian, native pointers. On the 32-bit target
// the sizes are pinned; nothing else may depend on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(_WIN32)
#define LM_STDCALL __stdcall
#else
#define LM_STDCALL
#endif

namespace lm {

#pragma pack(push, 1)

// A bounded text the host reads in place: a length byte followed by room for
// N characters. The characters after the length are zero when the text was
// stored through assign().
template <std::size_t N>
struct ShortString {
    static_assert(N >= 1 && N <= 255);
    std::uint8_t length;
    char chars[N];

    // The text; a length byte beyond N (a record damaged from outside) reads
    // as N characters.
    std::string_view view() const { return {chars, length < N ? length : N}; }
    // Clears the whole field, then stores the first N characters of `text`.
    void assign(std::string_view text) {
        std::memset(chars, 0, N);
        const std::size_t n = text.size() < N ? text.size() : N;
        if (n > 0) std::memcpy(chars, text.data(), n);
        length = static_cast<std::uint8_t>(n);
    }
};

#pragma pack(pop)

// The bytes of one item's data as run mode keeps them and hands them out.
inline constexpr std::size_t kItemDataBytes = 256;

}  // namespace lm

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

// --- The object library. Owned texts are zero-terminated copies that the
// record owns; bitmap handles belong to the library's bitmap list.

// The presentation and value part of a data item.
struct dLM_DATAITEM_EXT {
    std::uint8_t subtyp;                // SUBTYP code, 0 = plain number
    lm::ShortString<8> label;           // LABEL
    lm::ShortString<255> index;         // INDEX
    lm::ShortString<80> value;          // current value as text; the default when built
    std::uint8_t subindex;              // SUBINDEX
    lm::ShortString<80> default_value;  // DEFAULT
    std::uint8_t min[6];                // MIN, a 6-byte short real
    std::uint8_t max[6];                // MAX, a 6-byte short real
    std::uint8_t save_flag;             // set while a project is saved: already written
    std::uint8_t cw_out;                // CW_OUT direction code
    std::uint8_t cw_selected;           // ticked for the Control Web export
};

// One value of an object: an input, output, init value, variable or user value.
struct dLM_DATAITEM {
    dLM_DATAITEM* next;
    std::uint16_t ident;
    char* name;         // JMENO, at most 20 characters
    char* help;         // HELP1, at most 30 characters
    char* second_help;  // HELP2, at most 30 characters
    std::uint8_t typ;   // TYP code
    std::uint16_t delka;
    char* format;  // FORMAT, at most 80 characters
    std::uint16_t pos_x;
    std::uint16_t pos_y;
    std::uint32_t attributes;
    dLM_DATAITEM_EXT* ext;  // owned, always present
};

// A function block of the library, or a placed instance of one.
struct dLM_OBJECT {
    dLM_OBJECT* next;
    std::uint16_t level;
    std::uint16_t ident;
    std::uint16_t instance;  // 0 in the library
    char* name;              // JMENO, at most 20 characters
    char* title;             // NAZEV, at most 20 characters
    std::uint8_t inputs;
    std::uint8_t outputs;
    std::uint8_t init_vars;
    std::uint8_t vars;
    std::uint32_t bm_lib;      // bitmap handle, 0 = none
    std::uint32_t bm_desktop;  // bitmap handle, 0 = none
    std::uint8_t ver_high;
    std::uint8_t ver_low;
    std::uint8_t tool;  // ID of the tool that named the object's file
    std::uint32_t attributes;
    dLM_DATAITEM* d_in;
    dLM_DATAITEM* d_out;
    dLM_DATAITEM* d_init;
    dLM_DATAITEM* d_prom;
    dLM_DATAITEM* data_user;
    std::uint32_t reserved1;
    std::uint16_t reserved2;
    std::uint32_t reserved3;
};

// A palette of the host.
struct dLMN_TOOL {
    dLMN_TOOL* next;
    std::uint16_t level;
    std::uint8_t id;
    char* description;     // POPIS, at most 12 characters
    std::uint32_t bitmap;  // bitmap handle, 0 = none
};

// --- The netlist: built by the host, read in place, never changed or freed.

struct dLMN_CONNECT;
struct dLMN_CONST;

// One placed instance.
struct dLMN_NODE {
    dLMN_NODE* next;
    std::uint16_t level;
    std::uint16_t ident;
    std::uint16_t instance;
    std::uint32_t reserved;  // not read
    dLMN_CONNECT* connections;
    dLMN_CONST* constants;
};

// One wire as seen from the node that owns it.
struct dLMN_CONNECT {
    dLMN_CONNECT* next;
    std::uint16_t reserved;  // not read
    std::uint16_t item;
    std::uint16_t other_item;
    dLMN_NODE* other;
};

// One constant value given to a data item of the owning node.
struct dLMN_CONST {
    dLMN_CONST* next;
    std::uint16_t level;  // 1: 256 bytes at data; 2: length bytes at data
    std::uint16_t item;
    void* data;
    std::uint16_t length;
};

// --- Run mode: the live value of one ordered data item, as the host's
// window receives it with WM_REC_TO_LMR.

struct dLM_ITEMDATA {
    std::uint16_t kind;      // always 2
    std::uint16_t obj;       // object code of the order
    std::uint16_t instance;  // instance number of the order
    std::uint8_t item;       // low 8 bits of the order's item number
    std::uint8_t valid;      // 1 once data has been received
    std::uint16_t length;    // the data item's DELKA when the order was made, 0 if not found
    std::uint8_t* data;      // the data bytes
    std::uint8_t timeout;    // 1 in a failure answer, 0 in a data answer
    std::uint8_t failed;     // 1 in a failure answer
    std::uint8_t reserved;   // 0
};

// One answer as the host's window receives it: the record followed by a copy
// of the order's data bytes, the record's data pointing at that copy, so the
// block stands alone.
struct dLM_ANSWER_BLOCK {
    dLM_ITEMDATA record;
    std::uint8_t data[lm::kItemDataBytes];
};

#pragma pack(pop)

}  // extern "C"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PARAM_ENTRY) == 44, "PARAM_ENTRY is 44 bytes for the host");
static_assert(sizeof(dLM_OBJECT) == 67, "dLM_OBJECT is 67 bytes for the host");
static_assert(sizeof(dLM_DATAITEM) == 37, "dLM_DATAITEM is 37 bytes for the host");
static_assert(sizeof(dLM_DATAITEM_EXT) == 444, "the item extension is 444 bytes for the host");
static_assert(sizeof(dLMN_TOOL) == 15, "dLMN_TOOL is 15 bytes for the host");
static_assert(sizeof(dLMN_NODE) == 22, "dLMN_NODE is 22 bytes for the host");
static_assert(sizeof(dLMN_CONNECT) == 14, "dLMN_CONNECT is 14 bytes for the host");
static_assert(sizeof(dLMN_CONST) == 14, "dLMN_CONST is 14 bytes for the host");
static_assert(sizeof(dLM_ITEMDATA) == 17, "dLM_ITEMDATA is 17 bytes for the host");
static_assert(sizeof(dLM_ANSWER_BLOCK) == 273, "an answer block is 273 bytes for the host");
#endif
static_assert(sizeof(PARAM_ENTRY) == 20 + 6 * sizeof(void*), "PARAM_ENTRY has no padding");
static_assert(sizeof(dLM_OBJECT) == 35 + 8 * sizeof(void*), "dLM_OBJECT has no padding");
static_assert(sizeof(dLM_DATAITEM) == 13 + 6 * sizeof(void*), "dLM_DATAITEM has no padding");
static_assert(sizeof(dLM_DATAITEM_EXT) == 444, "the item extension has no padding");
static_assert(sizeof(dLMN_TOOL) == 7 + 2 * sizeof(void*), "dLMN_TOOL has no padding");
static_assert(sizeof(dLMN_NODE) == 10 + 3 * sizeof(void*), "dLMN_NODE has no padding");
static_assert(sizeof(dLMN_CONNECT) == 6 + 2 * sizeof(void*), "dLMN_CONNECT has no padding");
static_assert(sizeof(dLMN_CONST) == 6 + 2 * sizeof(void*), "dLMN_CONST has no padding");
static_assert(sizeof(dLM_ITEMDATA) == 13 + sizeof(void*), "dLM_ITEMDATA has no padding");
static_assert(sizeof(dLM_ANSWER_BLOCK) == sizeof(dLM_ITEMDATA) + 256, "the block has no padding");
