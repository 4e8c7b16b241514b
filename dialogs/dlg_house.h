// TDlgHouse, "Nastavení analogových vstupů": one row per channel of an analog
// input block with its module, its range (min, max) and a correction, and for
// 6-channel blocks the counter switch mask. The module list comes from
// cai_modul.cfg (caimodul.cfg when that one does not exist), read once when
// the dialog is created.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>

#include "dialogs/module_list.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace lm::dialogs {

inline constexpr int kMaxChannels = 12;
inline constexpr char kNoModuleCode = '0';

// A channel's own range, shown while it has no module.
struct ChannelRange {
    double min = 0, max = 100;
};

class TDlgHouse : public ui::Form {
public:
    // Whether the block's items can hold a number (of a range or a
    // correction) as the dialog would store it.
    using Fits = std::function<bool(double)>;

    // Builds the form and reads the module list from `driver_dir`. A module
    // whose min or max `range_fits` refuses is left out and told with the
    // other faults of the file.
    TDlgHouse(Platform& platform, Files& files, std::string driver_dir, Fits range_fits = {});

    // 6 or 12 channel rows; the height follows, and the counter switch mask
    // is shown for 6 channels only.
    void UseChannels(int count);
    int channels() const { return channels_; }

    ChannelRange& range(int channel) { return ranges_.at(static_cast<std::size_t>(channel)); }
    ui::Control& MinEdit(int channel);
    ui::Control& MaxEdit(int channel);
    ui::Control& CorrectionEdit(int channel);
    ui::Control& ModuleBox(int channel);
    // The numbers a field's item can hold: OK refuses any other, as it
    // refuses a text that is no number.
    void SetFieldFits(const ui::Control& field, Fits fits);

    // Chooses the first module with this code, or the first module when none
    // has it, and applies the change rule.
    void Preselect(int channel, char code);
    // The code character of the channel's chosen module.
    char ChosenCode(int channel);
    const ModuleList& modules() const { return list_; }

    // ComboBox1Change to ComboBox12Change: min and max are the channel's own
    // and can be typed with no module, else they show the module's range.
    void ComboBoxChange(int channel);
    void Button1Click();
    // Closes with OK once every shown number field holds a number; a field
    // that does not takes the focus back and the dialog stays.
    void OKBtnClick();
    void CancelBtnClick();

private:
    void Build();
    void FormCreate(Files& files, const Fits& range_fits);

    Platform& platform_;
    std::string driver_dir_;
    ModuleList list_;
    std::array<ChannelRange, kMaxChannels> ranges_{};
    int channels_ = kMaxChannels;
    std::map<std::string, Fits, std::less<>> field_fits_;
};

}  // namespace lm::dialogs
