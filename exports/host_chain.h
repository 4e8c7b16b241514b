// The lists of the host's netlist are read in place, and a broken host could
// hand over a list that loops back on itself or runs on without end. Every
// list is measured before it is walked, so that the walk visits each record
// once and stops at a bound no honest netlist reaches:
//
// - at most kMaxNetlistNodes nodes (2^20): a million placed blocks is far
//   beyond any project the host can draw and hold;
// - at most kMaxNodeEntries wires or constants on one node (2^16): a node has
//   at most one constant and one incoming wire per data item, and item idents
//   are 16-bit;
// - at most kMaxNetlistRecords records in all (2^22), so that a netlist of
//   honest-looking lists cannot make one export run for hours or build a text
//   larger than a 32-bit process can hold.
//
// Measuring reads only the `next` fields (Brent's cycle detection, constant
// memory) and never writes.
#pragma once

#include <cstddef>

namespace lm {

inline constexpr std::size_t kMaxNetlistNodes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxNodeEntries = std::size_t{1} << 16;
inline constexpr std::size_t kMaxNetlistRecords = std::size_t{1} << 22;

// The bounds of one walk (tests choose smaller ones).
struct NetlistLimits {
    std::size_t nodes = kMaxNetlistNodes;
    std::size_t entries = kMaxNodeEntries;  // wires or constants of one node
    std::size_t records = kMaxNetlistRecords;
};

enum class ChainEnd {
    Null,       // the list ends with a null `next`
    LoopsBack,  // a `next` points back to a record of the list
    TooLong,    // more records than the bound
};

struct ChainLength {
    std::size_t count = 0;  // the first `count` records are distinct: walk exactly these
    ChainEnd end = ChainEnd::Null;
};

// Measures the list from `head`: the number of distinct records up to its end,
// the point where it loops back, or `limit`, whichever comes first.
template <class Record>
ChainLength MeasureChain(const Record* head, std::size_t limit) {
    if (head == nullptr) return {};
    // A list of at most `limit` distinct records ends or shows its loop within
    // 3 * limit steps of the hare; a list still running then is longer.
    const std::size_t max_steps = 3 * limit + 3;
    const Record* tortoise = head;
    const Record* hare = head->next;
    std::size_t steps = 1;  // records the hare has reached, the head included
    std::size_t power = 1;
    std::size_t loop = 1;
    while (hare != tortoise) {
        if (hare == nullptr) {
            return steps > limit ? ChainLength{limit, ChainEnd::TooLong}
                                 : ChainLength{steps, ChainEnd::Null};
        }
        if (steps >= max_steps) return {limit, ChainEnd::TooLong};
        if (power == loop) {
            tortoise = hare;
            power *= 2;
            loop = 0;
        }
        hare = hare->next;
        ++loop;
        ++steps;
    }
    // A loop of `loop` records; the tail before it is as long as it takes two
    // readers `loop` records apart to meet.
    const Record* first = head;
    const Record* ahead = head;
    for (std::size_t i = 0; i < loop; ++i) ahead = ahead->next;
    std::size_t tail = 0;
    while (first != ahead) {
        first = first->next;
        ahead = ahead->next;
        ++tail;
    }
    const std::size_t distinct = tail + loop;
    return distinct > limit ? ChainLength{limit, ChainEnd::TooLong}
                            : ChainLength{distinct, ChainEnd::LoopsBack};
}

}  // namespace lm
