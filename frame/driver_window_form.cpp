#include "frame/driver_window_form.h"

#include "base/cp1250.h"

namespace lm {

std::unique_ptr<ui::Form> BuildDriverWindowForm() {
    using ui::ControlKind;
    auto form =
        std::make_unique<ui::Form>("TLMDriverForm", "", kDriverWindowWidth, kStatusOpenHeight);
    form->border_icons = false;  // the user cannot close the driver window
    auto add = [&](const char* name, ControlKind kind, ui::Rect bounds, std::string_view text) {
        ui::Control c;
        c.name = name;
        c.kind = kind;
        c.bounds = bounds;
        c.text = std::string(text);
        return &form->Add(std::move(c));
    };
    add("Image1", ControlKind::Image, {180, 6, 32, 32}, "");
    add("LabelName", ControlKind::Label, {8, 0, 165, 13}, "")->bold = true;
    add("LabelName2", ControlKind::Label, {8, 12, 137, 13}, "");
    add("lBase", ControlKind::Label, {8, 24, 59, 13}, "");
    add("LabelSetCom", ControlKind::Label, {8, 40, 63, 13}, "");
    add("ProgressBarCom", ControlKind::ProgressBar, {8, 56, 223, 16}, "");
    auto* run = add("LabelRUN", ControlKind::Label, {8, 80, 99, 13}, "  REŽIM \"RUN\"  "_cp);
    run->bold = true;
    run->text_colour = ui::kYellow;
    run->back_colour = ui::kRed;
    add("CheckHra", ControlKind::CheckBox, {120, 80, 57, 17}, "Hradla");
    add("CheckLog", ControlKind::CheckBox, {200, 80, 41, 17}, "log");
    add("ButtonAbout", ControlKind::Button, {8, 104, 70, 25}, "Co je...");
    add("ButtonHelp", ControlKind::Button, {85, 104, 70, 25}, "Nápověda"_cp);
    add("ButtonStatus", ControlKind::Button, {162, 104, 70, 25}, "Status >>");
    add("Button1", ControlKind::Button, {219, 0, 17, 17}, "_")->bold = true;
    auto* memo = add("Memo1", ControlKind::Memo, {8, 136, 225, 121}, "");
    memo->read_only = true;
    memo->vertical_scroll = true;
    add("ButtonClear", ControlKind::Button, {8, 264, 75, 25}, "Smazat LOG");
    add("Edit1", ControlKind::Edit, {8, 296, 225, 21}, "")->enabled = false;
    add("Edit2", ControlKind::Edit, {8, 320, 225, 21}, "")->enabled = false;
    return form;
}

}  // namespace lm
