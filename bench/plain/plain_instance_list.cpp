// The plain instance list the report compares with: the same records in the
// same list, every lookup a walk from the head that takes the first match.
// Linked instead of instances/instance_list.cpp into the plain benchmark only.
#include "instances/instance_list.h"
#include "instances/lookups.h"

namespace lm {

dLM_OBJECT* InstanceList::Create(const dLM_OBJECT& library_object, std::uint16_t instance,
                                 LogSink& log) {
    return list_.Append(library_object, instance, log);
}

void InstanceList::Delete(dLM_OBJECT* record) {
    for (dLM_OBJECT* r = list_.head(); r != nullptr; r = r->next) {
        if (r == record) return list_.Remove(record);
    }
}

void InstanceList::Renumber(dLM_OBJECT* record, std::uint16_t new_instance) {
    record->instance = new_instance;
}

void InstanceList::Clear() {
    list_.Clear();
}

dLM_OBJECT* InstanceList::Find(std::uint16_t ident, std::uint16_t instance) const {
    return FIND_INSTANCE(list_.head(), ident, instance);
}

dLM_DATAITEM* InstanceList::FindItem(std::uint16_t ident, std::uint16_t instance,
                                     std::uint16_t item_ident) const {
    return FIND_ITEM(list_.head(), ident, instance, item_ident);
}

dLM_DATAITEM* InstanceList::FindItemByName(std::uint16_t ident, std::uint16_t instance,
                                           std::string_view name) const {
    return FIND_ITEM_BY_NAME(list_.head(), ident, instance, name);
}

}  // namespace lm
