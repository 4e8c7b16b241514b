// InstanceList: the driver's copies of the placed blocks, one dLM_OBJECT per
// instance with its own data items (one allocation each, see InstanceRecords),
// kept as the linked list the rest of the driver walks, with an index beside it so that the host's
// lookups by (ident, instance) do not walk the list. Among records with the same pair the first
// created wins, as on the plain list.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/log_sink.h"
#include "instances/instance_index.h"
#include "instances/instance_records.h"

namespace lm {

class InstanceList {
public:
    dLM_OBJECT* head() const { return list_.head(); }
    std::size_t size() const { return list_.size(); }

    // CreateObject: a copy of the library object with the instance number,
    // appended at the end.
    dLM_OBJECT* Create(const dLM_OBJECT& library_object, std::uint16_t instance, LogSink& log);
    // DeleteObject: removes a record of this list and everything it owns.
    void Delete(dLM_OBJECT* record);
    // SetInstance: a new instance number for a record of this list; the values stay.
    void Renumber(dLM_OBJECT* record, std::uint16_t new_instance);
    void Clear();

    // FIND_INSTANCE on the instance list.
    dLM_OBJECT* Find(std::uint16_t ident, std::uint16_t instance) const;
    // What a Find of this pair reads, fetched ahead of that Find.
    void PrefetchFind(std::uint16_t ident, std::uint16_t instance) const {
        index_.PrefetchFind(ident, instance);
    }
    // A record of this list fetched ahead of its use (see InstanceRecords).
    static void Prefetch(const dLM_OBJECT* record) { InstanceRecords::Prefetch(record); }
    // FIND_ITEM on the instance list (instance 0xFFFF: the first record of the ident).
    dLM_DATAITEM* FindItem(std::uint16_t ident, std::uint16_t instance,
                           std::uint16_t item_ident) const;
    // FIND_ITEM_BY_NAME on the instance list.
    dLM_DATAITEM* FindItemByName(std::uint16_t ident, std::uint16_t instance,
                                 std::string_view name) const;

private:
    InstanceRecords list_;
    InstanceIndex<dLM_OBJECT, &InstanceRecords::OrderOf> index_;
};

}  // namespace lm
