// The host's conversion services: the data item service, the general
// conversions of standard types, the LONG check and the USER/LONG conversion.
// The items are the library's own records, found by object and item ident.
#include <optional>

#include "frame/entry.h"
#include "instances/lookups.h"
#include "instances/record_item.h"
#include "values/item_services.h"

namespace lm {
namespace {

// The library's item of an object, adapted for the conversions; empty when
// the library has no such object or item.
std::optional<RecordItem> LibraryItem(Driver& driver, std::uint16_t object,
                                      std::uint16_t item_ident) {
    dLM_DATAITEM* item = FIND_ITEM(driver.library.objects.head(), object, 0, item_ident);
    if (item == nullptr) return std::nullopt;
    return RecordItem(*item);
}

}  // namespace

bool Entry::AkceItemCall(PARAM_ENTRY& record) {
    auto item = LibraryItem(*driver_, record.wparam1, record.wparam2);
    return AkceItem(record, item ? &*item : nullptr, driver_->conversion, wide_.log);
}

bool Entry::BinToStrCall(PARAM_ENTRY& record) {
    return BINTOSTR(record, driver_->conversion, wide_.log);
}

bool Entry::StrToBinCall(PARAM_ENTRY& record) {
    return STRTOBIN(record, driver_->conversion, wide_.log);
}

bool Entry::LongCheckCall(PARAM_ENTRY& record) {
    auto item = LibraryItem(*driver_, record.wparam1, record.wparam2);
    return LongCheck(record, item ? &*item : nullptr);
}

bool Entry::UserLongCall(PARAM_ENTRY& record) {
    auto item =
        LibraryItem(*driver_, record.wparam1, static_cast<std::uint16_t>(record.lparam2 & 0xFFFF));
    return UserLongConversion(record, item ? &*item : nullptr, driver_->conversion, wide_.log);
}

}  // namespace lm
