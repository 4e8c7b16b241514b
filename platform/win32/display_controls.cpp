// The controls that show rather than take input: labels and images (STATIC
// windows, which still tell of clicks; a modal form draws its labels itself,
// form_labels.cpp, with the place measured here), progress bars, and timers,
// which are timers of the form window with no window of their own.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>

#include "platform/win32/control_kinds.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

void CreateLabel(ControlSlot&, WindowRecipe& recipe) {
    recipe.style |= SS_LEFTNOWORDWRAP | SS_NOTIFY;
}

void CreateImage(ControlSlot&, WindowRecipe& recipe) {
    recipe.style |= SS_OWNERDRAW | SS_NOTIFY;
}

void CreateProgressBar(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = PROGRESS_CLASSW;
}

// How wide the label's text is in its font, measured on a memory device
// context (which, unlike the window's, costs Wine no server request).
int LabelTextWidth(const ControlSlot& slot) {
    RECT extent{0, 0, 0, 0};
    const std::wstring text = Wide(slot.control->text);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, slot.Font());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return extent.right - extent.left;
}

// A label grows with a text longer than its place, as an auto-sized label
// does, rather than cutting it; it is made that wide.
void LabelPlace(const ControlSlot& slot, ui::Rect& placement) {
    placement.width = std::max(placement.width, LabelTextWidth(slot));
}

void PlaceLabel(ControlSlot& slot, bool, ui::Rect& placement) {
    Applied& a = slot.applied;
    if (a.text_width < 0) a.text_width = LabelTextWidth(slot);
    placement.width = std::max(placement.width, a.text_width);
}

void SyncImage(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (!all && c.picture == a.picture) return;
    if (slot.bitmap != nullptr) DeleteObject(slot.bitmap);
    slot.bitmap = nullptr;
    if (!c.picture.empty()) {
        // The light gray of a picture with a colour table is
        // the window's face colour, as its background should be.
        slot.bitmap =
            static_cast<HBITMAP>(LoadImageW(nullptr, Wide(c.picture).c_str(), IMAGE_BITMAP, 0, 0,
                                            LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
    }
    a.picture = c.picture;
    InvalidateRect(slot.hwnd, nullptr, TRUE);
}

void DrawImage(ControlSlot& slot, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (slot.bitmap == nullptr) return;
    BITMAP info{};
    GetObjectW(slot.bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, slot.bitmap);
    BitBlt(dc, r.left, r.top, std::min<int>(info.bmWidth, r.right - r.left),
           std::min<int>(info.bmHeight, r.bottom - r.top), memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void StaticCommand(ControlSlot& slot, HWND, int code) {
    if (code == STN_CLICKED) slot.owner->Fire(*slot.control, ui::Event::Click);
    if (code == STN_DBLCLK) slot.owner->Fire(*slot.control, ui::Event::DoubleClick);
}

void SyncProgressBar(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    if (all || c.minimum != a.minimum || c.maximum != a.maximum) {
        SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(c.minimum), c.maximum);
        a.minimum = c.minimum;
        a.maximum = c.maximum;
        a.position = c.position - 1;  // the range may have moved the bar
    }
    if (c.position != a.position) {
        SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(c.position), 0);
        a.position = c.position;
    }
}

// A timer of the form window, with the control's id; its WM_TIMER fires the
// control's event while it runs.
void SyncTimer(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    const bool run = c.enabled && c.interval > 0;
    if (!all && run == a.usable && (!run || c.interval == a.interval)) return;
    HWND form = slot.owner->hwnd();
    const auto id = static_cast<UINT_PTR>(slot.id);
    if (run) {
        SetTimer(form, id, static_cast<UINT>(c.interval), nullptr);
    } else if (a.usable) {
        KillTimer(form, id);
    }
    a.usable = run;
    a.interval = c.interval;
    a.valid = true;
}

}  // namespace

const KindRenderer kLabelRenderer{
    .create = CreateLabel,
    .sync = SyncText,
    .place = PlaceLabel,
    .made_place = LabelPlace,
    .command = StaticCommand,
    .made_with_text = true,
};

const KindRenderer kImageRenderer{
    .create = CreateImage,
    .sync = SyncImage,
    .command = StaticCommand,
    .draw = DrawImage,
};

const KindRenderer kProgressBarRenderer{
    .create = CreateProgressBar,
    .sync = SyncProgressBar,
};

const KindRenderer kTimerRenderer{
    .has_window = false,
    .sync = SyncTimer,
};

}  // namespace lm::win32
