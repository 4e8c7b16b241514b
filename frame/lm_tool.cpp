#include "frame/lm_tool.h"

#include "base/cp1250.h"
#include "dialogs/dialog_ini.h"

namespace lm {

TFormLMTool::TFormLMTool(Files& files, std::string driver_dir)
    : ui::Form("TFormLMTool", std::string("Ovladač po startu..."_cp), 0, 0),
      files_(files),
      driver_dir_(std::move(driver_dir)) {
    centred = true;
    using ui::ControlKind;
    Add("CHB_hidedialog", ControlKind::CheckBox, {8, 8, 185, 17},
        "Schovat dialogové okno ovladače"_cp);
    Add("CHB_statusdialog", ControlKind::CheckBox, {8, 32, 105, 17}, "Ukázat status-info"_cp);
    Add("CHB_logfile", ControlKind::CheckBox, {8, 56, 225, 17},
        "Zapnout zápis diagnostiky do .LOG souboru"_cp);
    // Enter is OK and Escape Zpět, as in the other dialogs.
    Add("ButtonOK", ControlKind::Button, {40, 80, 75, 25}, "&OK").default_button = true;
    Add("ButtonZpet", ControlKind::Button, {128, 80, 75, 25}, "&Zpět"_cp).cancel_button = true;
    Add("LabelXX", ControlKind::Label, {241, 101, 5, 13}, ".").bold = true;
    On("ButtonOK", ui::Event::Click, [this] { ButtonOKClick(); });
    On("ButtonZpet", ui::Event::Click, [this] { ButtonZpetClick(); });
    FormCreate();
}

void TFormLMTool::FormCreate() {
    const dialogs::StartupOptions options =
        dialogs::ReadStartupDialogFile(files_, driver_dir_).value_or(dialogs::StartupOptions{});
    (*this)["CHB_hidedialog"].checked = options.hide_dialog;
    (*this)["CHB_statusdialog"].checked = options.status_dialog;
    (*this)["CHB_logfile"].checked = options.log_file;
    // The window is sized to end just past the marker label.
    const ui::Rect marker = (*this)["LabelXX"].bounds;
    height = marker.top + marker.height + 31;
    width = marker.left + marker.width + 10;
}

void TFormLMTool::ButtonOKClick() {
    dialogs::StartupOptions options;
    options.hide_dialog = (*this)["CHB_hidedialog"].checked;
    options.status_dialog = (*this)["CHB_statusdialog"].checked;
    options.log_file = (*this)["CHB_logfile"].checked;
    write_status_ = dialogs::WriteStartupDialogFile(files_, driver_dir_, options);
    Close(ui::ModalResult::Ok);
}

void TFormLMTool::ButtonZpetClick() {
    Close(ui::ModalResult::Cancel);
}

}  // namespace lm
