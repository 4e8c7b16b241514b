// TDlgStr, "Seznam text. položek": the text items of a block in a grid, the
// item's name on the left and its text on the right, with the characters
// left of the current row. It takes its table from DIALOG.INI when it is
// created and writes it back there when confirmed.
#pragma once

#include <string>

#include "dialogs/dialog_ini.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm::dialogs {

// The ruler above the texts: the bit numbers for 8 and 16 characters, the
// display columns for 18 and 20, else the digits "1" to "9", "0" repeated.
std::string Ruler(int maximum);

class TDlgStr : public ui::Form {
public:
    // Builds the form and reads DIALOG.INI from `driver_dir` (written by the
    // caller just before).
    TDlgStr(Platform& platform, Files& files, std::string driver_dir);

    // The caller switches editing off in run mode.
    void SetEditable(bool editable);
    int maximum() const { return maximum_; }
    int row_count() const { return static_cast<int>(rows_); }

    void StringGrid1SelectCell();
    void StringGrid1SetEditText();
    // Rewrites DIALOG.INI with the rows and closes with OK; when it cannot be
    // written the user is told and the dialog stays open.
    void OKBtnClick();
    void CancelBtnClick();

private:
    void Build();
    void FormCreate();
    void ShowCount(int row);

    Platform& platform_;
    Files& files_;
    std::string driver_dir_;
    int maximum_ = 0;
    std::size_t rows_ = 0;
};

}  // namespace lm::dialogs
