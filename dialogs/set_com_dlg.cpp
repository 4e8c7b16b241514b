#include "dialogs/set_com_dlg.h"

#include <algorithm>
#include <iterator>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "service/file_error_box.h"
#include "settings/settings_numbers.h"

namespace lm::dialogs {
namespace {

using settings::TComProfile;
using settings::TComSettings;
using ui::ControlKind;

constexpr CpText kNewProfile = "<nový profil>"_cp;
constexpr const char kHelpFile[] = "LMRX7.HLP";

TComSettings SettingsOf(const TComProfile& p) {
    return {p.ComPort, p.ComSpeed, p.Address, p.Retranslation, p.RS485,
            p.TimeOut, p.TCP,      p.TCPIP,   p.TCPPort};
}

// A number typed in an edit box, within [low, high].
std::optional<std::int32_t> Whole(const std::string& text, std::int32_t low, std::int32_t high) {
    std::optional<std::int32_t> value = settings::TypedInt(text);
    if (value && (*value < low || *value > high)) return std::nullopt;
    return value;
}

}  // namespace

TSetComDlg::TSetComDlg(Platform& platform, Files& files, std::string driver_dir, LogSink& log)
    : ui::Form("TSetComDlg", std::string("Nastavení komunikace"_cp), 0, 0),
      platform_(platform),
      files_(files),
      driver_dir_(std::move(driver_dir)),
      log_(log),
      separator_(platform.DecimalSeparator()) {
    Build();
    Inicializace();
}

void TSetComDlg::Build() {
    centred = true;
    Add("Edit1", ControlKind::Edit, {8, 8, 185, 21}, "").max_length = settings::kMaxProfileName;
    Add("ListBox1", ControlKind::ListBox, {8, 34, 185, 176}, "");
    Add("Button1", ControlKind::Button, {8, 216, 59, 25}, "&Opravit");
    Add("Button3", ControlKind::Button, {71, 216, 59, 25}, "&Přidat"_cp);
    Add("Button2", ControlKind::Button, {134, 216, 59, 25}, "&Smazat");

    Add("RadioGroupHandShake", ControlKind::GroupBox, {204, 2, 140, 66}, "Připojení"_cp).hint =
        "Způsob připojení"_cp;
    Add("RadioButtonRS232", ControlKind::RadioButton, {10, 18, 60, 17}, "RS232",
        "RadioGroupHandShake");
    Add("RadioButtonRS485", ControlKind::RadioButton, {10, 41, 60, 17}, "RS485",
        "RadioGroupHandShake");
    Add("RadioButtonModem", ControlKind::RadioButton, {74, 18, 60, 17}, "Modem",
        "RadioGroupHandShake")
        .enabled = false;
    Add("RadioButtonTCP", ControlKind::RadioButton, {74, 41, 60, 17}, "TCP", "RadioGroupHandShake");
    Add("Image1", ControlKind::Image, {354, 8, 56, 56}, "").picture = driver_dir_ + kSetComImageRs;
    Add("Image2", ControlKind::Image, {354, 8, 56, 56}, "").picture = driver_dir_ + kSetComImageTcp;

    Add("LabelPort", ControlKind::Label, {204, 82, 100, 13}, "Port");
    auto& port = Add("ComboBoxPort", ControlKind::ComboBox, {310, 78, 100, 21}, "");
    port.read_only = true;
    port.hint = "Výběr komunikačního portu COM"_cp;
    for (int i = 1; i <= kComPorts; ++i) port.items.push_back("COM" + std::to_string(i));
    Add("LabelSpeed", ControlKind::Label, {204, 108, 100, 13}, "Rychlost");
    auto& speed = Add("ComboBoxSpeed", ControlKind::ComboBox, {310, 104, 100, 21}, "");
    speed.read_only = true;
    speed.hint = "Výběr komunikační rychlosti"_cp;
    for (int s : kSpeeds) speed.items.push_back(std::to_string(s));
    Add("LabelIP", ControlKind::Label, {204, 134, 100, 13}, "IP");
    Add("EditIP", ControlKind::Edit, {310, 130, 100, 21}, "").max_length = settings::kMaxProfileIP;
    Add("LabelIPPort", ControlKind::Label, {204, 160, 100, 13}, "Port");
    Add("EditPort", ControlKind::Edit, {310, 156, 100, 21}, "").max_length = 5;
    Add("LabelAddress", ControlKind::Label, {204, 186, 100, 13}, "Adresa");
    auto& address = Add("EditAddress", ControlKind::Edit, {310, 182, 100, 21}, "");
    address.max_length = 3;
    address.hint = "Cílová adresa (1 až 255)"_cp;
    Add("LabelRetra", ControlKind::Label, {204, 212, 100, 13}, "Retranslace");
    auto& retra = Add("EditRetra", ControlKind::Edit, {310, 208, 100, 21}, "");
    retra.max_length = 3;
    retra.hint = "Retranslační adresa (1 až 255)"_cp;
    Add("LabelTOut", ControlKind::Label, {204, 238, 100, 13}, "Čas na odpověď [sec]"_cp);
    auto& timeout = Add("EditTOut", ControlKind::Edit, {310, 234, 100, 21}, "");
    timeout.max_length = 6;
    timeout.hint = "TimeOut pro příjem odpovědi";

    auto& error = Add("LabelErr", ControlKind::Label, {8, 248, 97, 13}, " CHYBA ZADÁNÍ "_cp);
    error.bold = true;
    error.text_colour = ui::kYellow;
    error.back_colour = ui::kRed;
    Add("ButtonOK", ControlKind::Button, {8, 266, 75, 25}, "&Vybrat").default_button = true;
    Add("ButtonSave", ControlKind::Button, {90, 266, 75, 25}, "&Uložit"_cp);
    Add("ButtonCancel", ControlKind::Button, {172, 266, 75, 25}, "&Zpět"_cp).cancel_button = true;
    Add("HelpBtn", ControlKind::Button, {335, 266, 75, 25}, "&Nápověda"_cp);
    Add("LabelXX", ControlKind::Label, {410, 278, 5, 13}, "").visible = false;

    using ui::Event;
    On("ListBox1", Event::Click, [this] { ListBox1Click(); });
    On("ListBox1", Event::DoubleClick, [this] { ListBox1DblClick(); });
    On("Button1", Event::Click, [this] { Button1Click(); });
    On("Button3", Event::Click, [this] { Button3Click(); });
    On("Button2", Event::Click, [this] { Button2Click(); });
    On("ButtonOK", Event::Click, [this] { ButtonOKClick(); });
    On("ButtonSave", Event::Click, [this] { ButtonSaveClick(); });
    On("ButtonCancel", Event::Click, [this] { ButtonCancelClick(); });
    On("HelpBtn", Event::Click, [this] { HelpBtnClick(); });
    for (const char* radio : {"RadioButtonRS232", "RadioButtonRS485", "RadioButtonTCP"}) {
        On(radio, Event::Click, [this] { RadioButtonRS232Click(); });
    }
}

void TSetComDlg::Inicializace() {
    Form& f = *this;
    f["LabelErr"].visible = false;
    edit_mode_ = false;
    edit_kind_ = EditKind::None;
    f["ListBox1"].items.clear();
    f["Edit1"].text.clear();
    prev_position_ = -1;

    table_ = settings::ProfileTable();
    TComSettings active;
    settings::ReadComSettings(files_, platform_, driver_dir_, active, settings::kMaxIpText, log_);
    settings::LoadProfiles(files_, driver_dir_ + settings::kProfilesFileName, table_, separator_,
                           log_);
    if (table_.count == 0) {
        table_.count = 1;
        table_.position = 0;
        TComProfile& p = table_.entries[0];
        p = {"_default",
             active.ComPort,
             active.ComSpeed,
             active.TimeOut,
             static_cast<std::uint8_t>(active.Address),
             static_cast<std::uint8_t>(active.Retranslation),
             active.RS485,
             active.TCP,
             Bounded(active.TCPIP, settings::kMaxProfileIP),
             active.TCPPort};
    }

    f["Edit1"].text = table_.entries[static_cast<std::size_t>(table_.position)].Name;
    ShowValues(active);
    FillList();
    RadioButtonRS232Click();
    const ui::Rect marker = f["LabelXX"].bounds;
    height = marker.top + marker.height + 25;
    width = marker.left + marker.width + 5;
    SetEditMode(false);
}

void TSetComDlg::ShowValues(const TComSettings& s) {
    Form& f = *this;
    ui::Control& port = f["ComboBoxPort"];
    port.selection = s.ComPort >= 1 && s.ComPort <= kComPorts ? s.ComPort - 1 : 0;
    port.text = port.items[static_cast<std::size_t>(port.selection)];
    ui::Control& speed = f["ComboBoxSpeed"];
    const auto* found = std::find(std::begin(kSpeeds), std::end(kSpeeds), s.ComSpeed);
    speed.selection =
        found != std::end(kSpeeds)
            ? static_cast<int>(found - std::begin(kSpeeds))
            : static_cast<int>(std::find(std::begin(kSpeeds), std::end(kSpeeds), 38400) -
                               std::begin(kSpeeds));
    speed.text = speed.items[static_cast<std::size_t>(speed.selection)];
    f["EditAddress"].text = std::to_string(s.Address);
    f["EditRetra"].text = std::to_string(s.Retranslation);
    f["EditTOut"].text = settings::TimeOutText(s.TimeOut, separator_);
    f["EditIP"].text = s.TCPIP;
    f["EditPort"].text = std::to_string(s.TCPPort);
    ChooseLineKind(s.TCP, s.RS485);
}

void TSetComDlg::ChooseLineKind(bool tcp, bool rs485) {
    ChooseRadio(tcp ? "RadioButtonTCP" : rs485 ? "RadioButtonRS485" : "RadioButtonRS232");
}

void TSetComDlg::FillList() {
    ui::Control& list = (*this)["ListBox1"];
    list.items.clear();
    for (int i = 0; i < table_.count; ++i) {
        list.items.push_back(table_.entries[static_cast<std::size_t>(i)].Name);
    }
    list.selection = table_.position;
}

void TSetComDlg::RadioButtonRS232Click() {
    Form& f = *this;
    const bool tcp = f["RadioButtonTCP"].checked;
    for (const char* name : {"LabelPort", "ComboBoxPort", "LabelSpeed", "ComboBoxSpeed"}) {
        f[name].enabled = !tcp;
    }
    for (const char* name : {"LabelIP", "EditIP", "LabelIPPort", "EditPort"}) {
        f[name].enabled = tcp;
    }
    f["Image2"].visible = tcp;
    f["Image1"].visible = !tcp;
}

void TSetComDlg::SetEditMode(bool on) {
    Form& f = *this;
    edit_mode_ = on;
    for (const char* name : {"Edit1", "RadioButtonRS232", "RadioButtonRS485", "RadioButtonTCP",
                             "EditAddress", "EditRetra", "EditTOut"}) {
        f[name].enabled = on;
    }
    f["ButtonSave"].visible = on;
    for (const char* name : {"ListBox1", "ButtonOK", "Button1", "Button2", "Button3"}) {
        f[name].enabled = !on;
    }
    RadioButtonRS232Click();
    if (!on) {
        for (const char* name : {"ComboBoxPort", "ComboBoxSpeed", "EditIP", "EditPort"}) {
            f[name].enabled = false;
        }
    }
}

void TSetComDlg::ShowProfile(int index) {
    if (index < 0 || index >= settings::kProfileSlots) return;
    const TComProfile& p = table_.entries[static_cast<std::size_t>(index)];
    (*this)["Edit1"].text = p.Name;
    ShowValues(SettingsOf(p));
    RadioButtonRS232Click();
}

std::int32_t TSetComDlg::ChosenPort() const {
    return std::max((*this)["ComboBoxPort"].selection, 0) + 1;
}

std::int32_t TSetComDlg::ChosenSpeed() const {
    const ui::Control& speed = (*this)["ComboBoxSpeed"];
    const int item = speed.selection;
    if (item < 0 || item >= static_cast<int>(speed.items.size())) return 38400;
    return settings::TypedInt(speed.items[static_cast<std::size_t>(item)]).value_or(38400);
}

bool TSetComDlg::ReadProfileFromControls(TComProfile& entry) {
    const Form& f = *this;
    TComProfile p = entry;
    p.Name = Bounded(f["Edit1"].text, settings::kMaxProfileName);
    p.ComPort = ChosenPort();
    p.ComSpeed = ChosenSpeed();
    const std::string& ip = f["EditIP"].text;
    const auto port = Whole(f["EditPort"].text, 0, 65535);
    const auto address = Whole(f["EditAddress"].text, 0, 255);
    const auto retranslation = Whole(f["EditRetra"].text, 0, 255);
    const auto timeout = settings::TypedReal(f["EditTOut"].text, separator_);
    if (!settings::IsValidIP(ip) || !port || !address || !retranslation || !timeout) return false;
    p.TCPIP = ip;
    p.TCPPort = static_cast<std::uint16_t>(*port);
    p.Address = static_cast<std::uint8_t>(*address);
    p.Retranslation = static_cast<std::uint8_t>(*retranslation);
    p.TimeOut = *timeout;
    p.TCP = f["RadioButtonTCP"].checked;
    p.RS485 = f["RadioButtonRS485"].checked;
    entry = std::move(p);
    return true;
}

void TSetComDlg::ListBox1Click() {
    const int clicked = (*this)["ListBox1"].selection;
    if (clicked < 0 || clicked >= table_.count) return;
    table_.position = clicked;
    ShowProfile(clicked);
    SetEditMode(false);
}

void TSetComDlg::ListBox1DblClick() {
    ButtonOKClick();
}

void TSetComDlg::Button1Click() {
    SetEditMode(true);
    edit_kind_ = EditKind::Modify;
}

void TSetComDlg::Button3Click() {
    Form& f = *this;
    if (table_.count >= settings::kProfileSlots) {
        platform_.ShowMessageBox(BoxKind::Error, "V seznamu může být nejvýše "_cp +
                                                     std::to_string(settings::kProfileSlots) +
                                                     " profilů."_cp);
        return;
    }
    prev_position_ = table_.position;
    f["Edit1"].text = kNewProfile;
    ui::Control& list = f["ListBox1"];
    list.items.push_back(f["Edit1"].text);
    list.selection = static_cast<int>(list.items.size()) - 1;
    ShowValues(SettingsOf(TComProfile{}));
    RadioButtonRS232Click();
    SetEditMode(true);
    edit_kind_ = EditKind::Add;
}

void TSetComDlg::ButtonSaveClick() {
    Form& f = *this;
    const int index = f["ListBox1"].selection;
    if (edit_kind_ == EditKind::None || index < 0 || index >= settings::kProfileSlots) return;
    if (!ReadProfileFromControls(table_.entries[static_cast<std::size_t>(index)])) {
        f["LabelErr"].visible = true;
        return;
    }
    if (edit_kind_ == EditKind::Add) {
        table_.position = index;
        table_.count = static_cast<int>(f["ListBox1"].items.size());
    }
    SetEditMode(false);
    edit_kind_ = EditKind::None;
    f["LabelErr"].visible = false;
    FillList();
}

void TSetComDlg::ButtonCancelClick() {
    Form& f = *this;
    if (!edit_mode_) {
        Close(ui::ModalResult::Cancel);
        return;
    }
    f["LabelErr"].visible = false;
    if (edit_kind_ == EditKind::Add) {
        ui::Control& list = f["ListBox1"];
        list.items.pop_back();
        list.selection = prev_position_;
    }
    edit_kind_ = EditKind::None;
    ShowProfile(f["ListBox1"].selection);
    SetEditMode(false);
}

void TSetComDlg::Button2Click() {
    if (table_.count <= 1) {
        platform_.ShowMessageBox(BoxKind::Error, "V seznamu musí být alespoň 1 profil."_cp);
        return;
    }
    const auto position = static_cast<std::size_t>(table_.position);
    const std::string question = "Smazat profil \"" + table_.entries[position].Name + "\" ?";
    if (platform_.ShowMessageBox(BoxKind::Question, question) != BoxAnswer::Yes) return;
    auto& entries = table_.entries;
    std::move(entries.begin() + static_cast<std::ptrdiff_t>(position) + 1,
              entries.begin() + table_.count,
              entries.begin() + static_cast<std::ptrdiff_t>(position));
    --table_.count;
    table_.position = 0;
    FillList();
    ShowProfile(0);
    SetEditMode(false);
}

bool TSetComDlg::Written(const FileStatus& status, const char* file) {
    if (status) return true;
    log_.WriteWith([&] { return std::string(file) + " not written: " + status.reason; });
    platform_.ShowMessageBox(BoxKind::Error, FileErrorText(file, "zapsat", ".\r", status.reason));
    return false;
}

void TSetComDlg::ButtonOKClick() {
    Form& f = *this;
    const auto address = Whole(f["EditAddress"].text, 1, 255);
    const auto retranslation = Whole(f["EditRetra"].text, 1, 255);
    const auto timeout = settings::TypedReal(f["EditTOut"].text, separator_);
    const auto port = Whole(f["EditPort"].text, 0, 65535);
    const bool tcp = f["RadioButtonTCP"].checked;
    const bool valid = address && retranslation && timeout &&
                       (!tcp || (port && settings::IsValidIP(f["EditIP"].text)));
    if (!valid) {
        platform_.ShowMessageBox(BoxKind::Error, "Chyba zadání parametrů profilu !"_cp);
        ShowProfile(f["ListBox1"].selection);
        SetEditMode(false);
        return;
    }
    const TComSettings active{ChosenPort(),
                              ChosenSpeed(),
                              *address,
                              *retranslation,
                              f["RadioButtonRS485"].checked,
                              *timeout,
                              tcp,
                              f["EditIP"].text,
                              static_cast<std::uint16_t>(port.value_or(settings::kDefaultTcpPort))};
    if (!Written(settings::WriteComSettings(files_, driver_dir_, active),
                 settings::kSetComFileName) ||
        !Written(settings::SaveProfiles(files_, driver_dir_ + settings::kProfilesFileName, table_,
                                        separator_),
                 settings::kProfilesFileName)) {
        return;
    }
    Close(ui::ModalResult::Ok);
}

void TSetComDlg::HelpBtnClick() {
    platform_.ShowHelp(driver_dir_ + kHelpFile, kSetComHelpContext);
}

}  // namespace lm::dialogs
