#include "frame/driver_window_form.h"

#include "base/cp1250.h"

namespace lm {

std::unique_ptr<ui::Form> BuildDriverWindowForm() {
    using ui::ControlKind;
    auto form =
        std::make_unique<ui::Form>("TLMDriverForm", "", kDriverWindowWidth, kStatusOpenHeight);
    form->border_icons = false;  // the user cannot close the driver window
    form->Add("Image1", ControlKind::Image, {180, 6, 32, 32}, "");
    form->Add("LabelName", ControlKind::Label, {8, 0, 165, 13}, "").bold = true;
    form->Add("LabelName2", ControlKind::Label, {8, 12, 137, 13}, "");
    form->Add("lBase", ControlKind::Label, {8, 24, 59, 13}, "");
    form->Add("LabelSetCom", ControlKind::Label, {8, 40, 63, 13}, "");
    form->Add("ProgressBarCom", ControlKind::ProgressBar, {8, 56, 223, 16}, "");
    ui::Control& run =
        form->Add("LabelRUN", ControlKind::Label, {8, 80, 99, 13}, "  REŽIM \"RUN\"  "_cp);
    run.bold = true;
    run.text_colour = ui::kYellow;
    run.back_colour = ui::kRed;
    form->Add("CheckHra", ControlKind::CheckBox, {120, 80, 57, 17}, "Hradla");
    form->Add("CheckLog", ControlKind::CheckBox, {200, 80, 41, 17}, "log");
    form->Add("ButtonAbout", ControlKind::Button, {8, 104, 70, 25}, "Co je...");
    form->Add("ButtonHelp", ControlKind::Button, {85, 104, 70, 25}, "Nápověda"_cp);
    form->Add("ButtonStatus", ControlKind::Button, {162, 104, 70, 25}, "Status >>");
    form->Add("Button1", ControlKind::Button, {219, 0, 17, 17}, "_").bold = true;
    ui::Control& memo = form->Add("Memo1", ControlKind::Memo, {8, 136, 225, 121}, "");
    memo.read_only = true;
    memo.vertical_scroll = true;
    form->Add("ButtonClear", ControlKind::Button, {8, 264, 75, 25}, "Smazat LOG");
    form->Add("Edit1", ControlKind::Edit, {8, 296, 225, 21}, "").enabled = false;
    form->Add("Edit2", ControlKind::Edit, {8, 320, 225, 21}, "").enabled = false;
    return form;
}

}  // namespace lm
