#include "frame/conversion_service.h"

#include <optional>

#include "instances/lookups.h"
#include "instances/record_item.h"
#include "values/item_services.h"

namespace lm {
namespace {

// The library's item of an object, adapted for the conversions; empty when
// the library has no such object or item.
std::optional<RecordItem> LibraryItem(ObjectLibrary& library, std::uint16_t object,
                                      std::uint16_t item_ident) {
    dLM_DATAITEM* item = FIND_ITEM(library.objects.head(), object, 0, item_ident);
    if (item == nullptr) return std::nullopt;
    return RecordItem(*item);
}

}  // namespace

bool ConversionService::AkceItemCall(PARAM_ENTRY& record) {
    auto item = LibraryItem(library_, record.wparam1, record.wparam2);
    return AkceItem(record, item ? &*item : nullptr, buffers_, context_.log);
}

bool ConversionService::BinToStrCall(PARAM_ENTRY& record) {
    return BINTOSTR(record, buffers_, context_.log);
}

bool ConversionService::StrToBinCall(PARAM_ENTRY& record) {
    return STRTOBIN(record, buffers_, context_.log);
}

bool ConversionService::LongCheckCall(PARAM_ENTRY& record) {
    auto item = LibraryItem(library_, record.wparam1, record.wparam2);
    return LongCheck(record, item ? &*item : nullptr);
}

bool ConversionService::UserLongCall(PARAM_ENTRY& record) {
    auto item =
        LibraryItem(library_, record.wparam1, static_cast<std::uint16_t>(record.lparam2 & 0xFFFF));
    return UserLongConversion(record, item ? &*item : nullptr, buffers_, context_.log);
}

}  // namespace lm
