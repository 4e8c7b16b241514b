#include "platform/win32/control_kinds.h"

#include "platform/win32/win32_text.h"

namespace lm::win32 {

const KindRenderer& RendererOf(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Label:
            return kLabelRenderer;
        case ui::ControlKind::Button:
            return kButtonRenderer;
        case ui::ControlKind::CheckBox:
            return kCheckBoxRenderer;
        case ui::ControlKind::RadioButton:
            return kRadioButtonRenderer;
        case ui::ControlKind::GroupBox:
            return kGroupBoxRenderer;
        case ui::ControlKind::Edit:
            return kEditRenderer;
        case ui::ControlKind::Memo:
            return kMemoRenderer;
        case ui::ControlKind::ComboBox:
            return kComboBoxRenderer;
        case ui::ControlKind::ListBox:
            return kListBoxRenderer;
        case ui::ControlKind::CheckListBox:
            return kCheckListBoxRenderer;
        case ui::ControlKind::StringGrid:
            return kStringGridRenderer;
        case ui::ControlKind::ProgressBar:
            return kProgressBarRenderer;
        case ui::ControlKind::Image:
            return kImageRenderer;
        case ui::ControlKind::Timer:
            return kTimerRenderer;
        case ui::ControlKind::FloatEdit:
            return kFloatEditRenderer;
    }
    return kLabelRenderer;  // not reached: every kind has its row
}

RECT RectOf(const ui::Rect& place) {
    return {place.left, place.top, place.left + place.width, place.top + place.height};
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return Narrow(text);
}

void SyncText(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if ((all && !a.text_given) || c.text != a.text) {
        SetWindowTextW(slot.hwnd, Wide(c.text).c_str());
        a.text = c.text;
        a.text_width = -1;
    }
}

}  // namespace lm::win32
