#include "instances/lookups.h"

#include "base/item_codes.h"
#include "library/objects.h"

namespace lm {
bool IsStringRecord(const dLM_DATAITEM& item) {
    return item.ext != nullptr && IsUserString(item.typ, item.ext->subtyp);
}

dLM_OBJECT* FIND_INSTANCE(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance) {
    for (dLM_OBJECT* r = list; r != nullptr; r = r->next) {
        if (r->ident == ident && r->instance == instance) return r;
    }
    return nullptr;
}

dLM_DATAITEM* ItemOfRecord(const dLM_OBJECT& record, std::uint16_t item_ident) {
    if (dLM_DATAITEM* item = FindObjectItem(record, item_ident)) return item;
    if (item_ident != kFirstUserString) return nullptr;
    for (dLM_DATAITEM* item = record.data_user; item != nullptr; item = item->next) {
        if (IsStringRecord(*item)) return item;
    }
    return nullptr;
}

dLM_DATAITEM* ItemOfRecordByName(const dLM_OBJECT& record, std::string_view name) {
    for (dLM_DATAITEM* head : ItemListsOf(record)) {
        for (dLM_DATAITEM* item = head; item != nullptr; item = item->next) {
            if (item->name != nullptr && std::string_view(item->name) == name) return item;
        }
    }
    return nullptr;
}

dLM_DATAITEM* FIND_ITEM(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance,
                        std::uint16_t item_ident) {
    for (dLM_OBJECT* r = list; r != nullptr; r = r->next) {
        if (r->ident == ident && (instance == kAnyInstance || r->instance == instance)) {
            return ItemOfRecord(*r, item_ident);
        }
    }
    return nullptr;
}

dLM_DATAITEM* FIND_ITEM_BY_NAME(dLM_OBJECT* list, std::uint16_t ident, std::uint16_t instance,
                                std::string_view name) {
    dLM_OBJECT* record = FIND_INSTANCE(list, ident, instance);
    return record == nullptr ? nullptr : ItemOfRecordByName(*record, name);
}

}  // namespace lm
