#include "exports/cw_items.h"

#include <array>

#include "base/cp1250.h"
#include "base/item_codes.h"

namespace lm {
namespace {

struct ItemList {
    dLM_DATAITEM* head;
    bool value_flag;
};

// The five lists in channel order; init values and user values carry a value.
// The heads are read by name: the record is packed, and a pointer to member
// would load them as if they were aligned.
std::array<ItemList, 5> ItemListsOf(const dLM_OBJECT& object) {
    return {{{object.d_in, false},
             {object.d_out, false},
             {object.d_init, true},
             {object.d_prom, false},
             {object.data_user, true}}};
}

std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// Calls `visit(item, value_flag)` for every item with a direction, in channel order.
template <typename Visit>
void ForEachCwItem(const dLM_OBJECT* instances, Visit visit) {
    for (const dLM_OBJECT* object = instances; object != nullptr; object = object->next) {
        for (const ItemList& list : ItemListsOf(*object)) {
            for (dLM_DATAITEM* item = list.head; item != nullptr; item = item->next) {
                if (item->ext == nullptr || item->ext->cw_out == kCwOutNone) continue;
                visit(*object, *item, list.value_flag);
            }
        }
    }
}

}  // namespace

std::string ChannelName(const CwItem& item) {
    std::string name = item.object_name;
    name += '_';
    name += std::to_string(item.instance);
    name += '_';
    name += item.item_name;
    return name;
}

std::vector<CwItem> CwItems(const dLM_OBJECT* instances, bool selected_only) {
    std::vector<CwItem> items;
    ForEachCwItem(instances,
                  [&](const dLM_OBJECT& object, const dLM_DATAITEM& item, bool value_flag) {
                      if (selected_only && item.ext->cw_selected == 0) return;
                      CwItem cw;
                      cw.object_name = TextOf(object.name);
                      cw.ident = object.ident;
                      cw.instance = object.instance;
                      cw.item_name = TextOf(item.name);
                      cw.item_ident = item.ident;
                      cw.typ = item.typ;
                      cw.subtyp = item.ext->subtyp;
                      cw.cw_out = item.ext->cw_out;
                      cw.value = std::string(item.ext->value.view());
                      cw.value_flag = value_flag;
                      cw.selected = item.ext->cw_selected != 0;
                      items.push_back(std::move(cw));
                  });
    return items;
}

bool ApplyCwTicks(dLM_OBJECT* instances, const std::vector<bool>& ticks) {
    std::size_t index = 0;
    bool any = false;
    ForEachCwItem(instances, [&](const dLM_OBJECT&, dLM_DATAITEM& item, bool) {
        if (index < ticks.size()) item.ext->cw_selected = ticks[index++] ? 1 : 0;
        if (item.ext->cw_selected != 0) any = true;
    });
    return any;
}

}  // namespace lm

namespace lm {

std::string CwChannelRangeError(long first, std::size_t count) {
    if (first >= 1 && count <= static_cast<std::size_t>(kMaxCwChannel) &&
        static_cast<long>(count) - 1 <= kMaxCwChannel - first) {
        return {};
    }
    std::string text = "Čísla kanálů přesahují 65535: "_cp;
    text += std::to_string(count);
    text += " položek od kanálu "_cp;
    text += std::to_string(first);
    text += ".\rNic nebylo zapsáno."_cp;
    return text;
}

std::size_t FindLine(std::string_view text, std::string_view line, bool last) {
    std::size_t found = std::string_view::npos;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view current = text.substr(start, end - start);
        while (!current.empty() &&
               (current.back() == '\r' || current.back() == ' ' || current.back() == '\t')) {
            current.remove_suffix(1);
        }
        if (current == line) {
            found = start;
            if (!last) return found;
        }
        start = next;
    }
    return found;
}

}  // namespace lm
