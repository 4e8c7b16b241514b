#include "tools/lumarsim/run_session.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/item_codes.h"
#include "values/short_real.h"

namespace lumarsim {
namespace {

constexpr std::uint16_t kStartRun = 7, kStopRun = 8, kOrderData = 15, kSetData = 17, kAkceItem = 19,
                        kBinToStr = 36, kStrToBin = 37;
constexpr std::uint32_t kTestMinMax = 0x04;  // the data item service's limit test
constexpr std::uint16_t kAskStopRun = 8;     // dlm_func: the host is to call StopRUN
constexpr std::uint16_t kDefaultPeriod = 5;  // every input and output twice a second
constexpr int kClosingTicks = 30;            // for the program to end after StopRUN
constexpr std::size_t kHexShown = 16;        // bytes of a value shown without a text

std::optional<std::uint32_t> Number(std::string_view text) {
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool SameName(const char* cp1250, std::string_view utf8) {
    return cp1250 != nullptr && Upper(lm::ReadZeroText(cp1250)) == Upper(lm::Utf8ToCp1250(utf8));
}

const dLM_DATAITEM* FindItem(const dLM_OBJECT& object, std::string_view name) {
    const auto ident = Number(name);
    for (const dLM_DATAITEM* list :
         {object.d_in, object.d_out, object.d_init, object.d_prom, object.data_user}) {
        for (const dLM_DATAITEM* item = list; item != nullptr; item = item->next) {
            if (ident ? item->ident == *ident : SameName(item->name, name)) return item;
        }
    }
    return nullptr;
}

ItemRef RefOf(const dLM_OBJECT& object, std::uint16_t instance, const dLM_DATAITEM& item,
              std::string label) {
    ItemRef ref;
    ref.label = std::move(label);
    ref.ident = object.ident;
    ref.instance = instance;
    ref.item = item.ident;
    ref.typ = item.typ;
    ref.format = item.format != nullptr ? lm::ReadZeroText(item.format) : std::string();
    if (item.ext != nullptr) {
        ref.limits = (item.attributes & lm::kAttrJeMinMax) != 0 &&
                     !(item.typ == lm::kTypUser && item.ext->subtyp == lm::kSubtypString);
        ref.min = lm::DecodeShortReal(item.ext->min);
        ref.max = lm::DecodeShortReal(item.ext->max);
    }
    return ref;
}

std::string Hex(const std::uint8_t* data, std::size_t count) {
    std::string hex;
    for (std::size_t i = 0; i < count; ++i) {
        char b[4];
        std::snprintf(b, sizeof b, i == 0 ? "%02X" : " %02X", data[i]);
        hex += b;
    }
    return hex;
}

}  // namespace

std::optional<ItemRef> ResolveItem(const std::string& text, const dLM_OBJECT* objects,
                                   const Project& project, std::string& error) {
    const std::size_t dot = text.find('.');
    const std::size_t colon = text.find(':');
    if (dot == std::string::npos || colon == std::string::npos || colon > dot) {
        error = text + ": expected BLOCK.ITEM with BLOCK as NAME:INSTANCE or IDENT:INSTANCE";
        return std::nullopt;
    }
    const std::string_view whole(text);
    const std::string_view object_name = whole.substr(0, colon);
    const auto instance = Number(whole.substr(colon + 1, dot - colon - 1));
    const std::string_view item_name = whole.substr(dot + 1);
    const auto ident = Number(object_name);
    const dLM_OBJECT* object = objects;
    while (object != nullptr &&
           !(ident ? object->ident == *ident : SameName(object->name, object_name)))
        object = object->next;
    if (object == nullptr || !instance || *instance > 0xFFFF) {
        error = text + ": no such object in the library";
        return std::nullopt;
    }
    const bool placed = std::any_of(project.blocks.begin(), project.blocks.end(), [&](auto& b) {
        return b.ident == object->ident && b.instance == *instance;
    });
    if (!placed) {
        error = text + ": the project has no such block";
        return std::nullopt;
    }
    const dLM_DATAITEM* item = FindItem(*object, item_name);
    if (item == nullptr) {
        error = text + ": the object has no such item";
        return std::nullopt;
    }
    return RefOf(*object, static_cast<std::uint16_t>(*instance), *item, text);
}

int RunSession::Call(PARAM_ENTRY& record, const char* name) {
    const int result = library_.Call(record);
    std::fprintf(out_, "> %-14s code %2u -> %s, error %u, wparam1 %u, dlm_func %u\n", name,
                 record.lmd_func, result ? "TRUE" : "FALSE", record.error, record.wparam1,
                 record.dlm_func);
    return result;
}

bool RunSession::Resolve(const dLM_OBJECT* objects, const Project& project,
                         const RunOptions& options) {
    bool ok = true;
    std::string error;
    for (const std::string& request : options.orders) {
        const std::size_t at = request.rfind('@');
        const auto period = at == std::string::npos ? std::nullopt : Number(request.substr(at + 1));
        if (!period || *period == 0 || *period > 0xFFFF) {
            std::fprintf(stderr, "lumarsim: %s: expected BLOCK.ITEM@PERIOD (tenths of a second)\n",
                         request.c_str());
            ok = false;
            continue;
        }
        if (auto ref = ResolveItem(request.substr(0, at), objects, project, error)) {
            orders_.push_back({*ref, static_cast<std::uint16_t>(*period)});
        } else {
            std::fprintf(stderr, "lumarsim: %s\n", error.c_str());
            ok = false;
        }
    }
    explicit_orders_ = !options.orders.empty();
    if (!explicit_orders_) {
        // Every input and output of every block.
        for (const ProjectBlock& block : project.blocks) {
            const dLM_OBJECT* object = objects;
            while (object != nullptr && object->ident != block.ident) object = object->next;
            if (object == nullptr) continue;
            for (const dLM_DATAITEM* list : {object->d_in, object->d_out}) {
                for (const dLM_DATAITEM* item = list; item != nullptr; item = item->next) {
                    std::string label = lm::Cp1250ToUtf8(lm::ReadZeroText(object->name));
                    label += ':';
                    label += std::to_string(block.instance);
                    label += '.';
                    label += lm::Cp1250ToUtf8(lm::ReadZeroText(item->name));
                    orders_.push_back(
                        {RefOf(*object, block.instance, *item, std::move(label)), kDefaultPeriod});
                }
            }
        }
    }
    for (const std::string& request : options.sets) {
        const std::size_t eq = request.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "lumarsim: %s: expected BLOCK.ITEM=VALUE\n", request.c_str());
            ok = false;
            continue;
        }
        if (auto ref = ResolveItem(request.substr(0, eq), objects, project, error)) {
            writes_.push_back({*ref, request.substr(eq + 1)});
        } else {
            std::fprintf(stderr, "lumarsim: %s\n", error.c_str());
            ok = false;
        }
    }
    seen_.assign(orders_.size(), Seen{});
    return ok;
}

