#include "dialogs/settings_dialogs.h"

#include "dialogs/about_dlg.h"
#include "dialogs/dialog_ini.h"
#include "dialogs/set_com_dlg.h"
#include "settings/com_settings.h"

namespace lm::dialogs {

void SettingsDialogs::ShowComSet() {
    Platform& platform = context_.platform;
    settings::TComSettings active;
    settings::ReadComSettings(platform.files(), platform, context_.driver_dir, active,
                              settings::kMaxIpText, context_.log);
    window_["LabelSetCom"].text = settings::ComSetText(active, platform.DecimalSeparator());
    if (refresh_window_) refresh_window_();
}

void SettingsDialogs::ComSettingsDialog() {
    {
        TSetComDlg dialog(context_.platform, context_.platform.files(), context_.driver_dir,
                          context_.log);
        context_.platform.ShowModal(dialog);
    }
    ShowComSet();
}

void SettingsDialogs::AboutDialog() {
    Files& files = context_.platform.files();
    // The driver loads no label table (its menu item stays grayed).
    if (FileStatus written =
            WriteAboutDialogFile(files, context_.driver_dir, identification_, kNoLabelTable);
        !written) {
        // A dialog would show what an earlier DIALOG.INI holds.
        context_.ShowFileError(context_.driver_dir + kDialogFileName, "zapsat", written.reason);
        return;
    }
    TAboutDlg dialog(context_.platform, files, context_.driver_dir);
    context_.platform.ShowModal(dialog);
}

}  // namespace lm::dialogs
