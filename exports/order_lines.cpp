#include "exports/order_lines.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "values/convertible_item.h"
#include "values/number_syntax.h"

namespace lm {
namespace {

constexpr unsigned kMaxOrderNumber = 255;

OrderBytes LittleEndian(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// The low `size` bytes of a whole number, the others zero.
std::optional<OrderBytes> LowBytes(std::optional<std::int64_t> value, int size) {
    if (!value) return std::nullopt;
    OrderBytes bytes = LittleEndian(static_cast<std::uint32_t>(*value));
    for (int i = size; i < 4; ++i) bytes[i] = 0;
    return bytes;
}

std::optional<std::int64_t> Int32Text(std::string_view text) {
    std::optional<std::int32_t> value = ParseInt32(text);
    if (!value) return std::nullopt;
    return *value;
}

std::optional<std::int64_t> DwordText(std::string_view text) {
    std::optional<std::int64_t> value = ParseInt64(text);
    if (!value || *value < INT32_MIN || *value > INT64_C(0xFFFFFFFF)) return std::nullopt;
    return value;
}

std::optional<OrderBytes> SingleBytes(std::string_view text) {
    std::optional<double> value = ParseDecimalReal(text);
    if (!value) return std::nullopt;
    const float single = static_cast<float>(*value);
    if (!std::isfinite(single)) return std::nullopt;
    return LittleEndian(std::bit_cast<std::uint32_t>(single));
}

bool Fits(unsigned number) {
    return number <= kMaxOrderNumber;
}

// The first of the three numbers of an order that does not fit a byte.
LeftOut OverByte(const dLM_OBJECT& instance, unsigned item) {
    LeftOutOrder over;
    if (!Fits(instance.ident)) {
        over.why = LeftOutOrder::Why::Ident;
        over.number = instance.ident;
    } else if (!Fits(instance.instance)) {
        over.why = LeftOutOrder::Why::Instance;
        over.number = instance.instance;
    } else if (!Fits(item)) {
        over.why = LeftOutOrder::Why::Item;
        over.number = item;
    } else {
        return std::nullopt;
    }
    return over;
}

bool HasOrderForm(std::uint8_t typ, std::uint8_t subtyp) {
    switch (typ) {
        case kTypByte:
        case kTypInt:
        case kTypWord:
        case kTypLong:
        case kTypDword:
            return true;
        case kTypUser:
            return subtyp == kSubtypFloat;
        default:
            return false;
    }
}

// " 0" to "255" right-aligned in three characters and followed by a space:
// the fields of an order line, each copied as four bytes.
constexpr auto kFields = [] {
    std::array<std::array<char, 4>, kMaxOrderNumber + 1> fields{};
    for (unsigned n = 0; n <= kMaxOrderNumber; ++n) {
        fields[n] = {n >= 100 ? static_cast<char>('0' + n / 100) : ' ',
                     n >= 10 ? static_cast<char>('0' + n / 10 % 10) : ' ',
                     static_cast<char>('0' + n % 10), ' '};
    }
    return fields;
}();

}  // namespace

void WriteOrderLine(ExportText& file, unsigned ident, unsigned instance, unsigned item,
                    const OrderBytes& bytes) {
    constexpr std::string_view kOrder = "QQwrite ";
    if (Fits(ident) && Fits(instance) && Fits(item)) {
        // The line the controller takes: laid out in one buffer, added whole.
        char line[kOrder.size() + 7 * 4];
        kOrder.copy(line, kOrder.size());
        char* at = line + kOrder.size();
        for (unsigned number : {ident, instance, item}) {
            std::memcpy(at, kFields[number].data(), 4);
            at += 4;
        }
        for (std::uint8_t byte : bytes) {
            std::memcpy(at, kFields[byte].data(), 4);
            at += 4;
        }
        file.Line(std::string_view(line, sizeof line - 1));  // no space after the last
        return;
    }
    file.Add(kOrder);
    file.AddUnsigned(ident, 3);
    for (unsigned number : {instance, item, unsigned{bytes[0]}, unsigned{bytes[1]},
                            unsigned{bytes[2]}, unsigned{bytes[3]}}) {
        file.Add(' ');
        file.AddUnsigned(number, 3);
    }
    file.EndLine();
}

std::optional<OrderBytes> OrderBytesOf(std::uint8_t typ, std::uint8_t subtyp,
                                       std::string_view text) {
    switch (typ) {
        case kTypByte:
            return LowBytes(Int32Text(text), 1);
        case kTypInt:
        case kTypWord:
            return LowBytes(Int32Text(text), 2);
        case kTypLong:
            return LowBytes(Int32Text(text), 4);
        case kTypDword:
            return LowBytes(DwordText(text), 4);
        case kTypUser:
            if (subtyp == kSubtypFloat) return SingleBytes(text);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string BlockItem(const dLM_OBJECT& instance, const dLM_DATAITEM& item) {
    std::string text = instance.name != nullptr ? instance.name : "";
    text += '.';
    text += std::to_string(instance.instance);
    text += '.';
    if (item.name != nullptr) text += item.name;
    return text;
}

LeftOut WriteComOrder(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item) {
    if (item.ext == nullptr || !HasOrderForm(item.typ, item.ext->subtyp)) return std::nullopt;
    if (LeftOut over = OverByte(instance, item.ident)) return over;
    std::optional<OrderBytes> bytes =
        OrderBytesOf(item.typ, item.ext->subtyp, item.ext->value.view());
    if (!bytes) {
        LeftOutOrder left_out;
        left_out.value = item.ext->value.view();
        return left_out;
    }
    WriteOrderLine(file, instance.ident, instance.instance, item.ident, *bytes);
    return std::nullopt;
}

LeftOut WriteWireOrder(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item,
                       const dLM_OBJECT& other_instance, const dLM_DATAITEM& other_item) {
    if (LeftOut over = OverByte(instance, item.ident)) return over;
    if (LeftOut over = OverByte(other_instance, other_item.ident)) {
        over->source = BlockItem(other_instance, other_item);
        return over;
    }
    const OrderBytes source = {static_cast<std::uint8_t>(other_item.ident),
                               static_cast<std::uint8_t>(other_instance.instance),
                               static_cast<std::uint8_t>(other_instance.ident), 0};
    WriteOrderLine(file, instance.ident, instance.instance, item.ident, source);
    return std::nullopt;
}

LeftOut WriteStringOrders(ExportText& file, const dLM_OBJECT& instance, const dLM_DATAITEM& item) {
    constexpr std::size_t kStringBytes = 32;
    constexpr unsigned kStringItems = 8;
    if (item.typ != kTypUser || item.ext == nullptr || item.ext->subtyp != kSubtypString) {
        return std::nullopt;
    }
    if (LeftOut over = OverByte(instance, item.ident + kStringItems - 1)) {
        over->string = true;
        if (over->why == LeftOutOrder::Why::Item) over->number = item.ident;
        return over;
    }
    const std::string_view value = item.ext->value.view();
    std::array<char, kStringBytes> text;
    text.fill(' ');
    const std::size_t length = value.copy(text.data(), kStringBytes);
    if (length < kStringBytes) text[length] = '\0';
    for (unsigned k = 0; k < kStringItems; ++k) {
        OrderBytes chars;
        for (unsigned i = 0; i < 4; ++i) chars[i] = static_cast<std::uint8_t>(text[4 * k + i]);
        WriteOrderLine(file, instance.ident, instance.instance, item.ident + k, chars);
    }
    return std::nullopt;
}

}  // namespace lm