bool RunSession::StartRun(std::uint32_t crc) {
    PARAM_ENTRY r{};
    r.lmd_func = kStartRun;
    r.lparam1 = crc;
    const int result = Call(r, "StartRUN");
    if (result != 1 || r.wparam1 != 1) ++failures_;
    if (r.dlm_func == kAskStopRun) {
        std::fprintf(out_, "  the driver could not start run mode and asks for StopRUN\n");
        return false;
    }
    return result == 1;
}

void RunSession::StopRun() {
    PARAM_ENTRY r{};
    r.lmd_func = kStopRun;
    if (Call(r, "StopRUN") != 1) ++failures_;
}

bool RunSession::Order(const RunOrder& order, std::uintptr_t tag) {
    PARAM_ENTRY r{};
    r.lmd_func = kOrderData;
    r.wparam1 = order.ref.ident;
    r.wparam2 = order.ref.instance;
    r.lparam1 = order.ref.item;
    r.lparam2 = host_.window();
    r.data1 = reinterpret_cast<void*>(tag);
    std::uint16_t period = order.period;
    r.data2 = &period;
    const int result = library_.Call(r);
    std::fprintf(out_, "  order %-24s every %.1f s -> %s\n", order.ref.label.c_str(),
                 order.period / 10.0, result == 1 && r.wparam1 == 1 ? "placed" : "REFUSED");
    if (result != 1 || r.wparam1 != 1) ++failures_;
    return result == 1;
}

