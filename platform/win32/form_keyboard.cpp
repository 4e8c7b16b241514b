// The keyboard of a form window. The modal loop hands the keys to the dialog
// manager (IsDialogMessage), which moves the focus with Tab and the arrows
// and turns Enter, Escape and Alt+letter into messages for the form; a form
// that draws controls (faces, labels) moves Tab itself through its table,
// faces included, which the dialog manager cannot see. What the
// dialog manager leaves to a dialog window's own procedure is done here: the
// focus moved on request (arrows, a label's mnemonic), Enter on a focused
// push button clicks that button, which shows the default button's frame
// meanwhile, the focus comes back to its control when the form is active
// again (after a message box), and a focus lost to a control that a handler
// disabled or hid goes to the first field.
#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

// Push buttons, check boxes and radio buttons of one parent that follow one
// another in the form's table are one group, in which the arrow keys move;
// every other control is a group of its own.
bool Groups(ui::ControlKind kind) {
    return kind == ui::ControlKind::Button || kind == ui::ControlKind::CheckBox ||
           kind == ui::ControlKind::RadioButton;
}

// A key of the modal loop sent to `form` or a window in it.
bool IsFormKey(HWND form, const MSG& msg) {
    return msg.hwnd == form || IsChild(form, msg.hwnd);
}

// What the window the key is for asks of the dialog manager for this key.
LRESULT DialogCode(const MSG& msg) {
    return SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
}

wchar_t Upper(wchar_t letter) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(letter)))));
}

// The letter after the first single '&' of a text ("&&" is an ampersand),
// upper case; 0 when it has none.
wchar_t Mnemonic(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return Upper(text[i + 1]);
        ++i;
    }
    return 0;
}

}  // namespace

bool StartsGroup(const ui::Control& control, const ui::Control* previous) {
    return previous == nullptr || !Groups(control.kind) || previous->kind != control.kind ||
           previous->parent != control.parent;
}

void FocusControl(HWND control) {
    SetFocus(control);
    // An edit box reached with the keyboard has its text selected, so that
    // typing replaces it.
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

int FormWindow::IndexOf(HWND window) {
    // The window of a control, or one inside it (a combo box's edit box, the
    // string grid's editor).
    for (HWND w = window; w != nullptr && w != hwnd_; w = GetParent(w)) {
        if (ControlSlot* slot = SlotOf(w)) return slot->id - kFirstControlId;
    }
    return -1;
}

ControlSlot* FormWindow::NextStop(int from, bool backwards) {
    // The windows lie in the table's order (each is made or moved there), so
    // the table's order is the order Tab follows through windows and faces.
    const int count = static_cast<int>(slots_.size());
    for (int step = 1; step <= count; ++step) {
        int i = backwards ? from - step : from + step;
        i = ((i % count) + count) % count;
        ControlSlot& slot = *slots_[static_cast<std::size_t>(i)];
        if (slot.Face()) {
            const auto stop = RendererOf(slot.control->kind).face_is_stop;
            if (slot.applied.valid && slot.applied.shown && slot.applied.usable &&
                (stop == nullptr || stop(slot))) {
                return &slot;
            }
        } else if (slot.hwnd != nullptr && IsWindowVisible(slot.hwnd) &&
                   IsWindowEnabled(slot.hwnd) &&
                   (GetWindowLongPtrW(slot.hwnd, GWL_STYLE) & WS_TABSTOP) != 0) {
            return &slot;
        }
    }
    return nullptr;
}

void FormWindow::FocusStop(ControlSlot& slot) {
    if (HWND window = slot.Face() ? MakeReal(slot) : slot.hwnd) FocusControl(window);
}

void FormWindow::FocusFirstField() {
    if (drawn_) {
        if (ControlSlot* first = NextStop(-1, false)) FocusStop(*first);
        return;
    }
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) FocusControl(first);
}

bool FormWindow::OnNextControl(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(lparam) == 0 && drawn_) {
        ControlSlot* next = NextStop(IndexOf(GetFocus()), wparam != 0);
        if (next == nullptr) return false;
        FocusStop(*next);
        return true;
    }
    HWND target = nullptr;
    if (LOWORD(lparam) != 0) {
        target = reinterpret_cast<HWND>(wparam);
    } else {
        HWND focus = GetFocus();
        target = GetNextDlgTabItem(hwnd_, IsChild(hwnd_, focus) ? focus : nullptr, wparam != 0);
    }
    if (target == nullptr || !IsChild(hwnd_, target)) return false;
    FocusControl(target);
    return true;
}

