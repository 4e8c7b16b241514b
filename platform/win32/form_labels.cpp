// The labels of a modal form, drawn by the form itself: no window each, but
// everything a label's STATIC window did. The form paints them over its
// background as the window painted itself (the colours of WM_CTLCOLORSTATIC,
// gray while disabled, the text from the left with its mnemonic underlined);
// the mouse on one fires its events, a hint is a tool over its place, and
// Alt with its mnemonic takes the focus to the field after it, as the dialog
// manager does for a STATIC. Hidden or disabled, a label is not there for the
// mouse, as a window would not be.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

wchar_t Upper(wchar_t letter) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(letter)))));
}

RECT RectOf(const ui::Rect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
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

void FormWindow::SyncPaintedLabel(ControlSlot& slot) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    const bool all = !a.valid;
    const HFONT font = Font(c);
    if (all || font != a.font || c.text != a.text) a.text_width = -1;  // measured again
    a.font = font;
    ui::Rect p = form_.Placement(c);
    RendererOf(c.kind).place(slot, all, p);
    const bool usable = form_.Usable(c);
    const bool shown = form_.Showing(c);
    const bool moved = all || !(p == a.placement) || shown != a.shown;
    const bool changed = moved || c.text != a.text || usable != a.usable ||
                         c.text_colour != a.text_colour || c.back_colour != a.back_colour;
    // A form not shown yet paints everything when it shows.
    if (changed && IsWindowVisible(hwnd_)) {
        if (a.valid && a.shown) {
            const RECT old = RectOf(a.placement);
            InvalidateRect(hwnd_, &old, TRUE);
        }
        if (shown) {
            const RECT now = RectOf(p);
            InvalidateRect(hwnd_, &now, TRUE);
        }
    }
    a.text = c.text;
    a.placement = p;
    a.usable = usable;
    a.shown = shown;
    a.text_colour = c.text_colour;
    a.back_colour = c.back_colour;
    a.valid = true;
    SyncHint(slot);
    if (moved) MovePaintedHint(slot);
}

bool FormWindow::PaintLabels() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);  // the background erased as always
    if (dc == nullptr) return false;
    for (const auto& slot : slots_) {
        const Applied& a = slot->applied;
        if (!slot->painted || !a.valid || !a.shown) continue;
        RECT place = RectOf(a.placement), common{};
        if (!IntersectRect(&common, &place, &ps.rcPaint)) continue;
        // As a STATIC of the left, unwrapped kind paints itself in its place.
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
        SelectObject(dc, a.font);
        LRESULT brush = 0;
        if (!ColourOf(dc, *slot, brush)) {
            // What the default window procedure gives a STATIC.
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            brush = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        FillRect(dc, &place, reinterpret_cast<HBRUSH>(brush));
        if (!a.usable) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        const std::wstring text = Wide(a.text);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, DT_LEFT | DT_EXPANDTABS);
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd_, &ps);
    return true;
}

ControlSlot* FormWindow::PaintedLabelAt(POINT client) {
    // The last drawn lies on top.
    for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
        const Applied& a = (*it)->applied;
        if (!(*it)->painted || !a.valid || !a.shown || !a.usable) continue;
        const RECT place = RectOf(a.placement);
        if (PtInRect(&place, client)) return it->get();
    }
    return nullptr;
}

bool FormWindow::OnLabelMouse(UINT msg, LPARAM lparam) {
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return false;
    const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ControlSlot* label = PaintedLabelAt(at);
    if (label == nullptr || syncing_) return false;
    // A STATIC that notifies tells of the button going down, and of the
    // second one of a double click.
    Fire(*label->control, msg == WM_LBUTTONDOWN ? ui::Event::Click : ui::Event::DoubleClick);
    return true;
}

bool FormWindow::OnLabelMnemonic(const MSG& msg) {
    if (!painted_labels_ || (msg.message != WM_SYSCHAR && msg.message != WM_CHAR)) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.message == WM_CHAR) {
        // Without Alt, a letter is a mnemonic only where the focused control
        // takes no typing, as in a dialog.
        const LRESULT code =
            SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) return false;
    }
    const wchar_t key = Upper(static_cast<wchar_t>(msg.wParam));
    HWND before = nullptr;  // the last window before the label in the table
    for (const auto& slot : slots_) {
        const Applied& a = slot->applied;
        if (slot->Shown() != nullptr) before = slot->Shown();
        if (!slot->painted || !a.valid || !a.shown || !a.usable) continue;
        if (Mnemonic(Wide(a.text)) != key) continue;
        // The field after the label: the next one Tab reaches from there.
        if (HWND target = GetNextDlgTabItem(hwnd_, before, FALSE)) FocusControl(target);
        return true;
    }
    return false;
}

BOOL FormWindow::TellPaintedLabel(PaintedLabelQuery* query) {
    if (query == nullptr || query->name == nullptr) return FALSE;
    for (const auto& slot : slots_) {
        if (!slot->painted || Wide(slot->control->name) != query->name) continue;
        const Applied& a = slot->applied;
        const std::wstring text = Wide(a.text);
        const std::size_t n = std::min(text.size(), std::size(query->text) - 1);
        std::copy_n(text.begin(), n, query->text);
        query->text[n] = L'\0';
        query->rect = RectOf(a.placement);
        query->shown = a.shown ? TRUE : FALSE;
        query->usable = a.usable ? TRUE : FALSE;
        query->font = a.font;
        return TRUE;
    }
    return FALSE;
}

}  // namespace lm::win32