bool RunSession::WithinLimits(const RunWrite& write, const std::string& text) {
    if (!write.ref.limits) return true;
    PARAM_ENTRY test{};
    test.lmd_func = kAkceItem;
    test.wparam1 = write.ref.ident;
    test.wparam2 = write.ref.item;
    test.lparam1 = kTestMinMax;
    test.string1 = const_cast<char*>(text.c_str());
    library_.Call(test);
    return (test.lparam2 & kTestMinMax) != 0;
}

void RunSession::Write(const RunWrite& write) {
    const std::string text = lm::Utf8ToCp1250(write.value);
    // As the host: the typed value is tested against the item's limits, then
    // turned into the item's bytes. The host warns and writes all the same.
    if (!WithinLimits(write, text)) {
        std::fprintf(out_,
                     "  set %s = %s: warning: outside the item's range %g .. %g (TESTMINMAX)\n",
                     write.ref.label.c_str(), write.value.c_str(), write.ref.min, write.ref.max);
    }
    if (program_seen_ && !host_.ProgramRunning()) {
        std::fprintf(out_, "  !! set %s = %s: not delivered, the line has ended\n",
                     write.ref.label.c_str(), write.value.c_str());
        ++failures_;
        return;
    }
    PARAM_ENTRY convert{};
    convert.lmd_func = kStrToBin;
    convert.wparam1 = write.ref.typ;
    convert.string1 = const_cast<char*>(text.c_str());
    convert.string2 = const_cast<char*>(write.ref.format.c_str());
    if (library_.Call(convert) != 1 || convert.wparam1 != 1 || convert.data1 == nullptr) {
        std::fprintf(out_, "  set %s = %s: the driver cannot convert the value (error %u)\n",
                     write.ref.label.c_str(), write.value.c_str(), convert.error);
        ++failures_;
        return;
    }
    std::uint8_t bytes[4] = {};
    std::memcpy(bytes, convert.data1, std::min<std::size_t>(convert.wparam2, sizeof bytes));
    PARAM_ENTRY r{};
    r.lmd_func = kSetData;
    r.wparam1 = write.ref.ident;
    r.wparam2 = write.ref.instance;
    r.lparam1 = write.ref.item;
    r.data2 = bytes;
    const int result = library_.Call(r);
    std::fprintf(out_, "  set %s = %s (%s) -> %s\n", write.ref.label.c_str(), write.value.c_str(),
                 Hex(bytes, sizeof bytes).c_str(), result == 1 ? "sent" : "REFUSED");
    if (result != 1) {
        std::fprintf(out_, "  !! set %s = %s: not delivered, SetData refused it\n",
                     write.ref.label.c_str(), write.value.c_str());
        ++failures_;
    }
}

void RunSession::WatchLine(int tick) {
    if (line_ended_) return;
    if (host_.ProgramRunning()) {
        program_seen_ = true;
    } else if (program_seen_) {
        line_ended_ = true;
        ++failures_;
        std::fprintf(out_,
                     "  !! %5.1f s  the line has ended: the communication program went "
                     "before StopRUN\n",
                     tick / 10.0);
    }
}

