// The items of one instance record by their ident, read once for a run of
// lookups in that record: a walk that looks up many items of the same record
// reads its item lists once instead of once for every lookup.
//
// It holds the first kItems items in the order ItemOfRecord searches them, so
// the first of them with an ident is the one ItemOfRecord finds; an ident it
// does not hold (past them, or none) is looked up by ItemOfRecord itself. The
// record's item lists must not change while the table is used.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/host_records.h"
#include "instances/lookups.h"
#include "library/objects.h"

namespace lm {

class RecordItemTable {
public:
    // Enough for the blocks of a usual library; a larger block's rest is
    // found by ItemOfRecord.
    static constexpr std::size_t kItems = 32;

    const dLM_OBJECT* record() const { return record_; }

    void Read(const dLM_OBJECT& record) {
        record_ = &record;
        count_ = 0;
        for (dLM_DATAITEM* head : ItemListsOf(record)) {
            for (dLM_DATAITEM* item = head; item != nullptr && count_ < kItems; item = item->next) {
                idents_[count_] = item->ident;
                items_[count_] = item;
                ++count_;
            }
        }
    }

    // ItemOfRecord of the record last read.
    dLM_DATAITEM* Find(std::uint16_t ident) const {
        for (std::size_t k = 0; k < count_; ++k) {
            if (idents_[k] == ident) return items_[k];
        }
        return record_ != nullptr ? ItemOfRecord(*record_, ident) : nullptr;
    }

private:
    const dLM_OBJECT* record_ = nullptr;
    std::size_t count_ = 0;
    std::array<std::uint16_t, kItems> idents_{};
    std::array<dLM_DATAITEM*, kItems> items_{};
};

}  // namespace lm
