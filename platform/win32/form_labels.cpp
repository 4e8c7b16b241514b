// What a modal form draws itself, with no window each: its labels, and its
// edit and combo boxes, push buttons, check boxes and radio buttons until
// they are used (their faces). A label does all
// its STATIC window did: the form paints it over its background as the
// window painted itself (the colours of WM_CTLCOLORSTATIC, gray while
// disabled, the text from the left with its mnemonic underlined), the mouse
// on one fires its events, a hint is a tool over its place, and Alt with its
// mnemonic takes the focus to the field after it (form_keyboard.cpp). A face is drawn as the box
// stands closed, pixel for pixel as its window draws it; the pointer moved
// onto it, a click, the focus (Tab reaches it in the table's order), a
// button's mnemonic or a message of the box makes the box's window in its
// place, with those of the rest of its group of buttons. Hidden or disabled,
// a drawn control is not there for the mouse, as a window would not be.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
void FormWindow::SyncDrawn(ControlSlot& slot) {
    const ui::Control& c = *slot.control;
    const KindRenderer& kind = RendererOf(c.kind);
    Applied& a = slot.applied;
    if (slot.Face() && kind.face_needs_window != nullptr && kind.face_needs_window(c)) {
        MakeReal(slot);  // synced as it is made
        return;
    }
    const bool all = !a.valid;
    const HFONT font = Font(c);
    // A label shows its text, a face what the box shows closed.
    const std::string text = slot.Face() ? kind.face_text(c) : c.text;
    if (all || font != a.font || text != a.text) a.text_width = -1;  // measured again
    const bool new_font = font != a.font;
    a.font = font;
    ui::Rect p = form_.Placement(c);
    if (!slot.Face()) kind.place(slot, all, p);
    const bool usable = form_.Usable(c);
    const bool shown = form_.Showing(c);
    const bool moved = all || !(p == a.placement) || shown != a.shown;
    // A check mark, and a push button's frame, which follows the focus.
    const bool framed = c.kind == ui::ControlKind::Button && c.default_button && !focus_on_button_;
    const bool changed = moved || new_font || text != a.text || usable != a.usable ||
                         c.text_colour != a.text_colour || c.back_colour != a.back_colour ||
                         c.checked != a.checked || framed != a.framed;
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
    a.text = text;
    a.placement = p;
    a.usable = usable;
    a.shown = shown;
    a.text_colour = c.text_colour;
    a.back_colour = c.back_colour;
    a.checked = c.checked;
    a.framed = framed;
    a.valid = true;
    SyncHint(slot);
    if (moved) MovePaintedHint(slot);
}

bool FormWindow::PaintDrawn() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);  // the background erased as always
    if (dc == nullptr) return false;
    for (const auto& slot : slots_) {
        const Applied& a = slot->applied;
        if (!slot->painted || !a.valid || !a.shown) continue;
        RECT place = RectOf(a.placement), common{};
        if (!IntersectRect(&common, &place, &ps.rcPaint)) continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
        if (slot->Face()) {
            // Drawn in its place as its window would draw itself there.
            SetViewportOrgEx(dc, place.left, place.top, nullptr);
            const RECT client{0, 0, place.right - place.left, place.bottom - place.top};
            RendererOf(slot->control->kind).face_draw(*slot, dc, client);
            RestoreDC(dc, saved);
            continue;
        }
        // As a STATIC of the left, unwrapped kind paints itself in its place.
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

ControlSlot* FormWindow::DrawnAt(POINT client) {
    // The last drawn lies on top.
    for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
        const Applied& a = (*it)->applied;
        if (!(*it)->painted || !a.valid || !a.shown || !a.usable) continue;
        const RECT place = RectOf(a.placement);
        if (PtInRect(&place, client)) return it->get();
    }
    return nullptr;
}

bool FormWindow::OnDrawnMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
    const bool move = msg == WM_MOUSEMOVE;
    const bool press = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
                       msg == WM_RBUTTONDBLCLK;
    if ((!move && !press) || syncing_) return false;
    const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ControlSlot* drawn = DrawnAt(at);
    if (drawn == nullptr) return false;
    if (drawn->Face()) {
        // The pointer on a face: the box's window comes before the click
        // does, so that a double click or a drag in it is the box's own from
        // the first; a click with no move before it goes on to the window.
        const ui::Rect& p = drawn->applied.placement;
        HWND real = MakeReal(*drawn);
        if (real == nullptr) return true;
        SendMessageW(real, msg, wparam, MAKELPARAM(at.x - p.left, at.y - p.top));
        return true;
    }
    if (move || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) return false;
    // A STATIC that notifies tells of the button going down, and of the
    // second one of a double click.
    Fire(*drawn->control, msg == WM_LBUTTONDOWN ? ui::Event::Click : ui::Event::DoubleClick);
    return true;
}

BOOL FormWindow::TellDrawn(DrawnControlQuery* query) {
    if (query == nullptr || query->name == nullptr) return FALSE;
    for (const auto& slot : slots_) {
        if (Wide(slot->control->name) != query->name) continue;
        if (query->make_real && slot->Face()) MakeReal(*slot);
        // A control with its window (one made a moment ago, maybe not named
        // yet) tells of that window when asked to make it.
        if (!slot->painted) {
            if (query->make_real) query->window = slot->hwnd;
            return query->window != nullptr ? TRUE : FALSE;
        }
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
