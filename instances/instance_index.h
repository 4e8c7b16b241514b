// The index beside the instance list: finds an instance by (ident, instance)
// and the first instance of an ident without walking the list, and keeps the
// list's rule that among records with the same pair the first created wins,
// also after deletions and renumbering.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>

namespace lm {

template <class Record>
class InstanceIndex {
public:
    // A record appended at the end of the list.
    void Add(Record* record, std::uint16_t ident, std::uint16_t instance) {
        const std::uint64_t order = next_order_++;
        order_[record] = order;
        Insert(by_pair_[Key(ident, instance)], order, record);
        Insert(by_ident_[ident], order, record);
    }

    // False when the record is not in the index.
    bool Remove(Record* record, std::uint16_t ident, std::uint16_t instance) {
        auto it = order_.find(record);
        if (it == order_.end()) return false;
        const std::uint64_t order = it->second;
        Erase(by_pair_, Key(ident, instance), order);
        Erase(by_ident_, ident, order);
        order_.erase(it);
        return true;
    }

    void Renumber(Record* record, std::uint16_t ident, std::uint16_t old_instance,
                  std::uint16_t new_instance) {
        auto it = order_.find(record);
        if (it == order_.end()) return;
        Erase(by_pair_, Key(ident, old_instance), it->second);
        Insert(by_pair_[Key(ident, new_instance)], it->second, record);
    }

    // The first created record with this pair, or null.
    Record* Find(std::uint16_t ident, std::uint16_t instance) const {
        auto it = by_pair_.find(Key(ident, instance));
        return it == by_pair_.end() || it->second.empty() ? nullptr : it->second.begin()->second;
    }

    // The first created record of this ident, whatever its instance, or null.
    Record* FindFirstOfIdent(std::uint16_t ident) const {
        auto it = by_ident_.find(ident);
        return it == by_ident_.end() || it->second.empty() ? nullptr : it->second.begin()->second;
    }

    void Clear() {
        order_.clear();
        by_pair_.clear();
        by_ident_.clear();
    }

    std::size_t size() const { return order_.size(); }

private:
    // Records by creation order: the first entry is the oldest. A map keeps
    // removal at either end cheap however many records share a key.
    using Entries = std::map<std::uint64_t, Record*>;

    static std::uint32_t Key(std::uint16_t ident, std::uint16_t instance) {
        return (std::uint32_t{ident} << 16) | instance;
    }
    static void Insert(Entries& entries, std::uint64_t order, Record* record) {
        // A renumbered record finds its place among the others by its age.
        entries.emplace(order, record);
    }
    template <class Map>
    static void Erase(Map& map, typename Map::key_type key, std::uint64_t order) {
        auto it = map.find(key);
        if (it == map.end()) return;
        it->second.erase(order);
        if (it->second.empty()) map.erase(it);
    }

    std::uint64_t next_order_ = 0;
    std::unordered_map<Record*, std::uint64_t> order_;
    std::unordered_map<std::uint32_t, Entries> by_pair_;
    std::unordered_map<std::uint16_t, Entries> by_ident_;
};

}  // namespace lm
