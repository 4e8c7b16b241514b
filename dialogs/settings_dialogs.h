// The driver window's communication settings label and the two dialogs that
// the driver menu and the window's "Co je..." button open: the communication
// settings (TSetComDlg) and the about dialog (TAboutDlg).
#pragma once

#include <functional>
#include <string>

#include "service/service_context.h"
#include "ui/form.h"

namespace lm::dialogs {

class SettingsDialogs {
public:
    // `window` is the driver window (LabelSetCom), which `refresh_window`
    // redraws after a change; `identification` is the driver's
    // identification text, handed to the about dialog.
    SettingsDialogs(const ServiceContext& context, ui::Form& window,
                    std::function<void()> refresh_window, std::string identification)
        : context_(context),
          window_(window),
          refresh_window_(std::move(refresh_window)),
          identification_(std::move(identification)) {}

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
    ServiceContext context_;
    ui::Form& window_;
    std::function<void()> refresh_window_;
    std::string identification_;
};

}  // namespace lm::dialogs
