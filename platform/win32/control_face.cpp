// The face of a control whose own window is dear to make (a combo box, which
// Wine makes with a list window of its own; an edit box, of which the analog
// dialog has 37): a plain child window that draws the control as it stands,
// closed, takes its place in the tab order and carries its name, until the
// control is first used. Then the control's real window is made in its
// place, and the face hides and hands on whatever still reaches it.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

// The messages of a combo box or an edit box of its own, which need its real
// window.
bool ControlMessage(UINT msg) {
    return (msg >= CB_GETEDITSEL && msg <= CB_MSGMAX) ||
           (msg >= EM_GETSEL && msg <= EM_GETIMESTATUS);
}

LRESULT CALLBACK FaceProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    switch (msg) {
        case WM_NCCREATE:
            // A face has no title, frame or scroll bars for the default
            // handling to set up (under Wine, a server request for the title).
            return TRUE;
        case WM_PAINT: {
            // The whole face is drawn, then marked painted: a face has no
            // caret or frame for BeginPaint to hide or draw (under Wine, three
            // server requests fewer per face).
            HDC dc = GetDC(hwnd);
            RECT client{};
            GetClientRect(hwnd, &client);
            if (const auto draw = RendererOf(slot->control->kind).face_draw)
                draw(*slot, dc, client);
            ReleaseDC(hwnd, dc);
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the paint covers the whole face
        case WM_SETFONT:
            if (lparam != 0) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETTEXTLENGTH:
            if (slot->hwnd != nullptr) return SendMessageW(slot->hwnd, msg, wparam, lparam);
            return static_cast<LRESULT>(Wide(slot->applied.text).size());
        case WM_GETTEXT: {
            if (slot->hwnd != nullptr) return SendMessageW(slot->hwnd, msg, wparam, lparam);
            // What the control shows, cut to the buffer as a window's title is.
            const std::wstring text = Wide(slot->applied.text);
            auto* buffer = reinterpret_cast<wchar_t*>(lparam);
            if (buffer == nullptr || wparam == 0) return 0;
            const std::size_t n = std::min<std::size_t>(text.size(), wparam - 1);
            std::copy_n(text.begin(), n, buffer);
            buffer[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_SETTEXT:
            // A new text is typed into the real control.
            if (HWND real = slot->MakeReal()) return SendMessageW(real, msg, wparam, lparam);
            return FALSE;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(slot->applied.font);
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
            // Reached with Tab, a mnemonic or the form's first focus: a face
            // that can show the focus keeps it until a key comes; otherwise,
            // or once the control is made (Tab makes it on its way here), the
            // focus goes on to the real control.
            if (const auto keeps = RendererOf(slot->control->kind).face_keeps_focus;
                slot->hwnd == nullptr && keeps != nullptr && keeps(*slot->control)) {
                InvalidateRect(hwnd, nullptr, FALSE);
            } else if (HWND real = slot->MakeReal()) {
                SetFocus(real);
            }
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
        case WM_MOUSEWHEEL:
            // A key (or the wheel) on a face that kept the focus: the real
            // control takes the focus, and the key.
            if (HWND real = slot->MakeReal()) return SendMessageW(real, msg, wparam, lparam);
            return 0;
        case WM_GETDLGCODE: {
            // Asked with the key being handled (lparam), the dialog manager is
            // about to move the focus here with Tab: the real control answers
            // (an edit box has its text selected). Asked bare, it looks for a
            // mnemonic among all controls: a face that has not given way has
            // none to offer.
            HWND real = slot->hwnd != nullptr || lparam == 0 ? slot->hwnd : slot->MakeReal();
            return real != nullptr ? SendMessageW(real, msg, wparam, lparam) : 0;
        }
        case WM_MOUSEMOVE:
            // The pointer on the face: the real control comes before the
            // click does, so that a double click or a drag in it is the
            // control's own from the first.
            if (HWND real = slot->MakeReal()) SendMessageW(real, msg, wparam, lparam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            // A click with no move before it goes to the real control, which
            // lies where the face does: a combo box opens its list on the
            // first click, an edit box puts its caret where it was clicked.
            if (HWND real = slot->MakeReal()) return SendMessageW(real, msg, wparam, lparam);
            return 0;
        default:
            if (ControlMessage(msg)) {
                HWND real = slot->MakeReal();
                return real != nullptr ? SendMessageW(real, msg, wparam, lparam) : CB_ERR;
            }
            return DefWindowProcW(hwnd, msg, wparam, lparam);
    }
}

}  // namespace

void FillFaceField(ControlSlot& slot, HDC dc, const RECT& field, bool editable) {
    HWND face = slot.face;
    const bool usable = IsWindowEnabled(face) != FALSE;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(face), usable && editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(face)));
    if (brush == nullptr) brush = GetSysColorBrush(COLOR_WINDOW);
    if (!usable) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    FillRect(dc, &field, brush);
}

void DrawFaceText(ControlSlot& slot, HDC dc, int x, int y, const RECT& clip) {
    const std::wstring text = Wide(slot.applied.text);
    HGDIOBJ old = SelectObject(dc, slot.applied.font);
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    SelectObject(dc, old);
}

bool RegisterFaceClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kControlFaceClass, FaceProc);
}

void UnregisterFaceClass(HINSTANCE instance) {
    UnregisterClassW(kControlFaceClass, instance);
}

}  // namespace lm::win32
