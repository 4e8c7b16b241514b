// The driver window's communication settings label and the two dialogs that
// the driver menu and the window's "Co je..." button open: the communication
// settings (TSetComDlg) and the about dialog (TAboutDlg).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/log_sink.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm::dialogs {

// What the dialogs use of the driver window and of the driver-wide state.
struct SettingsDialogsContext {
    Platform& platform;
    LogSink& log;
    std::string driver_dir;
    ui::Form& window;                      // the driver window: LabelSetCom
    std::function<void()> refresh_window;  // redraws it after a change
    // The driver's identification text, handed to the about dialog.
    std::string identification;
    // Tells the user that a file could not be written ("zapsat") or read.
    std::function<void(std::string_view path, std::string_view action, std::string_view reason)>
        file_error;
};

class SettingsDialogs {
public:
    explicit SettingsDialogs(SettingsDialogsContext context) : context_(std::move(context)) {}

    // ShowComSet: LabelSetCom shows the active settings of SETCOM.INI (its
    // reader beeps and tells of a missing file, and the defaults are shown).
    void ShowComSet();
    // "Pa&rametry komunikace": TSetComDlg shown modally, then ShowComSet,
    // however the dialog was closed.
    void ComSettingsDialog();
    // "&O ovladači..." and "Co je...": DIALOG.INI with the identification
    // and the label table's name, then TAboutDlg shown modally. When DIALOG.INI
    // cannot be written the user is told so and no dialog opens.
    void AboutDialog();

private:
    SettingsDialogsContext context_;
};

}  // namespace lm::dialogs
