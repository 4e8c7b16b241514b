// Combo boxes, list boxes and check list boxes (owner-drawn list boxes whose
// items carry a check box).
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/control_kinds.h"
#include "platform/win32/form_renderer.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

// The check box of a check list box item: the left part of the item, this wide.
int CheckAreaWidth(int item_height) {
    return item_height + 2;
}

// Check list boxes tick an item when its box is clicked or Space is pressed.
LRESULT CALLBACK CheckListProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    WNDPROC old = slot->old_proc;
    if (msg == WM_CHAR && wparam == L' ') return 0;  // not a search for an item
    int toggle = -1;
    LRESULT result = 0;
    if (msg == WM_KEYDOWN && wparam == VK_SPACE) {
        toggle = static_cast<int>(CallWindowProcW(old, hwnd, LB_GETCURSEL, 0, 0));
    } else {
        result = CallWindowProcW(old, hwnd, msg, wparam, lparam);
        if (msg == WM_LBUTTONDOWN) {
            LRESULT hit = CallWindowProcW(old, hwnd, LB_ITEMFROMPOINT, 0, lparam);
            int item_height = static_cast<int>(CallWindowProcW(old, hwnd, LB_GETITEMHEIGHT, 0, 0));
            int x = static_cast<short>(LOWORD(lparam));
            if (HIWORD(hit) == 0 && x < CheckAreaWidth(item_height)) toggle = LOWORD(hit);
        }
    }
    ui::Control& c = *slot->control;
    if (toggle >= 0 && toggle < static_cast<int>(c.items.size())) {
        c.item_checks.resize(c.items.size(), false);
        const auto i = static_cast<std::size_t>(toggle);
        c.item_checks[i] = !c.item_checks[i];
        slot->applied.checks = c.item_checks;
        RECT item{};
        if (CallWindowProcW(old, hwnd, LB_GETITEMRECT, static_cast<WPARAM>(toggle),
                            reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
            InvalidateRect(hwnd, &item, FALSE);
        }
        slot->owner->Fire(c, ui::Event::ClickCheck);
    }
    return result;
}

void CreateComboBox(ControlSlot& slot, WindowRecipe& recipe) {
    recipe.window_class = L"COMBOBOX";
    recipe.style |= WS_TABSTOP | WS_VSCROLL |
                    (slot.control->read_only ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
}

void CreateListBox(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = L"LISTBOX";
    recipe.style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    recipe.ex_style |= WS_EX_CLIENTEDGE;
}

void CreateCheckListBox(ControlSlot&, WindowRecipe& recipe) {
    recipe.window_class = L"LISTBOX";
    recipe.style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    recipe.ex_style |= WS_EX_CLIENTEDGE;
}

// The items anew when they changed, in one pass without a redraw per item;
// the selection is then applied again.
void SyncItemList(ControlSlot& slot, bool all, UINT reset, UINT add, UINT init_storage) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (all || c.items != a.items) {
        HWND h = slot.hwnd;
        SendMessageW(h, WM_SETREDRAW, FALSE, 0);
        SendMessageW(h, reset, 0, 0);
        std::vector<std::wstring> items;
        items.reserve(c.items.size());
        std::size_t chars = 0;
        for (const auto& item : c.items) {
            items.push_back(Wide(item));
            chars += items.back().size() + 1;
        }
        SendMessageW(h, init_storage, items.size(), chars * sizeof(wchar_t));
        for (const auto& item : items)
            SendMessageW(h, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        // A list on screen shows its new items; one not shown yet paints them
        // when it shows.
        if (IsWindowVisible(h)) {
            RedrawWindow(h, nullptr, nullptr,
                         RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        a.items = c.items;
        a.selection = -2;
    }
}

// True when the selection was applied.
bool SyncSelection(ControlSlot& slot, UINT select) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (c.selection == a.selection) return false;
    SendMessageW(slot.hwnd, select, static_cast<WPARAM>(c.selection), 0);
    a.selection = c.selection;
    return true;
}

void SyncComboBox(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    SyncItemList(slot, all, CB_RESETCONTENT, CB_ADDSTRING, CB_INITSTORAGE);
    if (SyncSelection(slot, CB_SETCURSEL)) a.text = WindowText(slot.hwnd);
    // A combo box one can type into shows the model's text.
    if (!c.read_only && (all || c.text != a.text)) {
        SetWindowTextW(slot.hwnd, Wide(c.text).c_str());
        a.text = c.text;
    }
}

void SyncListBox(ControlSlot& slot, bool all) {
    SyncItemList(slot, all, LB_RESETCONTENT, LB_ADDSTRING, LB_INITSTORAGE);
    SyncSelection(slot, LB_SETCURSEL);
}

void SyncCheckListBox(ControlSlot& slot, bool all) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    SyncItemList(slot, all, LB_RESETCONTENT, LB_ADDSTRING, LB_INITSTORAGE);
    if (all || c.item_checks != a.checks) {
        a.checks = c.item_checks;
        InvalidateRect(slot.hwnd, nullptr, FALSE);
    }
    SyncSelection(slot, LB_SETCURSEL);
}

// The window of a combo box includes its open list.
void ComboBoxPlace(const ControlSlot& slot, ui::Rect& placement) {
    placement.height += slot.ItemHeight() * std::max(slot.control->drop_down_count, 1) + 2;
}

void PlaceComboBox(ControlSlot& slot, bool all, ui::Rect& placement) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (all || c.drop_down_count != a.drop_down_count) {
        SendMessageW(slot.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                     std::max(c.bounds.height - 6, 1));
        a.drop_down_count = c.drop_down_count;
    }
    ComboBoxPlace(slot, placement);
}