bool FormWindow::OnTabKey(const MSG& msg) {
    if (!drawn_ || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    if (!IsFormKey(hwnd_, msg)) return false;
    // A control that takes Tab itself keeps it, as in a dialog.
    if (DialogCode(msg) & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (ControlSlot* next = NextStop(IndexOf(GetFocus()), GetKeyState(VK_SHIFT) < 0))
        FocusStop(*next);
    return true;
}

bool FormWindow::OnLabelMnemonic(const MSG& msg) {
    if (!drawn_ || (msg.message != WM_SYSCHAR && msg.message != WM_CHAR)) return false;
    if (!IsFormKey(hwnd_, msg)) return false;
    // Without Alt, a letter is a mnemonic only where the focused control
    // takes no typing, as in a dialog.
    if (msg.message == WM_CHAR && (DialogCode(msg) & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))) {
        return false;
    }
    const wchar_t key = Upper(static_cast<wchar_t>(msg.wParam));
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const ControlSlot& slot = *slots_[i];
        const Applied& a = slot.applied;
        if (!slot.painted || !a.valid || !a.shown || !a.usable) continue;
        // Of the faces, buttons have mnemonics (an edit box's text is typed).
        if (slot.Face() && !Groups(slot.control->kind)) continue;
        if (Mnemonic(Wide(a.text)) != key) continue;
        // A button's face gets its window, which the dialog manager then
        // presses or ticks as the mnemonic asks.
        if (slot.Face()) {
            MakeReal(*slots_[i]);
            return false;
        }
        // The field after the label: the next one Tab reaches from there.
        if (ControlSlot* target = NextStop(static_cast<int>(i), false)) FocusStop(*target);
        return true;
    }
    return false;
}

bool FormWindow::ClickFocusedButton() {
    ControlSlot* slot = SlotOf(GetFocus());
    if (slot == nullptr || slot->control->kind != ui::ControlKind::Button) return false;
    if (!form_.Showing(*slot->control) || !form_.Usable(*slot->control)) return false;
    Fire(*slot->control, ui::Event::Click);
    return true;
}

void FormWindow::FollowFocus() {
    HWND focus = GetFocus();
    if (focus == followed_focus_) return;
    followed_focus_ = focus;
    ControlSlot* focused = SlotOf(focus);
    const bool on_button = focused != nullptr && focused->control->kind == ui::ControlKind::Button;
    const bool faces_change = on_button != focus_on_button_;
    focus_on_button_ = on_button;
    for (auto& slot : slots_) {
        if (slot->control->kind != ui::ControlKind::Button) continue;
        if (slot->Face()) {
            if (faces_change && slot->applied.valid) SyncDrawn(*slot);
            continue;
        }
        if (slot->hwnd == nullptr) continue;
        const bool framed = on_button ? slot.get() == focused : slot->control->default_button;
        const LONG_PTR type = GetWindowLongPtrW(slot->hwnd, GWL_STYLE) & BS_TYPEMASK;
        if (framed != (type == BS_DEFPUSHBUTTON)) {
            SendMessageW(slot->hwnd, BM_SETSTYLE, framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
    }
}

bool FormWindow::OnActivate(WPARAM wparam) {
    if (!options_.modal) return false;
    if (LOWORD(wparam) == WA_INACTIVE) {
        // A message box over the form, or another window: the focus is noted.
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) saved_focus_ = focus;
        return false;
    }
    // Active again: the focus goes back where it was, not to the form itself.
    if (HIWORD(wparam) != 0 || saved_focus_ == nullptr || !IsWindow(saved_focus_) ||
        !IsChild(hwnd_, saved_focus_) || !IsWindowEnabled(saved_focus_) ||
        !IsWindowVisible(saved_focus_)) {
        return false;
    }
    SetFocus(saved_focus_);
    return true;
}

void FormWindow::KeepFocus() {
    if (!options_.modal || GetActiveWindow() != hwnd_) return;
    HWND focus = GetFocus();
    if (focus != nullptr && focus != hwnd_ && IsWindowEnabled(focus) && IsWindowVisible(focus)) {
        return;
    }
    FocusFirstField();
}

}  // namespace lm::win32
