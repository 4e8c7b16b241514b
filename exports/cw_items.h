// The data items the Control Web export works on: every item of every
// instance that has a CW_OUT direction, in the order the export numbers its
// channels (instances in list order; within one the lists d_in, d_out,
// d_init, d_prom, data_user; within a list the items in order).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_records.h"

namespace lm {

struct CwItem {
    std::string object_name;
    std::uint16_t ident = 0;     // the object's ident
    std::uint16_t instance = 0;  // the instance number
    std::string item_name;
    std::uint16_t item_ident = 0;
    std::uint8_t typ = 0;
    std::uint8_t subtyp = 0;
    std::uint8_t cw_out = 0;
    std::string value;        // the item's value text
    bool value_flag = false;  // the item stands in d_init or data_user
    bool selected = false;    // cw_selected
};

// Object name + "_" + instance number + "_" + item name.
std::string ChannelName(const CwItem& item);

// The items with an extension record and a CW_OUT direction, in channel
// order; `selected_only` keeps those whose cw_selected is set.
std::vector<CwItem> CwItems(const dLM_OBJECT* instances, bool selected_only);

// Sets cw_selected of the items CwItems(instances, false) lists from `ticks`,
// entry by entry; items past the end of `ticks` are left as they are.
// True when any item is selected afterwards.
bool ApplyCwTicks(dLM_OBJECT* instances, const std::vector<bool>& ticks);

}  // namespace lm

namespace lm {

// The highest channel the driver's 16-bit channel numbers reach.
inline constexpr long kMaxCwChannel = 65535;

// Empty when `count` channels from `first` on stay within 1..65535; else the
// message that tells the user why nothing is written.
std::string CwChannelRangeError(long first, std::size_t count);

// The byte offset where the first (or the last) line of `text` that reads
// `line` starts, trailing blanks and the line end aside; npos when none does.
std::size_t FindLine(std::string_view text, std::string_view line, bool last = false);

}  // namespace lm
