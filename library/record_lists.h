// The one owner of the library's records. Records live in real singly linked
// lists (the host walks them through `next`); a RecordList owns one such list
// and frees every record, with everything the record owns, when it is cleared
// or destroyed. Records are created only through NewRecord and freed only
// through FreeRecord: nothing else in the driver allocates or frees them.
//
// What a record owns:
//   dLM_DATAITEM  its name, help, second_help and format texts and its extension;
//   dLM_OBJECT    its name and title texts and its five item lists;
//   dLMN_TOOL     its description text.
// Bitmap handles in records are borrowed from the BitmapList.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/host_records.h"
#include "platform/platform.h"

namespace lm {

// Frees a record and everything it owns. Null is ignored; `next` is not
// followed.
void FreeRecord(dLM_DATAITEM_EXT* ext);
void FreeRecord(dLM_DATAITEM* item);
void FreeRecord(dLM_OBJECT* object);
void FreeRecord(dLMN_TOOL* tool);

// Frees a whole chain linked through `next`.
template <class Record>
void FreeChain(Record* head) {
    while (head != nullptr) {
        Record* next = head->next;
        FreeRecord(head);
        head = next;
    }
}

template <class Record>
struct RecordDeleter {
    void operator()(Record* record) const { FreeRecord(record); }
};

// A record not yet in a list.
template <class Record>
using OwnedRecord = std::unique_ptr<Record, RecordDeleter<Record>>;

// A new record with every field zero: numbers 0, texts and links null.
template <class Record>
OwnedRecord<Record> NewRecord() {
    return OwnedRecord<Record>(new Record{});
}

// The records of a chain, for range-for: `for (dLM_DATAITEM* item : Chain(object->d_in))`.
template <class Record>
class Chain {
public:
    explicit Chain(Record* head) : head_(head) {}

    class iterator {
    public:
        explicit iterator(Record* record) : record_(record) {}
        Record* operator*() const { return record_; }
        iterator& operator++() {
            record_ = record_->next;
            return *this;
        }
        bool operator==(const iterator&) const = default;

    private:
        Record* record_;
    };
    iterator begin() const { return iterator(head_); }
    iterator end() const { return iterator(nullptr); }

private:
    Record* head_;
};

// An owned singly linked list of records, appended at the end in constant
// time (the owner keeps the tail), so list order is the order of appending.
template <class Record>
class RecordList {
public:
    RecordList() = default;
    ~RecordList() { Clear(); }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    RecordList(RecordList&& other) noexcept
        : head_(std::exchange(other.head_, nullptr)),
          tail_(std::exchange(other.tail_, nullptr)),
          size_(std::exchange(other.size_, 0)) {}
    RecordList& operator=(RecordList&& other) noexcept {
        if (this != &other) {
            Clear();
            head_ = std::exchange(other.head_, nullptr);
            tail_ = std::exchange(other.tail_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }

    // The first record, what the host is handed; null when empty.
    Record* head() const { return head_; }
    Record* tail() const { return tail_; }
    std::size_t size() const { return size_; }
    bool empty() const { return head_ == nullptr; }
    Chain<Record> records() const { return Chain<Record>(head_); }

    // Appends the record (and any records already linked behind it) and
    // returns it.
    Record* Append(OwnedRecord<Record> record) {
        Record* first = record.release();
        if (first == nullptr) return nullptr;
        if (tail_ == nullptr) {
            head_ = first;
        } else {
            tail_->next = first;
        }
        for (tail_ = first, ++size_; tail_->next != nullptr; tail_ = tail_->next) ++size_;
        return first;
    }

    // Takes the record out of the list and hands it back; empty when the
    // record is not in this list (then nothing changes). Walks the list up to
    // the record.
    OwnedRecord<Record> Unlink(Record* record) {
        if (record == nullptr) return nullptr;
        Record* previous = nullptr;
        for (Record* r = head_; r != nullptr; previous = r, r = r->next) {
            if (r != record) continue;
            if (previous == nullptr) {
                head_ = r->next;
            } else {
                previous->next = r->next;
            }
            if (tail_ == r) tail_ = previous;
            --size_;
            r->next = nullptr;
            return OwnedRecord<Record>(r);
        }
        return nullptr;
    }

    // Frees every record; the list becomes empty.
    void Clear() {
        FreeChain(std::exchange(head_, nullptr));
        tail_ = nullptr;
        size_ = 0;
    }

    // Hands the whole chain over to an owning record (an object takes its
    // item lists this way); the list becomes empty.
    Record* ReleaseChain() {
        tail_ = nullptr;
        size_ = 0;
        return std::exchange(head_, nullptr);
    }

private:
    Record* head_ = nullptr;
    Record* tail_ = nullptr;
    std::size_t size_ = 0;
};

using ItemList = RecordList<dLM_DATAITEM>;
using ObjectList = RecordList<dLM_OBJECT>;
using ToolList = RecordList<dLMN_TOOL>;

// The bitmaps named by tools and objects, one entry per reference, in load
// order. The host gets only handles; the entries own the bitmaps and release
// them through the platform that loaded them.
class BitmapList {
public:
    struct Entry {
        BitmapHandle bitmap = 0;
        std::string file_name;  // as written in the definition, without the folder
    };

    explicit BitmapList(Platform& platform) : platform_(platform) {}
    ~BitmapList() { Clear(); }
    BitmapList(const BitmapList&) = delete;
    BitmapList& operator=(const BitmapList&) = delete;

    // Loads the picture file at `path` and keeps it as an entry named
    // `file_name`; returns its handle, or 0 (and keeps nothing) when the file
    // cannot be opened or the platform cannot load it.
    BitmapHandle Load(const std::string& path, std::string_view file_name);
    // Frees every bitmap; the list becomes empty.
    void Clear();

    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

private:
    Platform& platform_;
    std::vector<Entry> entries_;
};

// A bitmap handle as the 32-bit records carry it. GDI handles fit in 32 bits
// on 64-bit Windows as well; the full handle stays in the bitmap list.
inline std::uint32_t RecordHandle(BitmapHandle bitmap) {
    return static_cast<std::uint32_t>(bitmap);
}

}  // namespace lm
