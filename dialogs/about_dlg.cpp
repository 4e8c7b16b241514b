#include "dialogs/about_dlg.h"

#include <cmath>
#include <numbers>

#include "base/bounded_text.h"
#include "base/cp1250.h"
#include "dialogs/dialog_ini.h"

namespace lm::dialogs {
namespace {

using ui::ControlKind;

// The contact block shows these in turn, one lap of the globe each.
constexpr CpText kContacts[] = {
    "VORTEL automatizace, výrobce řídicích\r\nsystémů KADEX a ovladačů pro LUMAR.\r\n"
    "Technická podpora v pracovní dny 7 až 15 h."_cp,
    "Školení, servis a aktualizace ovladačů\r\nnajdete na našich stránkách;\r\n"
    "dotazy rádi zodpovíme e-mailem."_cp,
};

// "z3", "ZEME3": a name with a number.
std::string Numbered(std::string_view prefix, int number) {
    std::string name(prefix);
    name += std::to_string(number);
    return name;
}

}  // namespace

TAboutDlg::TAboutDlg(Platform& platform, Files& files, std::string driver_dir)
    : ui::Form("TAboutDlg", std::string("O ovladači pro LUMAR"_cp), 0, 0),
      platform_(platform),
      driver_dir_(std::move(driver_dir)) {
    Build();
    Create(files);
}

void TAboutDlg::Build() {
    centred = true;
    Add("Image1", ControlKind::Image, {8, 8, 48, 48}, "").picture = driver_dir_ + "ABOUT.BMP";
    Add("Label1", ControlKind::Label, {64, 8, 360, 13}, "").bold = true;
    Add("Label3", ControlKind::Label, {64, 28, 360, 13},
        "Ovladač řídicích systémů KADEX-RX7 pro prostředí LUMAR"_cp);
    Add("Label4", ControlKind::Label, {8, 76, 200, 52}, "");
    Add("Label9", ControlKind::Label, {8, 140, 44, 13}, "e-maill:");
    auto& email = Add("Label7", ControlKind::Label, {56, 140, 150, 13}, kAboutEmail);
    email.hint = "Napsat e-mail"_cp;
    Add("Label10", ControlKind::Label, {8, 156, 44, 13}, "internet:");
    auto& web = Add("Label8", ControlKind::Label, {56, 156, 150, 13}, kAboutWeb);
    web.hint = "Otevřít stránky výrobce"_cp;
    Add("Label5", ControlKind::Label, {8, 180, 84, 13}, "Tabulka návěští:"_cp);
    Add("LabelLAB", ControlKind::Label, {96, 180, 200, 13}, "");
    Add("zeme", ControlKind::Image, {252, 98, 32, 32}, "");
    for (int i = 1; i <= kGlobeFrames; ++i) {
        auto& frame = Add(Numbered("z", i).c_str(), ControlKind::Image, {320, 98, 32, 32}, "");
        frame.picture = driver_dir_ + Numbered("ZEME", i) + ".BMP";
    }
    auto& ok = Add("OKBtn", ControlKind::Button, {180, 208, 75, 25}, "OK");
    ok.default_button = true;
    ok.cancel_button = true;
    Add("Timer1", ControlKind::Timer, {}, "").interval = kTimerInterval;
    Add("LabelXX", ControlKind::Label, {425, 220, 5, 13}, "").visible = false;

    using ui::Event;
    On("Timer1", Event::Timer, [this] { Timer1Timer(); });
    On("Label7", Event::MouseMove, [this] { Label7MouseMove(); });
    On("Label8", Event::MouseMove, [this] { Label8MouseMove(); });
    On(name(), Event::MouseMove, [this] { FormMouseMove(); });
    On("Label7", Event::Click, [this] { Label7Click(); });
    On("Label8", Event::Click, [this] { Label8Click(); });
    On("OKBtn", Event::Click, [this] { OKBtnClick(); });
}

void TAboutDlg::Create(Files& files) {
    Form& f = *this;
    const AboutHandOver hand_over = ReadAboutDialogFile(files, driver_dir_);
    f["Label1"].text = hand_over.identification;
    if (hand_over.label_table.empty()) {
        f["Label5"].visible = false;
        f["LabelLAB"].visible = false;
    } else {
        f["LabelLAB"].text = hand_over.label_table;
    }
    for (int i = 1; i <= kGlobeFrames; ++i) f[Numbered("z", i)].visible = false;
    frame_ = 1;
    f["zeme"].picture = f["z1"].picture;
    step_ = 0;
    contact_ = 0;
    f["Label4"].text = kContacts[0];
    PlaceGlobe();
    const ui::Rect marker = f["LabelXX"].bounds;
    height = marker.top + marker.height + 31;
    width = marker.left + marker.width + 10;
}

double TAboutDlg::angle() const {
    return 2 * std::numbers::pi - step_ * std::numbers::pi / (kStepsPerLap / 2);
}

void TAboutDlg::PlaceGlobe() {
    ui::Rect& globe = (*this)["zeme"].bounds;
    globe.left = 220 + static_cast<int>(std::lround(32 * std::cos(angle())));
    globe.top = 98 + static_cast<int>(std::lround(20 * std::sin(angle())));
}

void TAboutDlg::Timer1Timer() {
    Form& f = *this;
    frame_ = frame_ % kGlobeFrames + 1;
    f["zeme"].picture = f[Numbered("z", frame_)].picture;
    // The angle counts down in whole steps, so that no rounding drifts: at 0
    // it is 2 pi again, the same place, and the other contact text shows.
    if (++step_ == kStepsPerLap) {
        step_ = 0;
        contact_ = 1 - contact_;
        f["Label4"].text = kContacts[contact_];
    }
    PlaceGlobe();
}

void TAboutDlg::Hover(const char* link, bool on) {
    ui::Control& label = (*this)[link];
    label.underline = on;
    label.text_colour = on ? ui::kBlue : ui::kDefaultColour;
}

void TAboutDlg::Label7MouseMove() {
    Hover("Label7", true);
    Hover("Label8", false);
}

void TAboutDlg::Label8MouseMove() {
    Hover("Label8", true);
    Hover("Label7", false);
}

void TAboutDlg::FormMouseMove() {
    Hover("Label7", false);
    Hover("Label8", false);
}

void TAboutDlg::Label7Click() {
    platform_.ShellOpen(std::string("mailto:") + kAboutEmail, "", "", ShowMode::Normal);
}

void TAboutDlg::Label8Click() {
    platform_.ShellOpen(std::string("http://") + kAboutWeb, "", "", ShowMode::Normal);
}

void TAboutDlg::OKBtnClick() {
    Close(ui::ModalResult::Ok);
}

}  // namespace lm::dialogs
