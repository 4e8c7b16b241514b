// TCWOutDlg, "Výstup do systému Control Panel / Web": which Control Web files
// to write and under which names, overwrite or append, the first channel,
// and the tick list of the items the supervisory system is to see.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "exports/cw_exports.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm::dialogs {

inline constexpr long kMinFirstChannel = 1;
inline constexpr long kMaxFirstChannel = 65000;

class TCWOutDlg : public ui::Form {
public:
    explicit TCWOutDlg(Platform& platform);

    // The list entries (CwListEntry texts), all ticked.
    void SetItems(const std::vector<std::string>& entries);
    // The four file names into the name fields (PAR, DMF, CW, CP).
    void SetFileNames(const std::array<std::string, kCwFileCount>& paths);

    // "List...": the name field into the save dialog, the chosen name back.
    void ButtonListPARClick();
    void ButtonListDMFClick();
    void ButtonListCWClick();
    void ButtonListCPClick();
    void CheckBoxCWClick();  // CheckBoxCWrun only while CheckBoxCW is ticked
    void Button1Click();     // "Smazat všechny": untick every entry
    void Button2Click();     // "Vybrat všechny": tick every entry
    void OKBtnClick();       // closes with OK when the first channel is 1..65000

    // What the user chose; the first channel as OKBtnClick accepted it.
    CwExportChoice Choice() const;
    std::vector<bool> Ticks() const;

private:
    void Build();
    void ChooseName(const char* field, std::string_view filter, std::string_view title);

    Platform& platform_;
};

}  // namespace lm::dialogs
