// The one owner of the placed instances' records. Each instance is one block
// of memory holding its dLM_OBJECT, its items in list order, their extensions
// and every text they point to: placing a block costs one allocation, the
// records lie together, and the addresses the host holds stay where they are
// until the instance is removed. The records are linked as on any list
// (`next`, the five item lists); a hidden header holds the link to the
// instance before it, so that a removal unlinks without walking the list, and
// the record's place in creation order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/host_records.h"
#include "base/log_sink.h"

namespace lm {

class InstanceRecords {
public:
    InstanceRecords() = default;
    ~InstanceRecords() { Clear(); }
    InstanceRecords(const InstanceRecords&) = delete;
    InstanceRecords& operator=(const InstanceRecords&) = delete;

    // The first instance, what the rest of the driver walks; null when empty.
    dLM_OBJECT* head() const { return head_; }
    std::size_t size() const { return size_; }

    // Appends a copy of the library object `source` with the instance number:
    // every field and flag of the object and its items, each item's value its
    // default, bitmap handles shared with the source. Logs what COPY_OBJECT
    // logs ("INS_DATAITEM: " per item, then "INS_OBJECT: ").
    dLM_OBJECT* Append(const dLM_OBJECT& source, std::uint16_t instance, LogSink& log);
    // Unlinks and frees a record that Append gave and that is still here.
    void Remove(dLM_OBJECT* record);
    // Frees every instance; the list becomes empty.
    void Clear();

    // The place of a record that Append gave in creation order (the oldest
    // has the lowest): the list's order, which renumbering does not change.
    static std::uint64_t OrderOf(const dLM_OBJECT* record);
    // Asks the processor to fetch a record's block ahead of its use: the
    // object, its items and their extensions lie at its start. A walk over a
    // project larger than the caches calls it one record ahead, so that the
    // block comes from memory while the record before it is worked on.
    static void Prefetch(const dLM_OBJECT* record);

private:
    dLM_OBJECT* head_ = nullptr;
    dLM_OBJECT* tail_ = nullptr;
    std::size_t size_ = 0;
    std::uint64_t next_order_ = 0;
};

}  // namespace lm
