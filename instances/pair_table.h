// A hash table from a 32-bit key to a record pointer, kept in one array
// (open addressing, linear probing): a placed block costs no allocation of
// its own, and a lookup reads one slot, or a few beside it. A null pointer
// marks a free slot, so the table holds only non-null records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lm {

// The key of a block's pair (its ident and instance) in a PairTable.
constexpr std::uint32_t PairKey(std::uint16_t ident, std::uint16_t instance) {
    return (std::uint32_t{ident} << 16) | instance;
}

template <class Record>
class PairTable {
public:
    // The record of `key`, or null.
    Record* Find(std::uint32_t key) const {
        if (slots_.empty()) return nullptr;
        for (std::size_t at = Home(key);; at = Next(at)) {
            const Slot& slot = slots_[at];
            if (slot.record == nullptr) return nullptr;
            if (slot.key == key) return slot.record;
        }
    }

    // The slot where a lookup of `key` starts, fetched from memory ahead of
    // that lookup: a walk that knows its next keys hides the table's misses.
    void Prefetch(std::uint32_t key) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[Home(key)]);
    }

    // Sets the record of `key` (a new key, or a new record for a key held).
    void Set(std::uint32_t key, Record* record) {
        if ((used_ + 1) * 2 > slots_.size()) Grow();
        std::size_t at = Home(key);
        while (slots_[at].record != nullptr && slots_[at].key != key) at = Next(at);
        if (slots_[at].record == nullptr) ++used_;
        slots_[at] = Slot{key, record};
    }

    // Forgets `key`; the keys after it in its run move up so that every key
    // stays reachable from its home slot without marks for removed keys.
    void Erase(std::uint32_t key) {
        if (slots_.empty()) return;
        std::size_t at = Home(key);
        while (slots_[at].key != key || slots_[at].record == nullptr) {
            if (slots_[at].record == nullptr) return;
            at = Next(at);
        }
        std::size_t hole = at;
        for (std::size_t next = Next(hole); slots_[next].record != nullptr; next = Next(next)) {
            const std::size_t home = Home(slots_[next].key);
            // The key at `next` may fill the hole when its home does not lie
            // in the cyclic range (hole, next].
            const bool home_after_hole =
                hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
            if (!home_after_hole) {
                slots_[hole] = slots_[next];
                hole = next;
            }
        }
        slots_[hole] = Slot{};
        --used_;
    }

    void Clear() {
        slots_.clear();
        slots_.shrink_to_fit();
        used_ = 0;
    }

    std::size_t size() const { return used_; }

private:
    struct Slot {
        std::uint32_t key = 0;
        Record* record = nullptr;
    };

    std::size_t Home(std::uint32_t key) const {
        // Fibonacci hashing: neighbouring keys (instances 1, 2, 3 of an
        // ident) spread over the table.
        return static_cast<std::size_t>((std::uint64_t{key} * 0x9E3779B97F4A7C15ull) >> 32) &
               (slots_.size() - 1);
    }
    std::size_t Next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
        used_ = 0;
        for (const Slot& slot : old) {
            if (slot.record != nullptr) Set(slot.key, slot.record);
        }
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

}  // namespace lm
