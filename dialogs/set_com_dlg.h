// TSetComDlg, "Nastavení komunikace": the list of communication profiles, one
// shown at a time, browsed, modified, added and deleted; Select makes the
// shown settings the active ones (SETCOM.INI) and saves the list
// (profiles.ini). Nothing is written before Select.
#pragma once

#include <string>

#include "base/log_sink.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "settings/com_settings.h"
#include "settings/profiles.h"
#include "ui/form.h"

namespace lm::dialogs {

// The line speeds the dialog offers.
inline constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int kComPorts = 8;
inline constexpr int kSetComHelpContext = 13004;
inline constexpr const char kSetComImageRs[] = "SETCOM_RS.BMP";
inline constexpr const char kSetComImageTcp[] = "SETCOM_TCP.BMP";

class TSetComDlg : public ui::Form {
public:
    enum class EditKind { None, Modify, Add };

    // Builds the form and opens it (Inicializace) from the files of `driver_dir`.
    TSetComDlg(Platform& platform, Files& files, std::string driver_dir, LogSink& log);

    void Inicializace();
    void ListBox1Click();      // shows the clicked profile
    void ListBox1DblClick();   // as ButtonOK
    void Button1Click();       // "Opravit": modify the selected profile
    void Button3Click();       // "Přidat": add a profile
    void Button2Click();       // "Smazat": delete the selected profile
    void ButtonOKClick();      // "Vybrat": make the shown settings active and close
    void ButtonSaveClick();    // "Uložit": store the edited profile
    void ButtonCancelClick();  // "Zpět": leave edit mode, or close
    void HelpBtnClick();
    void RadioButtonRS232Click();  // the line-kind rule, on a click of any line kind

    const settings::ProfileTable& profiles() const { return table_; }
    bool edit_mode() const { return edit_mode_; }
    EditKind edit_kind() const { return edit_kind_; }

private:
    void Build();
    void SetEditMode(bool on);
    void ShowProfile(int index);
    void ShowValues(const settings::TComSettings& values);
    bool ReadProfileFromControls(settings::TComProfile& entry);
    void FillList();
    void ChooseLineKind(bool tcp, bool rs485);
    // The port and speed the combo boxes show.
    std::int32_t ChosenPort() const;
    std::int32_t ChosenSpeed() const;
    bool Written(const FileStatus& status, const char* file);

    Platform& platform_;
    Files& files_;
    std::string driver_dir_;
    LogSink& log_;
    char separator_;
    settings::ProfileTable table_;
    int prev_position_ = -1;
    bool edit_mode_ = false;
    EditKind edit_kind_ = EditKind::None;
};

}  // namespace lm::dialogs
