// Push buttons, check boxes, radio buttons and group boxes: BUTTON windows.
// A modal form draws its push buttons, check boxes and radio buttons as faces
// until they are used (control_face.cpp): the CW export dialog has eighteen,
// of which a person uses a few. A face is drawn as the BUTTON window draws
// itself unfocused and not pressed: the same frame, check mark and label,
// placed by the same rules.
#include <windows.h>

#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

void CreateButton(ControlSlot& slot, WindowRecipe& recipe) {
    recipe.window_class = L"BUTTON";
    recipe.style |= WS_TABSTOP | (slot.control->default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void CreateCheckBox(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = L"BUTTON";
    recipe.style |= WS_TABSTOP | BS_AUTOCHECKBOX;
}

void CreateRadioButton(ControlSlot&, WindowRecipe& recipe) {
    // Exclusive among the radio buttons of the same parent, which the
    // model decides (ChooseRadio), not the window's z-order.
    recipe.window_class = L"BUTTON";
    recipe.style |= WS_TABSTOP | BS_RADIOBUTTON;
}

void CreateGroupBox(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = L"BUTTON";
    recipe.style |= BS_GROUPBOX;
}

// Check boxes and radio buttons: the caption and the check mark.
void SyncCheckable(ControlSlot& slot, bool all) {
    SyncText(slot, all);
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (all || c.checked != a.checked) {
        SendMessageW(slot.hwnd, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        a.checked = c.checked;
    }
}

// Tab reaches a group of radio buttons at its checked one (at each of them
// while none is checked); the arrow keys move within the group.
bool RadioIsTabStop(const ControlSlot& slot) {
    const ui::Control& c = *slot.control;
    if (c.checked) return true;
    for (const auto& other : slot.owner->form().controls()) {
        if (other->kind == ui::ControlKind::RadioButton && other->parent == c.parent &&
            other->checked) {
            return false;
        }
    }
    return true;
}

void SyncRadioButton(ControlSlot& slot, bool all) {
    SyncCheckable(slot, all);
    const bool stop = RadioIsTabStop(slot);
    const LONG_PTR style = GetWindowLongPtrW(slot.hwnd, GWL_STYLE);
    if (((style & WS_TABSTOP) != 0) != stop) {
        SetWindowLongPtrW(slot.hwnd, GWL_STYLE, style ^ WS_TABSTOP);
    }
}

void ButtonCommand(ControlSlot& slot, HWND, int code) {
    if (code == BN_CLICKED) slot.owner->Fire(*slot.control, ui::Event::Click);
}

void CheckBoxCommand(ControlSlot& slot, HWND window, int code) {
    if (code != BN_CLICKED) return;
    ui::Control& c = *slot.control;
    c.checked = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    slot.applied.checked = c.checked;
    slot.owner->Fire(c, ui::Event::Click);
}

void RadioButtonCommand(ControlSlot& slot, HWND, int code) {
    if (code != BN_CLICKED) return;
    ui::Control& c = *slot.control;
    slot.owner->form().ChooseRadio(c.name);
    slot.owner->Fire(c, ui::Event::Click);
}

// A radio button that gets the focus from the keyboard (the arrow keys move
// it within the group) is chosen, as a click chooses it; one that the mouse
// presses is chosen by the click that follows.
LRESULT CALLBACK RadioButtonProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    WNDPROC old = slot->old_proc;
    if (msg == WM_LBUTTONDOWN) {
        slot->pressing = true;
        LRESULT result = CallWindowProcW(old, hwnd, msg, wparam, lparam);
        slot->pressing = false;
        return result;
    }
    LRESULT result = CallWindowProcW(old, hwnd, msg, wparam, lparam);
    if (msg == WM_SETFOCUS && !slot->pressing && !slot->control->checked &&
        (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
        RadioButtonCommand(*slot, hwnd, BN_CLICKED);
    }
    return result;
}

BOOL CALLBACK DrawLabelText(HDC dc, LPARAM text, WPARAM flags, int width, int height) {
    RECT r{0, 0, width, height};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text), -1, &r, static_cast<UINT>(flags));
    return TRUE;
}

// The label of a button face in `area` as the button lays it out: measured,
// then centred (a push button) or from the left a pixel in, and centred
// upright; drawn embossed while disabled. The rectangle it took, or an empty
// one when there is no text.
RECT DrawButtonLabel(ControlSlot& slot, HDC dc, const RECT& area, bool centred) {
    const std::wstring text = Wide(slot.applied.text);
    if (text.empty()) return RECT{};
    UINT flags = DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | (centred ? DT_CENTER : DT_LEFT);
    RECT r = area;
    DrawTextW(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (centred) {
        r.left = area.left + (area.right - area.left - width) / 2;
    } else {
        r.left = area.left + 1;
    }
    r.right = r.left + width;
    r.top = area.top + (area.bottom - area.top - height) / 2;
    r.bottom = r.top + height;
    DrawStateW(dc, nullptr, DrawLabelText, reinterpret_cast<LPARAM>(text.c_str()), flags, r.left,
               r.top, width, height, slot.applied.usable ? DSS_NORMAL : DSS_DISABLED);
    return r;
}

// A push button: the default one framed in black (while no other push
// button has the focus), the raised frame, the label centred.
void DrawButtonFace(ControlSlot& slot, HDC dc, const RECT& client) {
    RECT r = client;
    SelectObject(dc, slot.applied.font);
    SetBkMode(dc, TRANSPARENT);
    if (slot.applied.framed) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
        HGDIOBJ old_pen = SelectObject(dc, pen);
        HGDIOBJ old_brush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, old_brush);
        DeleteObject(SelectObject(dc, old_pen));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawButtonLabel(slot, dc, r, true);
}

// A check box or radio button: the background of a static control, the
// mark at the left beside the label, upright in the middle of the label.
void DrawCheckableFace(ControlSlot& slot, HDC dc, const RECT& client, UINT mark) {
    const Applied& a = slot.applied;
    SelectObject(dc, a.font);
    int zero = 0;
    GetCharWidthW(dc, L'0', L'0', &zero);
    HBRUSH brush = slot.FaceBrush(dc, false);
    FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const int box = 12 * GetDeviceCaps(dc, LOGPIXELSY) / 96 + 1;
    RECT text = client;
    text.left += box + zero / 2;
    SetBkMode(dc, TRANSPARENT);
    RECT label = DrawButtonLabel(slot, dc, text, false);
    RECT mark_box{client.left, client.top, box, client.bottom};
    if (label.bottom > label.top) {
        mark_box.top = label.top;
        mark_box.bottom = label.bottom;
    }
    const int delta = mark_box.bottom - mark_box.top - box;
    if (delta > 0) {
        mark_box.bottom -= delta / 2 + 1;
        mark_box.top = mark_box.bottom - box;
    } else if (delta < 0) {
        mark_box.top -= -delta / 2 + 1;
        mark_box.bottom = mark_box.top + box;
    }
    UINT state = mark | (a.checked ? DFCS_CHECKED : 0) | (a.usable ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc, &mark_box, DFC_BUTTON, state);
}

void DrawCheckBoxFace(ControlSlot& slot, HDC dc, const RECT& client) {
    DrawCheckableFace(slot, dc, client, DFCS_BUTTONCHECK);
}

void DrawRadioButtonFace(ControlSlot& slot, HDC dc, const RECT& client) {
    DrawCheckableFace(slot, dc, client, DFCS_BUTTONRADIO);
}

}  // namespace

const KindRenderer kButtonRenderer{
    .create = CreateButton,
    .sync = SyncText,
    .command = ButtonCommand,
    .face_text = FaceOfOwnText,
    .face_draw = DrawButtonFace,
    .made_with_text = true,
};

const KindRenderer kCheckBoxRenderer{
    .create = CreateCheckBox,
    .sync = SyncCheckable,
    .command = CheckBoxCommand,
    .face_text = FaceOfOwnText,
    .face_draw = DrawCheckBoxFace,
    .made_with_text = true,
};

const KindRenderer kRadioButtonRenderer{
    .create = CreateRadioButton,
    .subclass = RadioButtonProc,
    .sync = SyncRadioButton,
    .command = RadioButtonCommand,
    .face_text = FaceOfOwnText,
    .face_draw = DrawRadioButtonFace,
    .face_is_stop = RadioIsTabStop,
    .made_with_text = true,
};

// A group box's clicks are the default's: it has no event of its own.
const KindRenderer kGroupBoxRenderer{
    .create = CreateGroupBox,
    .sync = SyncText,
    .made_with_text = true,
};

}  // namespace lm::win32
