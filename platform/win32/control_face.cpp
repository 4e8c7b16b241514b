// The face of a control whose own window is dear to make (a combo box, which
// Wine makes with a list window of its own; an edit box, of which the analog
// dialog has 37; push buttons, check boxes and radio buttons, of which the CW
// export dialog has eighteen): a modal form draws the control closed, as it
// stands, in its place (form_labels.cpp), until it is first used. Then the control's real
// window is made there (FormWindow::MakeReal). What the families share for
// drawing their faces.
#include <windows.h>

#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {

void FillFaceField(ControlSlot& slot, HDC dc, const RECT& field, bool editable) {
    const bool usable = slot.applied.usable;
    HBRUSH brush = slot.FaceBrush(dc, usable && editable);
    if (brush == nullptr) brush = GetSysColorBrush(COLOR_WINDOW);
    if (!usable) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    FillRect(dc, &field, brush);
}

std::string FaceOfOwnText(const ui::Control& control) {
    return control.text;
}

void DrawFaceText(ControlSlot& slot, HDC dc, int x, int y, const RECT& clip) {
    const std::wstring text = Wide(slot.applied.text);
    HGDIOBJ old = SelectObject(dc, slot.applied.font);
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    SelectObject(dc, old);
}

}  // namespace lm::win32
