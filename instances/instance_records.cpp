#include "instances/instance_records.h"

#include <array>
#include <cstring>
#include <new>
#include <string_view>

#include "base/bounded_text.h"
#include "library/data_items.h"
#include "library/objects.h"
#include "library/texts.h"
#include "values/short_real.h"

namespace lm {

namespace {

// A block: the hidden header, the object, its items, their extensions, the
// texts. Every record starts on a multiple of 8 bytes.
struct Header {
    dLM_OBJECT* previous;
    std::uint64_t order;
};

constexpr std::size_t Rounded(std::size_t bytes) {
    return (bytes + 7) / 8 * 8;
}
constexpr std::size_t kObjectAt = Rounded(sizeof(Header));
constexpr std::size_t kObjectBytes = Rounded(sizeof(dLM_OBJECT));
constexpr std::size_t kItemBytes = Rounded(sizeof(dLM_DATAITEM));
constexpr std::size_t kExtBytes = Rounded(sizeof(dLM_DATAITEM_EXT));

std::byte* BlockOf(dLM_OBJECT* record) {
    return reinterpret_cast<std::byte*>(record) - kObjectAt;
}
Header& HeaderOf(dLM_OBJECT* record) {
    return *std::launder(reinterpret_cast<Header*>(BlockOf(record)));
}
const Header& HeaderOf(const dLM_OBJECT* record) {
    return *std::launder(
        reinterpret_cast<const Header*>(reinterpret_cast<const std::byte*>(record) - kObjectAt));
}

// The texts of a copy, read as the library record holds them.
struct ObjectTexts {
    explicit ObjectTexts(const dLM_OBJECT& object)
        : name(ReadZeroText(object.name, kObjectNameLimit)),
          title(ReadZeroText(object.title, kObjectNameLimit)) {}
    std::size_t bytes() const { return name.size() + title.size() + 2; }
    std::string_view name, title;
};
struct ItemTexts {
    explicit ItemTexts(const dLM_DATAITEM& item)
        : name(ReadZeroText(item.name, kItemNameLimit)),
          help(ReadZeroText(item.help, kItemHelpLimit)),
          second_help(ReadZeroText(item.second_help, kItemHelpLimit)),
          format(ReadZeroText(item.format, kItemFormatLimit)) {}
    std::size_t bytes() const {
        return name.size() + help.size() + second_help.size() + format.size() + 4;
    }
    std::string_view name, help, second_help, format;
};

// The block's text area, filled from its start: zero-terminated copies.
class TextArea {
public:
    explicit TextArea(std::byte* at) : at_(reinterpret_cast<char*>(at)) {}
    char* Put(std::string_view text) {
        char* put = at_;
        if (!text.empty()) std::memcpy(put, text.data(), text.size());
        put[text.size()] = '\0';
        at_ += text.size() + 1;
        return put;
    }

private:
    char* at_;
};

// The short real of a library record, as re-encoding its value gives it:
// the bytes themselves, or all zero when the exponent byte says 0.
void CopyShortReal(std::uint8_t (&to)[6], const std::uint8_t (&from)[6]) {
    if (from[0] == 0) {
        std::memset(to, 0, sizeof to);
    } else {
        std::memcpy(to, from, sizeof to);
    }
}

void StoreShortReal(std::uint8_t (&to)[6], double value) {
    const ShortRealBytes bytes = EncodeShortReal(value).value_or(ShortRealBytes{});
    std::memcpy(to, bytes.data(), sizeof to);
}

// The extension of a copied item: the source's with the value text its
// default; an item without one gets the defaults of an item block.
void CopyExtension(const dLM_DATAITEM_EXT* source, dLM_DATAITEM_EXT& ext) {
    if (source == nullptr) {
        const ItemFields defaults;
        ext.subtyp = defaults.subtyp;
        StoreShortReal(ext.min, defaults.min);
        StoreShortReal(ext.max, defaults.max);
        ext.cw_out = defaults.cw_out;
        return;
    }
    ext.subtyp = source->subtyp;
    ext.label.assign(source->label.view());
    ext.index.assign(source->index.view());
    ext.subindex = source->subindex;
    ext.default_value.assign(source->default_value.view());
    ext.value.assign(source->default_value.view());
    CopyShortReal(ext.min, source->min);
    CopyShortReal(ext.max, source->max);
    ext.save_flag = source->save_flag;
    ext.cw_out = source->cw_out;
    ext.cw_selected = source->cw_selected;
}

}  // namespace

void InstanceRecords::Prefetch(const dLM_OBJECT* record) {
    // The records of a block of the usual size (an object of some dozen
    // items); a larger block's rest is read as it is used. A prefetch never
    // faults, past the block's end neither.
    constexpr std::size_t kPrefetchBytes = 4096;
    constexpr std::size_t kLine = 64;
    const auto* const at = reinterpret_cast<const char*>(record);
    for (std::size_t k = 0; k < kPrefetchBytes; k += kLine) __builtin_prefetch(at + k);
}

dLM_OBJECT* InstanceRecords::Append(const dLM_OBJECT& source, std::uint16_t instance,
                                    LogSink& log) {
    const std::array<dLM_DATAITEM*, 5> lists = ItemListsOf(source);
    const ObjectTexts object_texts(source);
    std::size_t items = 0;
    std::size_t text_bytes = object_texts.bytes();
    for (dLM_DATAITEM* head : lists) {
        for (const dLM_DATAITEM* item = head; item != nullptr; item = item->next) {
            ++items;
            text_bytes += ItemTexts(*item).bytes();
        }
    }
    std::byte* const block = static_cast<std::byte*>(
        ::operator new(kObjectAt + kObjectBytes + items * (kItemBytes + kExtBytes) + text_bytes));
    new (block) Header{tail_, next_order_++};
    auto* const object = new (block + kObjectAt) dLM_OBJECT{};
    std::byte* item_at = block + kObjectAt + kObjectBytes;
    std::byte* ext_at = item_at + items * kItemBytes;
    TextArea texts(ext_at + items * kExtBytes);

    std::array<dLM_DATAITEM*, 5> heads{};
    for (std::size_t k = 0; k < lists.size(); ++k) {
        dLM_DATAITEM* previous = nullptr;
        for (const dLM_DATAITEM* item = lists[k]; item != nullptr; item = item->next) {
            auto* const copy = new (item_at) dLM_DATAITEM{};
            auto* const ext = new (ext_at) dLM_DATAITEM_EXT{};
            item_at += kItemBytes;
            ext_at += kExtBytes;
            const ItemTexts item_texts(*item);
            copy->ident = item->ident;
            copy->name = texts.Put(item_texts.name);
            copy->help = texts.Put(item_texts.help);
            copy->second_help = texts.Put(item_texts.second_help);
            copy->typ = item->typ;
            copy->delka = item->delka;
            copy->format = texts.Put(item_texts.format);
            copy->pos_x = item->pos_x;
            copy->pos_y = item->pos_y;
            copy->attributes = item->attributes;
            copy->ext = ext;
            CopyExtension(item->ext, *ext);
            if (previous == nullptr) {
                heads[k] = copy;
            } else {
                previous->next = copy;
            }
            previous = copy;
            log.WriteWith([&] { return Concat({"INS_DATAITEM: ", item_texts.name}); });
        }
    }

    object->level = source.level;
    object->ident = source.ident;
    object->instance = instance;
    object->name = texts.Put(object_texts.name);
    object->title = texts.Put(object_texts.title);
    object->inputs = source.inputs;
    object->outputs = source.outputs;
    object->init_vars = source.init_vars;
    object->vars = source.vars;
    object->bm_lib = source.bm_lib;
    object->bm_desktop = source.bm_desktop;
    object->ver_high = source.ver_high;
    object->ver_low = source.ver_low;
    object->tool = source.tool;
    object->attributes = source.attributes;
    object->d_in = heads[0];
    object->d_out = heads[1];
    object->d_init = heads[2];
    object->d_prom = heads[3];
    object->data_user = heads[4];

    if (tail_ == nullptr) {
        head_ = object;
    } else {
        tail_->next = object;
    }
    tail_ = object;
    ++size_;
    log.WriteWith([&] {
        return Concat({"INS_OBJECT: ", object_texts.name, " ", object_texts.title});
    });
    return object;
}

void InstanceRecords::Remove(dLM_OBJECT* record) {
    if (record == nullptr) return;
    dLM_OBJECT* const previous = HeaderOf(record).previous;
    dLM_OBJECT* const next = record->next;
    if (previous == nullptr) {
        head_ = next;
    } else {
        previous->next = next;
    }
    if (next == nullptr) {
        tail_ = previous;
    } else {
        HeaderOf(next).previous = previous;
    }
    --size_;
    ::operator delete(BlockOf(record));
}

std::uint64_t InstanceRecords::OrderOf(const dLM_OBJECT* record) {
    return HeaderOf(record).order;
}

void InstanceRecords::Clear() {
    for (dLM_OBJECT* record = head_; record != nullptr;) {
        dLM_OBJECT* const next = record->next;
        ::operator delete(BlockOf(record));
        record = next;
    }
    head_ = tail_ = nullptr;
    size_ = 0;
}

}  // namespace lm
