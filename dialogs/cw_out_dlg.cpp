#include "dialogs/cw_out_dlg.h"

#include <optional>

#include "base/cp1250.h"
#include "settings/settings_numbers.h"

namespace lm::dialogs {
namespace {

using ui::ControlKind;

constexpr const char* kNameFields[kCwFileCount] = {"EditPARname", "EditDMFname", "EditCWname",
                                                   "EditCPName"};
constexpr const char* kCreateBoxes[kCwFileCount] = {"CheckBoxPAR", "CheckBoxDMF", "CheckBoxCW",
                                                    "CheckBoxCP"};

std::optional<long> FirstChannel(const std::string& text) {
    const std::optional<std::int32_t> value = settings::TypedInt(text);
    if (!value || *value < kMinFirstChannel || *value > kMaxFirstChannel) return std::nullopt;
    return *value;
}

}  // namespace

TCWOutDlg::TCWOutDlg(Platform& platform)
    : ui::Form("TCWOutDlg", std::string("Výstup do systému Control Panel / Web"_cp), 560, 440),
      platform_(platform) {
    Build();
}

void TCWOutDlg::Build() {
    centred = true;
    // One row per file; the CW row has the run box below it.
    struct FileRow {
        int y;
        const char* check;
        std::string_view caption;
        bool ticked;
        const char* edit;
        std::string_view name;
        const char* button;
    };
    const FileRow rows[kCwFileCount] = {
        {8, "CheckBoxPAR", "Vytvořit .PAR soubor"_cp, true, "EditPARname", "c:\\novy.par",
         "ButtonListPAR"},
        {32, "CheckBoxDMF", "Vytvořit .DMF soubor"_cp, true, "EditDMFname", "c:\\novy.dmf",
         "ButtonListDMF"},
        {56, "CheckBoxCW", "Vytvořit .CW + .RED "_cp, true, "EditCWname", "c:\\novy.cw",
         "ButtonListCW"},
        {104, "CheckBoxCP", "Vytvořit .CP "_cp, false, "EditCPName", "c:\\novy.cp", "ButtonListCP"},
    };
    for (const FileRow& row : rows) {
        Add(row.check, ControlKind::CheckBox, {8, row.y, 150, 17}, row.caption).checked =
            row.ticked;
        Add(row.edit, ControlKind::Edit, {160, row.y - 2, 220, 21}, row.name).max_length = 255;
        Add(row.button, ControlKind::Button, {384, row.y - 3, 60, 23}, "List...");
    }
    Add("CheckBoxCWrun", ControlKind::CheckBox, {24, 80, 200, 17}, "Po vytvoření otevřít v CW"_cp);
    Add("RadioGroup1", ControlKind::GroupBox, {8, 128, 180, 48}, "Návaznost na soubor"_cp);
    Add("RadioButton1", ControlKind::RadioButton, {8, 20, 80, 17}, "Přepsat"_cp, "RadioGroup1")
        .checked = true;
    Add("RadioButton2", ControlKind::RadioButton, {92, 20, 80, 17}, "Připojit"_cp, "RadioGroup1");
    Add("Label1", ControlKind::Label, {200, 134, 86, 13}, "Začít od kanálu"_cp);
    Add("EditOdKanalu", ControlKind::Edit, {200, 150, 80, 21}, "100").max_length = 5;
    Add("GroupBox1", ControlKind::GroupBox, {288, 128, 156, 48}, "Typ výstupu (ovladač)"_cp);
    Add("RadioButton3", ControlKind::RadioButton, {6, 20, 74, 17}, "KADEX-RT", "GroupBox1")
        .checked = true;
    Add("RadioButton4", ControlKind::RadioButton, {80, 20, 72, 17}, "PROFIBUS", "GroupBox1")
        .enabled = false;
    Add("Label2", ControlKind::Label, {8, 184, 300, 13}, "Seznam položek pro nadřízený systém"_cp);
    Add("CheckListBox1", ControlKind::CheckListBox, {8, 200, 436, 150}, "");
    Add("Button1", ControlKind::Button, {8, 356, 100, 25}, "Smazat všechny"_cp);
    Add("Button2", ControlKind::Button, {112, 356, 100, 25}, "Vybrat všechny"_cp);
    Add("CheckBoxShow", ControlKind::CheckBox, {220, 360, 224, 17},
        "Ukázat soubory po vytvoření"_cp)
        .checked = true;
    Add("LabelPort", ControlKind::Label, {8, 390, 436, 13}, "");
    Add("Image1", ControlKind::Image, {456, 8, 96, 96}, "");
    Add("OKBtn", ControlKind::Button, {456, 320, 96, 25}, "OK").default_button = true;
    Add("CancelBtn", ControlKind::Button, {456, 352, 96, 25}, "Zpět"_cp).cancel_button = true;

    using ui::Event;
    On("CheckBoxCW", Event::Click, [this] { CheckBoxCWClick(); });
    On("ButtonListPAR", Event::Click, [this] { ButtonListPARClick(); });
    On("ButtonListDMF", Event::Click, [this] { ButtonListDMFClick(); });
    On("ButtonListCW", Event::Click, [this] { ButtonListCWClick(); });
    On("ButtonListCP", Event::Click, [this] { ButtonListCPClick(); });
    On("Button1", Event::Click, [this] { Button1Click(); });
    On("Button2", Event::Click, [this] { Button2Click(); });
    On("OKBtn", Event::Click, [this] { OKBtnClick(); });
    On("CancelBtn", Event::Click, [this] { Close(ui::ModalResult::Cancel); });
}

void TCWOutDlg::SetItems(const std::vector<std::string>& entries) {
    ui::Control& list = (*this)["CheckListBox1"];
    list.items = entries;
    list.item_checks.assign(entries.size(), true);
}

void TCWOutDlg::SetFileNames(const std::array<std::string, kCwFileCount>& paths) {
    for (std::size_t i = 0; i < kCwFileCount; ++i) (*this)[kNameFields[i]].text = paths[i];
}

void TCWOutDlg::ChooseName(const char* field, std::string_view filter, std::string_view title) {
    std::string& name = (*this)[field].text;
    std::optional<std::string> chosen =
        platform_.ChooseSaveFile(std::string(title), std::string(filter), name);
    if (chosen) name = std::move(*chosen);
}

void TCWOutDlg::ButtonListPARClick() {
    ChooseName("EditPARname", "PAR soubory|*.PAR", "Uložit jako .PAR soubor..."_cp);
}

void TCWOutDlg::ButtonListDMFClick() {
    ChooseName("EditDMFname", "DMF soubory|*.DMF", "Uložit jako .DMF soubor..."_cp);
}

void TCWOutDlg::ButtonListCWClick() {
    ChooseName("EditCWname", "CW soubory|*.CW", "");
}

void TCWOutDlg::ButtonListCPClick() {
    ChooseName("EditCPName", "CP soubory|*.CP", "");
}

void TCWOutDlg::CheckBoxCWClick() {
    (*this)["CheckBoxCWrun"].enabled = (*this)["CheckBoxCW"].checked;
}

void TCWOutDlg::Button1Click() {
    ui::Control& list = (*this)["CheckListBox1"];
    list.item_checks.assign(list.items.size(), false);
}

void TCWOutDlg::Button2Click() {
    ui::Control& list = (*this)["CheckListBox1"];
    list.item_checks.assign(list.items.size(), true);
}

void TCWOutDlg::OKBtnClick() {
    if (!FirstChannel((*this)["EditOdKanalu"].text)) {
        platform_.ShowMessageBox(
            BoxKind::Error,
            "Chyba zadání počátečního kanálu.\rMusí být číslo v rozsahu 1-65000."_cp);
        return;
    }
    Close(ui::ModalResult::Ok);
}

CwExportChoice TCWOutDlg::Choice() const {
    const Form& f = *this;
    CwExportChoice choice;
    for (std::size_t i = 0; i < kCwFileCount; ++i) {
        choice.paths[i] = f[kNameFields[i]].text;
        choice.create[i] = f[kCreateBoxes[i]].checked;
    }
    choice.append = f["RadioButton2"].checked;
    choice.first_channel = FirstChannel(f["EditOdKanalu"].text).value_or(0);
    choice.show = f["CheckBoxShow"].checked;
    choice.run =
        f["CheckBoxCWrun"].checked && f["CheckBoxCWrun"].enabled && f["CheckBoxCW"].checked;
    return choice;
}

std::vector<bool> TCWOutDlg::Ticks() const {
    const ui::Control& list = (*this)["CheckListBox1"];
    std::vector<bool> ticks(list.items.size(), false);
    for (std::size_t i = 0; i < ticks.size() && i < list.item_checks.size(); ++i) {
        ticks[i] = list.item_checks[i];
    }
    return ticks;
}

}  // namespace lm::dialogs