// What a combo box shows closed: the chosen item of a list one cannot type
// into, else the text.
std::string ComboBoxFaceText(const ui::Control& c) {
    if (!c.read_only) return c.text;
    if (c.selection < 0 || c.selection >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<std::size_t>(c.selection)];
}

// A closed combo box as the system draws one: a sunken frame, the field with
// the brush and colours the form gives an edit box (a static one when
// disabled), the text and the button that opens the list.
void DrawComboBoxFace(ControlSlot& slot, HDC dc, const RECT& client) {
    const bool usable = slot.applied.usable;
    RECT inner = client;
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT button = inner;
    button.left = std::max(inner.left, inner.right - GetSystemMetrics(SM_CXVSCROLL));
    DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (usable ? 0 : DFCS_INACTIVE));
    RECT field = inner;
    field.right = button.left;
    FillFaceField(slot, dc, field, true);
    RECT clip = field;
    InflateRect(&clip, -1, -1);
    // A list's chosen item stands a pixel in; the typed text of one that
    // takes typing stands where its edit box puts it.
    const bool list = slot.control->read_only;
    const int left = list ? clip.left + 1 : clip.left + slot.EditMargin();
    DrawFaceText(slot, dc, left, list ? clip.top + 1 : clip.top, clip);
}

void ComboBoxCommand(ControlSlot& slot, HWND window, int code) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (code == CBN_SELCHANGE) {
        c.selection = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
        if (c.selection >= 0 && c.selection < static_cast<int>(c.items.size())) {
            c.text = c.items[static_cast<std::size_t>(c.selection)];
        }
        a.selection = c.selection;
        a.text = c.text;
        slot.owner->Fire(c, ui::Event::Change);
    } else if (code == CBN_EDITCHANGE) {
        c.text = WindowText(window);
        auto found = std::find(c.items.begin(), c.items.end(), c.text);
        c.selection = found == c.items.end() ? -1 : static_cast<int>(found - c.items.begin());
        a.text = c.text;
        a.selection = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
        slot.owner->Fire(c, ui::Event::Change);
    }
}

void ListBoxCommand(ControlSlot& slot, HWND window, int code) {
    ui::Control& c = *slot.control;
    if (code == LBN_SELCHANGE) {
        c.selection = static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
        slot.applied.selection = c.selection;
        slot.owner->Fire(c, ui::Event::Click);
    } else if (code == LBN_DBLCLK) {
        slot.owner->Fire(c, ui::Event::DoubleClick);
    }
}

void DrawCheckListItem(ControlSlot& slot, const DRAWITEMSTRUCT& item) {
    const ui::Control& c = *slot.control;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
        return;
    }
    const std::size_t index = item.itemID;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool usable = slot.owner->form().Usable(c);
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int height = r.bottom - r.top;
    const int box = std::min(13, height - 2);
    RECT check{r.left + 2, r.top + (height - box) / 2, r.left + 2 + box,
               r.top + (height - box) / 2 + box};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (index < c.item_checks.size() && c.item_checks[index]) state |= DFCS_CHECKED;
    if (!usable) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &check, DFC_BUTTON, state);
    if (index < c.items.size()) {
        std::wstring text = Wide(c.items[index]);
        RECT text_rect = r;
        text_rect.left += CheckAreaWidth(height) + 2;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!usable    ? COLOR_GRAYTEXT
                                     : selected ? COLOR_HIGHLIGHTTEXT
                                                : COLOR_WINDOWTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace

const KindRenderer kComboBoxRenderer{
    .create = CreateComboBox,
    .sync = SyncComboBox,
    .place = PlaceComboBox,
    .made_place = ComboBoxPlace,
    .command = ComboBoxCommand,
    .face_text = ComboBoxFaceText,
    .face_draw = DrawComboBoxFace,
    .background = Background::WindowWhenEditable,
};

const KindRenderer kListBoxRenderer{
    .create = CreateListBox,
    .sync = SyncListBox,
    .command = ListBoxCommand,
    .background = Background::Window,
};

const KindRenderer kCheckListBoxRenderer{
    .create = CreateCheckListBox,
    .subclass = CheckListProc,
    .sync = SyncCheckListBox,
    .command = ListBoxCommand,
    .draw = DrawCheckListItem,
    .background = Background::Window,
};

}  // namespace lm::win32
