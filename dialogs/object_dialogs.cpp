#include "dialogs/object_dialogs.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "base/error_codes.h"
#include "dialogs/dialog_ini.h"
#include "dialogs/dlg_house.h"
#include "dialogs/dlg_str.h"
#include "instances/lookups.h"
#include "library/objects.h"
#include "settings/com_settings.h"
#include "ui/float_edit.h"
#include "values/convert.h"

namespace lm::dialogs {
namespace {

constexpr std::size_t kMaxItemValue = 80;

// Where the items of channel c lie: max at max_first + max_step * c, min at
// min_first + min_step * c, the correction at correction_first + c.
struct AnalogItems {
    int channels;
    std::uint16_t max_first, max_step, min_first, min_step, correction_first;
    std::uint16_t Max(int c) const { return static_cast<std::uint16_t>(max_first + max_step * c); }
    std::uint16_t Min(int c) const { return static_cast<std::uint16_t>(min_first + min_step * c); }
    std::uint16_t Correction(int c) const {
        return static_cast<std::uint16_t>(correction_first + c);
    }
};
constexpr AnalogItems kAnalog6{6, 30, 3, 31, 3, 62};
constexpr AnalogItems kAnalog12{12, 22, 2, 23, 2, 56};

std::string ValueOf(const dLM_DATAITEM& item) {
    return std::string(item.ext->value.view());
}

void SetValue(dLM_DATAITEM& item, std::string_view text) {
    item.ext->value.assign(text.substr(0, kMaxItemValue));
}

// An item of the instance that has a value (every built item has one).
dLM_DATAITEM* Item(const dLM_OBJECT& instance, std::uint16_t ident) {
    dLM_DATAITEM* item = ItemOfRecord(instance, ident);
    return item != nullptr && item->ext != nullptr ? item : nullptr;
}

// A range or correction as the block keeps it: "%11.2f" with a '.'.
std::string FixedText(double value) {
    char buffer[400];  // the widest double in "%.2f" has 309 digits
    std::snprintf(buffer, sizeof buffer, "%11.2f", value);
    std::string text(buffer);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

// Whether the item can hold the number as the dialog stores it ("%11.2f"):
// the text must fit an item's value, and the number the item's type. A real
// item (FLOAT, 3BF) takes what its conversion takes; an integer item its
// type's range. Cut or converted, the number would be stored as another one.
bool ItemHolds(const dLM_DATAITEM& item, double value) {
    std::string text = FixedText(value);
    if (text.size() > kMaxItemValue) return false;
    const std::uint8_t subtyp = item.ext->subtyp;
    switch (item.typ) {
        case kTypByte:
            return value >= 0 && value <= 0xFF;
        case kTypInt:
            return value >= -0x8000 && value <= 0x7FFF;
        case kTypWord:
            return value >= 0 && value <= 0xFFFF;
        case kTypLong:
            return value >= -2147483648.0 && value <= 2147483647.0;
        case kTypDword:
            return value >= 0 && value <= 4294967295.0;
        case kTypUser:
            if (subtyp == kSubtypFloat || subtyp == kSubtyp3BF) {
                std::uint8_t bytes[8] = {};
                NoLog quiet;
                return CONVERT(ConvertDirection::TextToBin, bytes, text, subtyp, item.typ, nullptr,
                               item.format != nullptr ? item.format : "", kMaxText, quiet);
            }
            return true;
        default:
            return true;
    }
}

// The run of string user items that begins with the first of them.
std::vector<dLM_DATAITEM*> TextItems(const dLM_OBJECT& instance) {
    dLM_DATAITEM* item = instance.data_user;
    while (item != nullptr && !IsStringRecord(*item)) item = item->next;
    std::vector<dLM_DATAITEM*> items;
    for (; item != nullptr && IsStringRecord(*item); item = item->next) items.push_back(item);
    return items;
}

}  // namespace

std::string KavlinParameters(int port, int speed, int address, int relay, bool rs485,
                             double timeout, int instance) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%d %d %d %d %d %2.1f %d", port, speed, address, relay,
                  rs485 ? 1 : 0, timeout, instance);
    return buffer;
}