std::optional<std::string> RunSession::Text(const ItemRef& ref, const std::uint8_t* data) {
    PARAM_ENTRY r{};
    r.lmd_func = kBinToStr;
    r.wparam1 = ref.typ;
    r.data1 = const_cast<std::uint8_t*>(data);
    r.string1 = const_cast<char*>(ref.format.c_str());
    if (library_.Call(r) != 1 || r.wparam1 != 1 || r.string2 == nullptr) return std::nullopt;
    return lm::Cp1250ToUtf8(lm::ReadZeroText(r.string2));
}

void RunSession::Show(int tick) {
    for (const LiveAnswer& answer : host_.TakeAnswers()) {
        const dLM_ITEMDATA& a = answer.record;
        for (std::size_t i = 0; i < orders_.size(); ++i) {
            const ItemRef& ref = orders_[i].ref;
            if (ref.ident != a.obj || ref.instance != a.instance ||
                static_cast<std::uint8_t>(ref.item) != a.item)
                continue;
            Seen& seen = seen_[i];
            std::string shown;
            // A failure answer carries timeout 1. A data answer carries
            // timeout 0 and valid 1 and is a value, even when `failed` is
            // still 1: the driver latches that mark after the order's first
            // failure, and a host shows it beside the value, not instead.
            if (a.timeout != 0 || a.valid == 0) {
                ++seen.failures;
                shown = "(failed)";
            } else {
                ++seen.values;
                const std::size_t length = std::min<std::size_t>(a.length, kHexShown);
                if (auto text = Text(ref, answer.data.data())) {
                    shown = *text;
                } else {
                    shown = '[';
                    shown += Hex(answer.data.data(), length);
                    shown += ']';
                }
                if (a.failed != 0) shown += "  (failed before)";
            }
            if (shown == seen.last) continue;
            seen.last = shown;
            std::fprintf(out_, "  %5.1f s  %-24s = %s\n", tick / 10.0, ref.label.c_str(),
                         shown.c_str());
        }
    }
}

bool RunSession::Play(const dLM_OBJECT* objects, const Project& project,
                      const RunOptions& options) {
    if (!Resolve(objects, project, options)) return false;
    std::fprintf(out_, "\nrun mode for %d s, %zu orders, %zu writes\n", options.seconds,
                 orders_.size(), writes_.size());
    const bool started = StartRun(options.crc);
    if (!started) {
        StopRun();
        return false;
    }
    for (std::size_t i = 0; i < orders_.size(); ++i) Order(orders_[i], i + 1);
    const int ticks = options.seconds * 10;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick == ticks / 2)
            for (const RunWrite& write : writes_) Write(write);
        host_.Wait(1);
        Show(tick);
        WatchLine(tick);
    }
    StopRun();
    // The program answers "CLOSE|" and ends; the wait is bounded.
    int closing = 0;
    while (closing < kClosingTicks && host_.ProgramRunning()) {
        host_.Wait(1);
        ++closing;
    }
    Show(ticks + closing);
    if (host_.ProgramRunning()) {
        std::fprintf(out_, "  !! the communication program is still running\n");
        ++failures_;
    } else {
        std::fprintf(out_, "  the communication program has ended\n");
    }

    std::fprintf(out_, "\nlive values at the end\n");
    bool any = false, all = true;
    for (std::size_t i = 0; i < orders_.size(); ++i) {
        const Seen& seen = seen_[i];
        std::fprintf(out_, "  %-24s = %-16s %zu values, %zu failed\n", orders_[i].ref.label.c_str(),
                     seen.last.empty() ? "(none)" : seen.last.c_str(), seen.values, seen.failures);
        any = any || seen.values > 0;
        all = all && seen.values > 0;
    }
    if (host_.lost() > 0) std::fprintf(out_, "  %zu answers not kept\n", host_.lost());
    const bool values_ok = explicit_orders_ ? all : (any || orders_.empty());
    return failures_ == 0 && values_ok;
}

}  // namespace lumarsim
