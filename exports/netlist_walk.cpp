#include "exports/netlist_walk.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "base/bounded_text.h"
#include "exports/host_chain.h"
#include "exports/order_lines.h"
#include "instances/lookups.h"
#include "instances/pair_table.h"
#include "instances/record_item.h"
#include "instances/record_item_table.h"
#include "library/texts.h"
#include "values/convert.h"

namespace lm {
namespace {

using std::to_string;

constexpr std::uint16_t kProjectIdent = 164;
constexpr std::uint16_t kChecksumItem = 162;
constexpr std::uint16_t kFormWhole = 1;   // 256 bytes at data
constexpr std::uint16_t kFormLength = 2;  // length bytes at data

std::string_view Name(const char* text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

class Walk {
public:
    Walk(NetListMode mode, InstanceList* instances, std::uint32_t checksum, ExportText& out,
         LogSink& log, const NetlistLimits& limits, LeftOutOrders* left_out)
        : limits_(limits),
          listing_(mode == NetListMode::Listing),
          constants_only_(mode == NetListMode::Constants),
          instances_(instances),
          checksum_(checksum),
          out_(out),
          log_(log),
          left_out_(left_out) {}

    void Run(const dLMN_NODE* head) {
        const ChainLength nodes = MeasureChain(head, std::min(limits_.nodes, limits_.records));
        remaining_ = limits_.records - nodes.count;
        const dLMN_NODE* node = head;
        dLM_OBJECT* object = nodes.count > 0 ? FindInstance(node->ident, node->instance) : nullptr;
        for (std::size_t i = 0; i < nodes.count && !budget_spent_; ++i) {
            const dLMN_NODE* next = i + 1 < nodes.count ? node->next : nullptr;
            // The index is read two nodes ahead and the records one node
            // ahead, so that neither waits for memory when it is used.
            if (i + 2 < nodes.count && instances_ != nullptr) {
                instances_->PrefetchFind(next->next->ident, next->next->instance);
            }
            dLM_OBJECT* next_object =
                next != nullptr ? FindInstance(next->ident, next->instance) : nullptr;
            if (next_object != nullptr) InstanceList::Prefetch(next_object);
            Remember(*node, object);
            Node(*node, object);
            node = next;
            object = next_object;
        }
        if (budget_spent_) {
            Anomaly("!!! netlist longer than " + to_string(limits_.records) +
                    " records, walk stopped");
        } else {
            ChainEndLine("!!! node list", nodes, limits_.nodes, "nodes, walk stopped");
        }
    }

private:
    // A line of the listing only, of its pieces (texts and whole numbers).
    // A line whose pieces cost something to find (the length of a name, a
    // value) is written under `if (listing_)` instead, so that the other
    // modes do not pay for them.
    template <class... Pieces>
    void Listing(const Pieces&... pieces) {
        if (listing_) out_.LineOf(pieces...);
    }

    // A fault of the netlist: a line in the listing and in the log, in both modes.
    void Anomaly(const std::string& line) {
        Listing(line);
        log_.WriteWith([&] { return "NetList: " + line; });
    }

    // "!!! node list loops back after 3 nodes, walk stopped",
    // "  !!! konst list longer than 65536 entries, rest skipped".
    void ChainEndLine(std::string_view what, const ChainLength& length, std::size_t limit,
                      std::string_view unit_and_consequence) {
        if (length.end == ChainEnd::Null) return;
        const bool loops = length.end == ChainEnd::LoopsBack;
        Anomaly(std::string(what) + (loops ? " loops back after " : " longer than ") +
                to_string(loops ? length.count : limit) + " " + std::string(unit_and_consequence));
    }

    // Measures one list of a node within what is left of the whole walk.
    template <class Record>
    ChainLength MeasureEntries(const Record* head) {
        const std::size_t limit = std::min(limits_.entries, remaining_);
        const ChainLength length = MeasureChain(head, limit);
        remaining_ -= length.count;
        if (length.end == ChainEnd::TooLong && limit < limits_.entries) budget_spent_ = true;
        return length;
    }

    void Told(const dLM_OBJECT& object, const dLM_DATAITEM& item, const LeftOut& left_out) {
        if (left_out && left_out_ != nullptr) left_out_->Add(object, item, *left_out);
    }

    dLM_OBJECT* FindInstance(std::uint16_t ident, std::uint16_t instance) const {
        return instances_ != nullptr ? instances_->Find(ident, instance) : nullptr;
    }

    // The blocks a wire comes from are mostly ones the walk has just passed
    // (the block before, or one of a few feeding many wires): the last ones
    // found are kept by their pair, so that a wire does not look its block
    // up in the index again. The walk creates and deletes no instance, so a
    // pair's record stays what it was found to be.
    struct Found {
        std::uint32_t key = 0;
        bool known = false;
        dLM_OBJECT* object = nullptr;
    };
    static constexpr std::size_t kFoundSlots = 64;
    Found& FoundSlot(std::uint32_t key) { return found_[(key ^ (key >> 16) * 7) % kFoundSlots]; }
    void Remember(const dLMN_NODE& node, dLM_OBJECT* object) {
        const std::uint32_t key = PairKey(node.ident, node.instance);
        FoundSlot(key) = Found{key, true, object};
    }
    dLM_OBJECT* WireSource(const dLMN_NODE& other) {
        const std::uint32_t key = PairKey(other.ident, other.instance);
        Found& slot = FoundSlot(key);
        if (!slot.known || slot.key != key)
            slot = Found{key, true, FindInstance(other.ident, other.instance)};
        return slot.object;
    }
    // The item of that very instance record (the record a node matched), so
    // that a value and its order line always belong to the same instance.
    // A node looks up several items of its own record (its constants and
    // wires) and of the record its wires come from: the items of the last
    // two records are read once into tables, instead of a walk of the
    // record's item lists for every lookup.
    dLM_DATAITEM* FindItem(const dLM_OBJECT& object, std::uint16_t item) {
        const std::size_t at = items_[0].record() == &object   ? 0
                               : items_[1].record() == &object ? 1
                                                               : older_items_;
        if (items_[at].record() != &object) items_[at].Read(object);
        older_items_ = 1 - at;
        return items_[at].Find(item);
    }

    void Node(const dLMN_NODE& node, dLM_OBJECT* object) {
        if (object == nullptr) {
            Listing("!!! unknown object number ", node.ident, ", instance ", node.instance,
                    ", level=", node.level);
            return;
        }
        if (listing_) {
            out_.LineOf("object number ", node.ident, ", Jmeno=", Name(object->name),
                        ", instance=", node.instance);
        }
        Constants(node, *object);
        if (constants_only_) return;
        UserItems(*object);
        Wires(node, *object);
        Listing(kListingSeparator);
    }

    void Constants(const dLMN_NODE& node, dLM_OBJECT& object) {
        if (node.constants == nullptr) {
            Listing("  no constants");
            return;
        }
        const ChainLength constants = MeasureEntries(node.constants);
        const dLMN_CONST* constant = node.constants;
        for (std::size_t i = 0; i < constants.count; ++i) {
            Constant(node, object, *constant);
            constant = constant->next;
        }
        if (!budget_spent_)
            ChainEndLine("  !!! konst list", constants, limits_.entries, "entries, rest skipped");
    }

    // The 256 bytes a constant is converted from: its data by its form, zero
    // where there is none. One buffer serves every constant: only the bytes
    // the last one copied are cleared (a conversion to text only reads them).
    std::span<std::uint8_t> ConstantData(const dLMN_CONST& constant) {
        std::memset(data_.data(), 0, data_used_);
        data_used_ = 0;
        if (constant.level != kFormWhole && constant.level != kFormLength) {
            Listing("  konst^.level mish-mash !!!");
        } else if (constant.data == nullptr) {
            Listing("  konst^.data = nil !!!");
        } else if (constant.level == kFormWhole) {
            std::memcpy(data_.data(), constant.data, kConstantBytes);
            data_used_ = kConstantBytes;
        } else {
            std::size_t length = constant.length;
            if (length > kConstantBytes) {
                // The item's value is at most 256 bytes: the first 256 are
                // taken and the rest is not read.
                Anomaly("  konst^.length = " + to_string(length) + " > 256, first 256 bytes taken");
                length = kConstantBytes;
            }
            std::memcpy(data_.data(), constant.data, length);
            data_used_ = length;
        }
        return data_;
    }

    void Constant(const dLMN_NODE& node, dLM_OBJECT& object, const dLMN_CONST& constant) {
        dLM_DATAITEM* item = FindItem(object, constant.item);
        if (item == nullptr) {
            Listing("  konst not found: obj=", node.ident, ", instance=", node.instance,
                    ", item=", constant.item);
            return;
        }
        const std::span<std::uint8_t> data = ConstantData(constant);
        RecordItem convertible(*item);
        if (!CONVERT(ConvertDirection::BinToText, data, text_, 0, 0, &convertible,
                     Name(item->format), kMaxText, log_)) {
            if (listing_) out_.LineOf("  item ", Name(item->name), " = chyba konverze !");
            return;
        }
        if (listing_) {
            out_.LineOf("  item ", Name(item->name), " = ", text_, ", USER_VALUE = \"",
                        item->ext != nullptr ? item->ext->value.view() : std::string_view("<none>"),
                        '"');
        }
        if (node.ident == kProjectIdent && item->ident == kChecksumItem && item->ext != nullptr) {
            item->ext->value.assign(to_string(static_cast<std::int32_t>(checksum_)));
        }
        if (!constants_only_) Told(object, *item, WriteComOrder(out_, object, *item));
    }

    void UserItems(const dLM_OBJECT& object) {
        for (const dLM_DATAITEM* item = object.data_user; item != nullptr; item = item->next) {
            if (listing_) {
                out_.LineOf("  user_item ", Name(item->name), " = ",
                            item->ext == nullptr ? std::string_view("USER_DATA NIL-ERROR !")
                                                 : item->ext->value.view());
            }
            if (item->ext == nullptr || item->typ != kTypUser) continue;
            Told(object, *item,
                 item->ext->subtyp == kSubtypString ? WriteStringOrders(out_, object, *item)
                                                    : WriteComOrder(out_, object, *item));
        }
    }

    void Wires(const dLMN_NODE& node, const dLM_OBJECT& object) {
        if (node.connections == nullptr) return;
        const ChainLength wires = MeasureEntries(node.connections);
        const std::string_view name = listing_ ? Name(object.name) : std::string_view();
        const dLMN_CONNECT* wire = node.connections;
        for (std::size_t i = 0; i < wires.count; ++i) {
            if (wire->other != nullptr) Wire(object, name, *wire);
            wire = wire->next;
        }
        if (!budget_spent_)
            ChainEndLine("  !!! wire list", wires, limits_.entries, "entries, rest skipped");
    }

    // `name`: the block's name (in the listing only).
    void Wire(const dLM_OBJECT& object, std::string_view name, const dLMN_CONNECT& wire) {
        const dLM_OBJECT* other_object = WireSource(*wire.other);
        if (other_object == nullptr) return;
        const dLM_DATAITEM* item = FindItem(object, wire.item);
        const dLM_DATAITEM* other_item = FindItem(*other_object, wire.other_item);
        if (item == nullptr || other_item == nullptr) return;
        if (listing_) {
            out_.LineOf("  wire from ", name, '.', object.instance, '.', Name(item->name), " to ",
                        Name(other_object->name), '.', other_object->instance, '.',
                        Name(other_item->name));
        }
        Told(object, *item, WriteWireOrder(out_, object, *item, *other_object, *other_item));
    }

    const NetlistLimits limits_;
    const bool listing_;
    const bool constants_only_;
    InstanceList* const instances_;
    const std::uint32_t checksum_;
    ExportText& out_;
    LogSink& log_;
    LeftOutOrders* const left_out_;
    std::string text_;  // a constant's value text, reused for every constant
    std::array<std::uint8_t, kConstantBytes> data_{};  // a constant's bytes, see ConstantData
    std::size_t data_used_ = 0;                        // the bytes of data_ not zero
    std::array<Found, kFoundSlots> found_{};
    std::array<RecordItemTable, 2> items_{};  // see FindItem
    std::size_t older_items_ = 0;             // the table FindItem reads a record into next
    std::size_t remaining_ = 0;               // records the walk may still visit
    bool budget_spent_ = false;
};

}  // namespace

void ConvertNetlistConstants(const dLMN_NODE* head, InstanceList& instances, std::uint32_t checksum,
                             LogSink& log) {
    ExportText unused;
    WalkNetlist(NetListMode::Constants, head, &instances, checksum, unused, log);
}

void WalkNetlist(NetListMode mode, const dLMN_NODE* head, InstanceList* instances,
                 std::uint32_t checksum, ExportText& out, LogSink& log, const NetlistLimits& limits,
                 LeftOutOrders* left_out) {
    Walk(mode, instances, checksum, out, log, limits, left_out).Run(head);
}

}  // namespace lm
