// The index beside the instance list: finds an instance by (ident, instance)
// and the first instance of an ident without walking the list, and keeps the
// list's rule that among records with the same pair the first created wins,
// also after deletions and renumbering.
//
// A placed block costs one slot of a flat table and nothing else: the records
// that share a pair with another (which a sound project does not have) are
// kept apart by their age, and the first record of each ident is kept with
// the number of records of that ident. When the first of an ident goes, the
// next one is found by walking the list on from it; the first of an ident
// only ever moves towards the list's end, so the walks of a whole session
// pass each record at most once per ident.
//
// `Record` has `next` (the list, oldest first) and `ident`; `OrderOf(record)`
// gives its place in creation order, which the list keeps with the record.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>

#include "instances/pair_table.h"

namespace lm {

template <class Record, std::uint64_t (*OrderOf)(const Record*)>
class InstanceIndex {
public:
    // A record appended at the end of the list.
    void Add(Record* record, std::uint16_t ident, std::uint16_t instance) {
        AddPair(record, PairKey(ident, instance));
        Ident& of_ident = idents_[ident];
        if (of_ident.count++ == 0) of_ident.first = record;
        ++size_;
    }

    // False when the record is not in the index. Called while the record is
    // still linked in the list.
    bool Remove(Record* record, std::uint16_t ident, std::uint16_t instance) {
        if (!RemovePair(record, PairKey(ident, instance))) return false;
        auto it = idents_.find(ident);
        if (it != idents_.end()) {
            Ident& of_ident = it->second;
            if (--of_ident.count == 0) {
                idents_.erase(it);
            } else if (of_ident.first == record) {
                Record* next = record->next;
                while (next != nullptr && next->ident != ident) next = next->next;
                of_ident.first = next;
            }
        }
        --size_;
        return true;
    }

    void Renumber(Record* record, std::uint16_t ident, std::uint16_t old_instance,
                  std::uint16_t new_instance) {
        if (!RemovePair(record, PairKey(ident, old_instance))) return;
        AddPair(record, PairKey(ident, new_instance));
    }

    // The first created record with this pair, or null.
    Record* Find(std::uint16_t ident, std::uint16_t instance) const {
        return first_.Find(PairKey(ident, instance));
    }

    // Fetches what a Find of this pair reads first, ahead of that Find.
    void PrefetchFind(std::uint16_t ident, std::uint16_t instance) const {
        first_.Prefetch(PairKey(ident, instance));
    }

    // The first created record of this ident, whatever its instance, or null.
    Record* FindFirstOfIdent(std::uint16_t ident) const {
        auto it = idents_.find(ident);
        return it == idents_.end() ? nullptr : it->second.first;
    }

    void Clear() {
        first_.Clear();
        shared_.clear();
        idents_.clear();
        size_ = 0;
    }

    std::size_t size() const { return size_; }

private:
    // The records of one pair when more than one has it, by creation order.
    using Shared = std::map<std::uint64_t, Record*>;
    struct Ident {
        Record* first = nullptr;
        std::size_t count = 0;
    };

    void AddPair(Record* record, std::uint32_t key) {
        Record* const first = first_.Find(key);
        if (first == nullptr) {
            first_.Set(key, record);
            return;
        }
        Shared& shared = shared_[key];
        if (shared.empty()) shared.emplace(OrderOf(first), first);
        shared.emplace(OrderOf(record), record);
        // A renumbered record may be older than the pair's first.
        first_.Set(key, shared.begin()->second);
    }

    bool RemovePair(Record* record, std::uint32_t key) {
        auto it = shared_.find(key);
        if (it == shared_.end()) {
            if (record == nullptr || first_.Find(key) != record) return false;
            first_.Erase(key);
            return true;
        }
        auto member = it->second.find(OrderOf(record));
        if (member == it->second.end() || member->second != record) return false;
        it->second.erase(member);
        first_.Set(key, it->second.begin()->second);
        if (it->second.size() == 1) shared_.erase(it);
        return true;
    }

    PairTable<Record> first_;
    std::unordered_map<std::uint32_t, Shared> shared_;
    std::unordered_map<std::uint16_t, Ident> idents_;
    std::size_t size_ = 0;
};

}  // namespace lm
