// Push buttons, check boxes, radio buttons and group boxes: BUTTON windows.
#include <windows.h>

#include "platform/win32/control_kinds.h"
#include "platform/win32/form_renderer.h"

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
void SyncRadioButton(ControlSlot& slot, bool all) {
    SyncCheckable(slot, all);
    const ui::Control& c = *slot.control;
    bool stop = c.checked;
    if (!stop) {
        stop = true;
        for (const auto& other : slot.owner->form().controls()) {
            if (other->kind == ui::ControlKind::RadioButton && other->parent == c.parent &&
                other->checked) {
                stop = false;
            }
        }
    }
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

}  // namespace

const KindRenderer kButtonRenderer{
    .create = CreateButton,
    .sync = SyncText,
    .command = ButtonCommand,
    .made_with_text = true,
};

const KindRenderer kCheckBoxRenderer{
    .create = CreateCheckBox,
    .sync = SyncCheckable,
    .command = CheckBoxCommand,
    .made_with_text = true,
};

const KindRenderer kRadioButtonRenderer{
    .create = CreateRadioButton,
    .subclass = RadioButtonProc,
    .sync = SyncRadioButton,
    .command = RadioButtonCommand,
    .made_with_text = true,
};

// A group box's clicks are the default's: it has no event of its own.
const KindRenderer kGroupBoxRenderer{
    .create = CreateGroupBox,
    .sync = SyncText,
    .made_with_text = true,
};

}  // namespace lm::win32
