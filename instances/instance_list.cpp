#include "instances/instance_list.h"

#include "instances/lookups.h"

namespace lm {

dLM_OBJECT* InstanceList::Create(const dLM_OBJECT& library_object, std::uint16_t instance,
                                 LogSink& log) {
    dLM_OBJECT* record = list_.Append(library_object, instance, log);
    index_.Add(record, record->ident, record->instance);
    return record;
}

void InstanceList::Delete(dLM_OBJECT* record) {
    // Only a record of this list is in the index.
    if (record == nullptr || !index_.Remove(record, record->ident, record->instance)) return;
    list_.Remove(record);
}

void InstanceList::Renumber(dLM_OBJECT* record, std::uint16_t new_instance) {
    index_.Renumber(record, record->ident, record->instance, new_instance);
    record->instance = new_instance;
}

void InstanceList::Clear() {
    index_.Clear();
    list_.Clear();
}

dLM_OBJECT* InstanceList::Find(std::uint16_t ident, std::uint16_t instance) const {
    return index_.Find(ident, instance);
}

dLM_DATAITEM* InstanceList::FindItem(std::uint16_t ident, std::uint16_t instance,
                                     std::uint16_t item_ident) const {
    dLM_OBJECT* record =
        instance == kAnyInstance ? index_.FindFirstOfIdent(ident) : index_.Find(ident, instance);
    return record == nullptr ? nullptr : ItemOfRecord(*record, item_ident);
}

dLM_DATAITEM* InstanceList::FindItemByName(std::uint16_t ident, std::uint16_t instance,
                                           std::string_view name) const {
    dLM_OBJECT* record = index_.Find(ident, instance);
    return record == nullptr ? nullptr : ItemOfRecordByName(*record, name);
}

}  // namespace lm
