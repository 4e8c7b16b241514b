#include "dialogs/dlg_house.h"

#include "base/cp1250.h"
#include "ui/float_edit.h"

namespace lm::dialogs {
namespace {

using ui::ControlKind;

constexpr int kRowTop = 28;
constexpr int kRowStep = 24;
constexpr int kHelpFor6 = 11, kHelpFor12 = 18;

std::string Named(std::string_view prefix, int number) {
    std::string name(prefix);
    name += std::to_string(number);
    return name;
}

// Label1 numbers channel 0, Label6 to Label16 channels 1 to 11.
std::string RowLabel(int channel) {
    return channel == 0 ? std::string("Label1") : Named("Label", channel + 5);
}

std::string ChannelText(int channel) {
    return std::to_string(channel);
}

}  // namespace

TDlgHouse::TDlgHouse(Platform& platform, Files& files, std::string driver_dir, Fits range_fits)
    : ui::Form("TDlgHouse", std::string("Nastavení analogových vstupů"_cp), 0, 0),
      platform_(platform),
      driver_dir_(std::move(driver_dir)) {
    Build();
    FormCreate(files, range_fits);
    UseChannels(kMaxChannels);
}

void TDlgHouse::Build() {
    centred = true;
    width = 588;
    Add("Label2", ControlKind::Label, {8, 8, 40, 13}, "pozice");
    Add("Label3", ControlKind::Label, {56, 8, 60, 13}, "domeček"_cp);
    Add("Label4", ControlKind::Label, {288, 8, 130, 13}, "min    rozsah    max");
    Add("Label5", ControlKind::Label, {432, 8, 50, 13}, "korekce");
    const char separator = platform_.DecimalSeparator();
    for (int c = 0; c < kMaxChannels; ++c) {
        const int top = kRowTop + c * kRowStep;
        Add(RowLabel(c), ControlKind::Label, {16, top + 3, 16, 13}, ChannelText(c));
        auto& box = Add(Named("ComboBox", c + 1), ControlKind::ComboBox, {40, top, 240, 21}, "");
        box.read_only = true;
        box.drop_down_count = 15;
        box.items = {std::string("0 - bez domečku"_cp)};
        box.selection = 0;
        box.text = box.items.front();
        // The number fields keep the control's defaults: Increment 0, so the
        // arrow keys step nothing.
        Add(ui::MakeFloatEdit(Named("FloatEdit", 3 * c + 1), {288, top, 64, 21}, separator));
        Add(ui::MakeFloatEdit(Named("FloatEdit", 3 * c + 2), {356, top, 64, 21}, separator));
        Add(ui::MakeFloatEdit(Named("FloatEdit", 3 * c + 3), {432, top, 56, 21}, separator));
        On(box.name, ui::Event::Change, [this, c] { ComboBoxChange(c); });
    }
    // The counter switch mask lies below channel 5's row, its bit numbers
    // above the edit; the caption is as tall as the edit, the form's height
    // follows it.
    const int counter_top = kRowTop + 6 * kRowStep + 8;
    Add("l_counter", ControlKind::Label, {40, counter_top + 14, 90, 21}, "counter_switch");
    Add("e_counter", ControlKind::Edit, {136, counter_top + 14, 80, 21}, "00000000").max_length = 8;
    auto& ruler = Add("r_counter", ControlKind::Label, {140, counter_top, 76, 13}, "76543210");
    ruler.fixed_pitch = true;
    (*this)["e_counter"].fixed_pitch = true;
    auto& ok = Add("OKBtn", ControlKind::Button, {500, kRowTop, 75, 25}, "&OK");
    ok.default_button = true;
    Add("CancelBtn", ControlKind::Button, {500, kRowTop + 32, 75, 25}, "&Zpět"_cp).cancel_button =
        true;
    Add("Button1", ControlKind::Button, {500, kRowTop + 64, 75, 25}, "&Nápověda"_cp);
    Add("LabelXX", ControlKind::Label, {570, kRowTop + 12 * kRowStep + 4, 4, 13}, ".").visible =
        false;
    On("OKBtn", ui::Event::Click, [this] { OKBtnClick(); });
    On("CancelBtn", ui::Event::Click, [this] { CancelBtnClick(); });
    On("Button1", ui::Event::Click, [this] { Button1Click(); });
}

void TDlgHouse::FormCreate(Files& files, const Fits& range_fits) {
    Platform& platform = platform_;
    ranges_.fill(ChannelRange{});
    std::string path = driver_dir_ + kModuleFileName;
    if (!files.CanBeOpened(path)) path = driver_dir_ + kOldModuleFileName;
    const std::optional<std::string> text = files.ReadWhole(path);
    if (!text) {
        platform.ShowMessageBox(BoxKind::Error, "Chyba čtení konfigurace zásuvných modulů AI."_cp);
        return;
    }
    list_ = ParseModuleList(*text, range_fits);
    // What was left out of the file is told once; the dialog opens anyway.
    std::string notes;
    auto note = [&notes](std::string_view line) {
        if (!notes.empty()) notes += '\r';
        notes += line;
    };
    if (list_.modules.empty()) {
        note("Soubor "_cp + path + " neobsahuje žádný domeček; kanály mají vlastní rozsah."_cp);
    }
    if (list_.bad_line != 0) {
        std::string line = "Chyba čtení konfigurace zásuvných modulů AI."_cp;
        line += "\rŘádek "_cp;
        line += std::to_string(list_.bad_line);
        line += ": min a max nejsou čísla, domeček je vynechán."_cp;
        note(line);
    }
    if (list_.unfit_line != 0) {
        std::string line = "Řádek "_cp;
        line += std::to_string(list_.unfit_line);
        line += ": rozsah domečku nelze uložit do položek bloku, domeček je vynechán."_cp;
        note(line);
    }
    if (list_.too_many) {
        std::string line = "Soubor "_cp;
        line += path;
        line += " obsahuje více než "_cp;
        line += std::to_string(kMaxModules);
        line += " domečků; další jsou vynechány."_cp;
        note(line);
    }
    if (!notes.empty()) platform.ShowMessageBox(BoxKind::Error, notes);
    if (list_.modules.empty()) return;
    std::vector<std::string> items;
    items.reserve(list_.modules.size());
    for (const Module& m : list_.modules) items.push_back(m.shown());
    for (int c = 0; c < kMaxChannels; ++c) {
        ui::Control& box = ModuleBox(c);
        box.items = items;
        box.selection = 0;
        box.text = items.front();
    }
}

void TDlgHouse::UseChannels(int count) {
    channels_ = count > 6 ? kMaxChannels : 6;
    Form& f = *this;
    for (int c = 6; c < kMaxChannels; ++c) {
        const bool shown = channels_ == kMaxChannels;
        f[RowLabel(c)].visible = shown;
        ModuleBox(c).visible = shown;
        MinEdit(c).visible = shown;
        MaxEdit(c).visible = shown;
        CorrectionEdit(c).visible = shown;
    }
    const bool counter = channels_ == 6;
    for (const char* name : {"l_counter", "e_counter", "r_counter"}) f[name].visible = counter;
    const ui::Rect fit = counter ? f["l_counter"].bounds : f["LabelXX"].bounds;
    height = fit.top + fit.height + 31;
}

ui::Control& TDlgHouse::MinEdit(int c) {
    return (*this)[Named("FloatEdit", 3 * c + 1)];
}
ui::Control& TDlgHouse::MaxEdit(int c) {
    return (*this)[Named("FloatEdit", 3 * c + 2)];
}
ui::Control& TDlgHouse::CorrectionEdit(int c) {
    return (*this)[Named("FloatEdit", 3 * c + 3)];
}
ui::Control& TDlgHouse::ModuleBox(int c) {
    return (*this)[Named("ComboBox", c + 1)];
}

void TDlgHouse::SetFieldFits(const ui::Control& field, Fits fits) {
    field_fits_[field.name] = std::move(fits);
}

void TDlgHouse::Preselect(int channel, char code) {
    int chosen = 0;
    for (std::size_t i = 0; i < list_.modules.size(); ++i) {
        if (list_.modules[i].code() == code) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    ui::Control& box = ModuleBox(channel);
    box.selection = chosen;
    box.text = box.items.at(static_cast<std::size_t>(chosen));
    ComboBoxChange(channel);
}

char TDlgHouse::ChosenCode(int channel) {
    const int i = ModuleBox(channel).selection;
    if (i < 0 || static_cast<std::size_t>(i) >= list_.modules.size()) {
        // Nothing chosen, or no module list: the first module's code.
        return list_.modules.empty() ? kNoModuleCode : list_.modules.front().code();
    }
    return list_.modules[static_cast<std::size_t>(i)].code();
}

void TDlgHouse::ComboBoxChange(int channel) {
    const int i = ModuleBox(channel).selection;
    ui::TFloatEdit min(MinEdit(channel)), max(MaxEdit(channel));
    min.SetValue(i <= 0 || static_cast<std::size_t>(i) >= list_.modules.size()
                     ? range(channel).min
                     : list_.modules[static_cast<std::size_t>(i)].min);
    max.SetValue(i <= 0 || static_cast<std::size_t>(i) >= list_.modules.size()
                     ? range(channel).max
                     : list_.modules[static_cast<std::size_t>(i)].max);
    MinEdit(channel).enabled = i == 0;
    MaxEdit(channel).enabled = i == 0;
}

void TDlgHouse::Button1Click() {
    platform_.ShowHelp(driver_dir_ + "LMRX7.HLP", ModuleBox(11).visible ? kHelpFor12 : kHelpFor6);
}

void TDlgHouse::OKBtnClick() {
    for (int c = 0; c < channels_; ++c) {
        for (ui::Control* field : {&MinEdit(c), &MaxEdit(c), &CorrectionEdit(c)}) {
            ui::TFloatEdit edit(*field);
            if (!edit.Exit()) return;
            // A number the item cannot hold would be stored as another one:
            // the field takes the focus back, as for a text that is no number.
            const auto fits = field_fits_.find(field->name);
            if (fits != field_fits_.end() && fits->second && !fits->second(edit.Value())) {
                field->number.wants_focus = true;
                return;
            }
        }
    }
    Close(ui::ModalResult::Ok);
}

void TDlgHouse::CancelBtnClick() {
    Close(ui::ModalResult::Cancel);
}

}  // namespace lm::dialogs