bool ObjectDialogs::ObjectDialog(PARAM_ENTRY& record) {
    context_.log.Write("LM ENTRY: ObjectDialog");
    dLM_OBJECT* instance = instances_.Find(record.wparam1, record.wparam2);
    if (instance == nullptr || (instance->attributes & kAttrSpecDial) == 0) return false;
    Dispatch(*instance);
    record.error = kErrOk;
    return true;
}

void ObjectDialogs::Dispatch(dLM_OBJECT& instance) {
    switch (instance.ident) {
        case kAnalog6Ident:
        case kAnalog12Ident:
            AnalogDialog(instance);
            break;
        case kKavlinIdent:
            StartKavlin(instance);
            break;
        default:
            TextItemsDialog(instance);
            break;
    }
}

void ObjectDialogs::AnalogDialog(dLM_OBJECT& instance) {
    Platform& platform = context_.platform;
    const AnalogItems& at = instance.ident == kAnalog6Ident ? kAnalog6 : kAnalog12;
    dLM_DATAITEM* linearisation = Item(instance, kLinearisationItem);
    if (linearisation == nullptr) {
        platform.ShowMessageBox(BoxKind::Error, "Nenalezena položka LINEARISATION (ID=69) !"_cp);
        return;
    }
    // Character c+1 is channel c's module code; a code that names no module
    // (or none at all) preselects the first module.
    const std::string codes = ValueOf(*linearisation);
    // A module's range goes into every channel's min and max items.
    std::vector<const dLM_DATAITEM*> range_items;
    for (int c = 0; c < at.channels; ++c) {
        for (std::uint16_t ident : {at.Max(c), at.Min(c)})
            if (const dLM_DATAITEM* item = Item(instance, ident)) range_items.push_back(item);
    }
    TDlgHouse dialog(platform, platform.files(), context_.driver_dir, [&](double value) {
        return std::all_of(range_items.begin(), range_items.end(),
                           [value](const dLM_DATAITEM* item) { return ItemHolds(*item, value); });
    });
    for (int c = 0; c < at.channels; ++c) {
        // A value that is no number leaves the field's initial value, which
        // OK then writes over the item's text.
        auto fill = [&](std::uint16_t ident, ui::Control& field, double* own) {
            const dLM_DATAITEM* item = Item(instance, ident);
            if (item == nullptr) return;
            dialog.SetFieldFits(field, [item](double v) { return ItemHolds(*item, v); });
            const std::optional<double> value = ui::ParseReal(ValueOf(*item), '.');
            if (!value) return;
            if (own != nullptr) *own = *value;
            ui::TFloatEdit(field).SetValue(*value);
        };
        fill(at.Max(c), dialog.MaxEdit(c), &dialog.range(c).max);
        fill(at.Min(c), dialog.MinEdit(c), &dialog.range(c).min);
        fill(at.Correction(c), dialog.CorrectionEdit(c), nullptr);
    }
    dialog.UseChannels(at.channels);
    dLM_DATAITEM* counter = at.channels == 6 ? Item(instance, kCounterItem) : nullptr;
    if (counter != nullptr) dialog["e_counter"].text = Bounded(ValueOf(*counter), 8);
    for (int c = 0; c < at.channels; ++c) {
        dialog.Preselect(c, static_cast<std::size_t>(c) < codes.size() ? codes[c] : '\0');
    }
    if (platform.ShowModal(dialog) != ui::ModalResult::Ok) return;

    data_changed_ = true;
    std::string chosen;
    for (int c = 0; c < at.channels; ++c) chosen += dialog.ChosenCode(c);
    SetValue(*linearisation, chosen);
    for (int c = 0; c < at.channels; ++c) {
        auto store = [&](std::uint16_t ident, ui::Control& field) {
            if (dLM_DATAITEM* item = Item(instance, ident))
                SetValue(*item, FixedText(ui::TFloatEdit(field).Value()));
        };
        store(at.Max(c), dialog.MaxEdit(c));
        store(at.Min(c), dialog.MinEdit(c));
        store(at.Correction(c), dialog.CorrectionEdit(c));
    }
    if (counter != nullptr) SetValue(*counter, dialog["e_counter"].text);
}

