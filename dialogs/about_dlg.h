// TAboutDlg, "O ovladači pro LUMAR": the driver's identification and label
// table (handed over in DIALOG.INI), the maker's contacts with two links, and
// a small globe travelling round an ellipse.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm::dialogs {

inline constexpr int kGlobeFrames = 9;
inline constexpr int kTimerInterval = 200;  // ms
// Steps of pi/48 from 2 pi down to 0: one lap, after which the contact text changes.
inline constexpr int kStepsPerLap = 96;

inline constexpr const char kAboutEmail[] = "podpora@vortel-kadex.example";
inline constexpr const char kAboutWeb[] = "www.vortel-kadex.example";

class TAboutDlg : public ui::Form {
public:
    // Builds the form and reads DIALOG.INI from `driver_dir`.
    TAboutDlg(Platform& platform, Files& files, std::string driver_dir);

    void Timer1Timer();
    void Label7MouseMove();  // the e-mail link under the mouse
    void Label8MouseMove();  // the web link under the mouse
    void FormMouseMove();    // neither
    void Label7Click();
    void Label8Click();
    void OKBtnClick();

    int frame() const { return frame_; }
    int contact() const { return contact_; }
    // The globe's angle in radians.
    double angle() const;

private:
    void Build();
    void Create(Files& files);
    void Hover(const char* link, bool on);
    void PlaceGlobe();

    Platform& platform_;
    std::string driver_dir_;
    int frame_ = 1;
    int step_ = 0;  // angle = 2 pi - step * pi / 48
    int contact_ = 0;
};

}  // namespace lm::dialogs