void ObjectDialogs::StartKavlin(const dLM_OBJECT& instance) {
    // The settings are read first, for every instance: a missing SETCOM.INI
    // is told even where no tool would start. Only instances 1 to 4 have one.
    Platform& platform = context_.platform;
    settings::TComSettings s;
    if (!settings::ReadComSettings(platform.files(), platform, context_.driver_dir, s,
                                   settings::kMaxIpText, context_.log)) {
        return;
    }
    if (instance.instance < 1 || instance.instance > 4) return;
    const int result =
        platform.ShellOpen(context_.driver_dir + kKavlinProgram,
                           KavlinParameters(s.ComPort, s.ComSpeed, s.Address, s.Retranslation,
                                            s.RS485, s.TimeOut, instance.instance),
                           "", ShowMode::Normal);
    if (result <= 32) {
        // A tool that did not start is told, not taken for a success.
        context_.log.WriteWith([&] {
            return "ObjectDialog: KAVLIN.EXE not started, shell result " + std::to_string(result);
        });
        std::string text = "Chyba (kód "_cp;
        text += std::to_string(result);
        text += ") během startu "_cp;
        text += kKavlinProgram;
        text += '.';
        platform.ShowMessageBox(BoxKind::Error, text);
    }
}

void ObjectDialogs::TextItemsDialog(dLM_OBJECT& instance) {
    Platform& platform = context_.platform;
    Files& files = platform.files();
    const std::vector<dLM_DATAITEM*> items = TextItems(instance);
    if (items.empty()) return;
    // The table holds 32 rows: further items are neither shown nor changed.
    const std::size_t shown = std::min(items.size(), kMaxTextRows);
    if (items.size() > kMaxTextRows) {
        std::string text = "Blok má "_cp;
        text += std::to_string(items.size());
        text += " textových položek; tabulka ukáže prvních "_cp;
        text += std::to_string(kMaxTextRows);
        text += ", ostatní zůstanou beze změny."_cp;
        platform.ShowMessageBox(BoxKind::Error, text);
    }
    StringTable table;
    table.title = ReadZeroText(instance.name);
    table.title += '.';
    table.title += std::to_string(instance.instance);
    for (std::size_t i = 0; i < shown; ++i) {
        const dLM_DATAITEM& item = *items[i];
        table.rows.push_back(
            {Bounded(ReadZeroText(item.name), kMaxRowText), Bounded(ValueOf(item), kMaxRowText)});
        table.maximum = std::max<int>(table.maximum, item.ext->subindex);
    }
    const std::string path = context_.driver_dir + kDialogFileName;
    if (FileStatus written = WriteStringTable(files, context_.driver_dir, table); !written) {
        platform.ShowMessageBox(BoxKind::Error,
                                FileErrorText(path, "zapsat", ": ", written.reason));
        return;
    }
    ui::ModalResult result;
    {
        TDlgStr dialog(platform, files, context_.driver_dir);
        dialog.SetEditable(!(run_mode_ && run_mode_()));
        result = platform.ShowModal(dialog);
    }
    // Cancel leaves every text as it was, longer ones than a row holds too.
    if (result != ui::ModalResult::Ok) return;
    data_changed_ = true;
    const std::optional<StringTable> back = ReadStringTable(files, context_.driver_dir);
    if (!back) {
        platform.ShowMessageBox(
            BoxKind::Error,
            FileErrorText(path, "přečíst"_cp, "; texty bloku zůstaly beze změny."_cp));
        return;
    }
    // A row left as it was handed over keeps the item's whole text, which
    // may be longer than a row shows.
    const std::size_t rows = std::min(shown, back->rows.size());
    for (std::size_t i = 0; i < rows; ++i) {
        if (back->rows[i].text != table.rows[i].text) SetValue(*items[i], back->rows[i].text);
    }
}

}  // namespace lm::dialogs
