#include "platform/win32/form_renderer.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "platform/win32/control_slot.h"
#include "platform/win32/win32_text.h"
#include "ui/float_edit.h"
#include "ui/line_sync.h"

namespace lm::win32 {
namespace {

// Posted to a form window to bring its memos up to date.
constexpr UINT kFlushMemos = WM_APP + 0x14D;
// Posted to a numeric edit that gave the focus away holding no number.
constexpr UINT kTakeFocusBack = WM_APP + 0x14E;

HINSTANCE g_instance = nullptr;
bool g_classes_registered = false;
std::map<const ui::Form*, FormWindow*>& Registry() {
    static std::map<const ui::Form*, FormWindow*> registry;
    return registry;
}

HINSTANCE Instance() {
    return g_instance != nullptr ? g_instance : GetModuleHandleW(nullptr);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (window != nullptr && window->Handle(msg, wparam, lparam, result)) return result;
    return DefWindowProcW(hwnd, msg, wparam, lparam);
}

bool RegisterFormClass(const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void RegisterClasses() {
    if (g_classes_registered) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    g_classes_registered = RegisterFormClass(kDriverWindowClass) &
                           RegisterFormClass(kFormWindowClass) &
                           RegisterStringGridClass(Instance());
}

COLORREF ColourRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool IsTextKind(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Label:
        case ui::ControlKind::Button:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
        case ui::ControlKind::GroupBox:
        case ui::ControlKind::Edit:
        case ui::ControlKind::FloatEdit:
            return true;
        default:
            return false;
    }
}

bool IsEditKind(ui::ControlKind kind) {
    return kind == ui::ControlKind::Edit || kind == ui::ControlKind::Memo ||
           kind == ui::ControlKind::FloatEdit;
}

bool IsListKind(ui::ControlKind kind) {
    return kind == ui::ControlKind::ListBox || kind == ui::ControlKind::CheckListBox;
}

std::wstring JoinLines(const std::vector<std::string>& lines, std::size_t from) {
    std::wstring text;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (i > from) text += L"\r\n";
        text += Wide(lines[i]);
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    return lines;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return Narrow(text);
}

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

// A numeric edit: its model filters the typed characters (a refused one
// beeps), steps the value with the arrow keys and normalises the text when
// the focus leaves; a text that is no number takes the focus back, silently.
LRESULT CALLBACK FloatEditProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ControlSlot* slot = ControlSlot::Of(hwnd);
    if (slot == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    WNDPROC old = slot->old_proc;
    ui::Control& c = *slot->control;
    ui::TFloatEdit edit(c);
    switch (msg) {
        case WM_CHAR: {
            const char key = wparam < 0x80 ? static_cast<char>(wparam) : '\x7F';
            if (!edit.KeyPress(key)) {
                MessageBeep(MB_OK);
                return 0;
            }
            break;
        }
        case WM_KEYDOWN:
            if (wparam == VK_UP || wparam == VK_DOWN) {
                c.text = WindowText(hwnd);
                edit.KeyDown(wparam == VK_UP ? ui::ArrowKey::Up : ui::ArrowKey::Down);
                slot->owner->Fire(c, ui::Event::Change);
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            LRESULT result = CallWindowProcW(old, hwnd, msg, wparam, lparam);
            c.text = WindowText(hwnd);
            // A form closing (Zpět with a bad number) lets the focus go.
            const bool closing = slot->owner->form().modal_result != ui::ModalResult::None;
            // Only a refused key beeps; a text that is no number takes the
            // focus back without a sound.
            if (!edit.Exit() && !closing) {
                c.number.wants_focus = false;
                PostMessageW(hwnd, kTakeFocusBack, 0, 0);
            }
            slot->owner->Sync();
            return result;
        }
        case kTakeFocusBack:
            SetFocus(hwnd);
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            return 0;
        default:
            break;
    }
    return CallWindowProcW(old, hwnd, msg, wparam, lparam);
}

}  // namespace

void SetRendererInstance(HINSTANCE instance) {
    g_instance = instance;
}

void UnregisterRendererClasses() {
    if (!g_classes_registered) return;
    UnregisterClassW(kDriverWindowClass, Instance());
    UnregisterClassW(kFormWindowClass, Instance());
    UnregisterStringGridClass(Instance());
    g_classes_registered = false;
}

FormWindow* FormWindow::Of(const ui::Form& form) {
    auto it = Registry().find(&form);
    return it == Registry().end() ? nullptr : it->second;
}

FormWindow::FormWindow(ui::Form& form, Options options)
    : form_(form), options_(std::move(options)), alive_(std::make_shared<bool>(true)) {
    RegisterClasses();
    // No WS_CLIPCHILDREN: the form paints the background that group boxes,
    // which draw only their frame, leave to it.
    DWORD style = WS_POPUP | WS_CAPTION;
    if (form_.border_icons) style |= WS_SYSMENU;
    DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    hwnd_ = CreateWindowExW(ex_style, options_.window_class, Wide(form_.caption).c_str(), style,
                            form_.left, form_.top, form_.width, form_.height, options_.owner,
                            nullptr, Instance(), this);
    if (hwnd_ == nullptr) return;
    Registry()[&form_] = this;
    for (std::size_t i = 0; i < form_.controls().size(); ++i) CreateControl(i);
    // Group boxes lie under the controls they frame.
    for (auto& slot : slots_) {
        if (slot->control->kind == ui::ControlKind::GroupBox) {
            SetWindowPos(slot->hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    created_ = true;
}

FormWindow::~FormWindow() {
    *alive_ = false;
    auto it = Registry().find(&form_);
    if (it != Registry().end() && it->second == this) Registry().erase(it);
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    for (auto& slot : slots_) {
        if (slot->hwnd == nullptr) continue;
        if (slot->grid) ReleaseStringGrid(*slot);
        if (slot->old_proc != nullptr) {
            SetWindowLongPtrW(slot->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot->old_proc));
        }
        RemovePropW(slot->hwnd, kSlotProperty);
        RemovePropW(slot->hwnd, (kControlNamePrefix + Wide(slot->control->name)).c_str());
    }
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    DestroyWindow(hwnd_);
    for (auto& slot : slots_) {
        if (slot->bitmap != nullptr) DeleteObject(slot->bitmap);
    }
    for (auto& [key, font] : fonts_) DeleteObject(font);
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

void FormWindow::CreateControl(std::size_t index) {
    ui::Control& c = *form_.controls()[index];
    auto slot = std::make_unique<ControlSlot>();
    slot->owner = this;
    slot->control = &c;
    slot->id = kFirstControlId + static_cast<int>(index);

    if (c.kind == ui::ControlKind::Timer) {
        // A timer of the form window, with the control's id: no window of its own.
        slots_.push_back(std::move(slot));
        return;
    }
    const wchar_t* window_class = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex_style = 0;
    switch (c.kind) {
        case ui::ControlKind::Label:
            style |= SS_LEFTNOWORDWRAP | SS_NOTIFY;
            break;
        case ui::ControlKind::Image:
            style |= SS_OWNERDRAW | SS_NOTIFY;
            break;
        case ui::ControlKind::Button:
            window_class = L"BUTTON";
            style |= WS_TABSTOP | (c.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ui::ControlKind::CheckBox:
            window_class = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ui::ControlKind::RadioButton:
            // Exclusive among the radio buttons of the same parent, which the
            // model decides (ChooseRadio), not the window's z-order.
            window_class = L"BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            break;
        case ui::ControlKind::GroupBox:
            window_class = L"BUTTON";
            style |= BS_GROUPBOX;
            break;
        case ui::ControlKind::Edit:
        case ui::ControlKind::FloatEdit:
            window_class = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case ui::ControlKind::Memo:
            // Long lines wrap, as in a memo with only a vertical scroll bar.
            window_class = L"EDIT";
            style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (c.vertical_scroll) style |= WS_VSCROLL;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case ui::ControlKind::ComboBox:
            window_class = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL |
                     (c.read_only ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL);
            break;
        case ui::ControlKind::ListBox:
            window_class = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case ui::ControlKind::CheckListBox:
            window_class = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                     LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case ui::ControlKind::StringGrid:
            window_class = kStringGridClass;
            style |= WS_TABSTOP | WS_VSCROLL;
            ex_style |= WS_EX_CLIENTEDGE;
            slot->grid = std::make_unique<GridState>();
            break;
        case ui::ControlKind::ProgressBar:
            window_class = PROGRESS_CLASSW;
            break;
        case ui::ControlKind::Timer:
            break;
    }
    ui::Rect r = form_.Placement(c);
    // Messages during creation find no slot yet and get the default handling.
    slot->hwnd =
        CreateWindowExW(ex_style, window_class, L"", style, r.left, r.top, r.width, r.height, hwnd_,
                        reinterpret_cast<HMENU>(INT_PTR{slot->id}), Instance(), nullptr);
    if (slot->hwnd != nullptr) {
        SetPropW(slot->hwnd, kSlotProperty, slot.get());
        SetPropW(slot->hwnd, (kControlNamePrefix + Wide(c.name)).c_str(),
                 reinterpret_cast<HANDLE>(INT_PTR{1}));
        if (c.kind == ui::ControlKind::CheckListBox) {
            slot->old_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                slot->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckListProc)));
        }
        if (c.kind == ui::ControlKind::FloatEdit) {
            slot->old_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                slot->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FloatEditProc)));
        }
    }
    slots_.push_back(std::move(slot));
}

ControlSlot* FormWindow::SlotOf(HWND child) {
    for (auto& slot : slots_) {
        if (slot->hwnd == child && child != nullptr) return slot.get();
    }
    return nullptr;
}

ControlSlot* FormWindow::SlotById(int id) {
    std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
    if (id < kFirstControlId || index >= slots_.size()) return nullptr;
    return slots_[index].get();
}

HFONT FormWindow::FontFor(bool bold, bool underline, bool fixed_pitch) {
    int key = (bold ? 1 : 0) | (underline ? 2 : 0) | (fixed_pitch ? 4 : 0);
    for (auto& [k, font] : fonts_) {
        if (k == key) return font;
    }
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(form_.font_size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    std::wstring face = fixed_pitch ? std::wstring(L"Courier New") : Wide(form_.font_name);
    HFONT font = CreateFontW(
        height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
        EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        (fixed_pitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_SWISS), face.c_str());
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace_back(key, font);
    return font;
}

HFONT FormWindow::Font(const ui::Control& control) {
    return FontFor(control.bold, control.underline, control.fixed_pitch);
}

HBRUSH FormWindow::Brush(std::uint32_t colour) {
    for (auto& [c, brush] : brushes_) {
        if (c == colour) return brush;
    }
    HBRUSH brush = CreateSolidBrush(ColourRef(colour));
    brushes_.emplace_back(colour, brush);
    return brush;
}

int FormWindow::ItemHeight() {
    if (item_height_ == 0) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, FontFor(false, false, false));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        item_height_ = std::max<int>(tm.tmHeight + 3, 13);
    }
    return item_height_;
}

void FormWindow::Sync() {
    if (hwnd_ == nullptr) return;
    if (syncing_) {
        // Reached from a message the sync itself caused: one more round after it.
        resync_ = true;
        return;
    }
    syncing_ = true;
    int rounds = 0;
    do {
        resync_ = false;
        for (auto& slot : slots_) {
            if (slot->hwnd != nullptr) SyncControl(*slot);
            if (slot->control->kind == ui::ControlKind::Timer) SyncTimer(*slot);
        }
        SyncWindow();
        first_sync_ = false;
    } while (resync_ && ++rounds < 3);
    syncing_ = false;
}

void FormWindow::SyncWindow() {
    if (first_sync_ || form_.caption != applied_caption_) {
        SetWindowTextW(hwnd_, Wide(form_.caption).c_str());
        applied_caption_ = form_.caption;
    }
    if (!form_.visible) {
        if (IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    if (form_.state == ui::WindowState::Minimized) {
        if (!IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
        return;
    }
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, options_.modal ? SW_RESTORE : SW_SHOWNOACTIVATE);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (r.left != form_.left || r.top != form_.top || r.right - r.left != form_.width ||
        r.bottom - r.top != form_.height) {
        SetWindowPos(hwnd_, nullptr, form_.left, form_.top, form_.width, form_.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, options_.modal ? SW_SHOW : SW_SHOWNOACTIVATE);
}

void FormWindow::SyncControl(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    const bool all = !a.valid;

    HFONT font = Font(c);
    if (all || font != a.font) {
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        a.font = font;
        a.text_width = -1;
    }
    if (IsTextKind(c.kind) && (all || c.text != a.text)) {
        SetWindowTextW(h, Wide(c.text).c_str());
        a.text = c.text;
        a.text_width = -1;
    }
    if (IsEditKind(c.kind)) {
        if (all || c.read_only != a.read_only) {
            SendMessageW(h, EM_SETREADONLY, c.read_only ? TRUE : FALSE, 0);
            a.read_only = c.read_only;
        }
        if (all || c.max_length != a.max_length) {
            SendMessageW(h, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(c.max_length, 0)), 0);
            a.max_length = c.max_length;
        }
    }
    switch (c.kind) {
        case ui::ControlKind::Memo:
            // The first text at once; later lines when the thread next takes
            // its messages, all lines written meanwhile in one go.
            if (all) {
                SyncMemo(slot);
            } else if (!memo_flush_posted_) {
                memo_flush_posted_ = PostMessageW(hwnd_, kFlushMemos, 0, 0) != FALSE;
                if (!memo_flush_posted_) SyncMemo(slot);
            }
            break;
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::ListBox:
        case ui::ControlKind::CheckListBox:
            SyncItems(slot);
            break;
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
            if (all || c.checked != a.checked) {
                SendMessageW(h, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
                a.checked = c.checked;
            }
            break;
        case ui::ControlKind::ProgressBar:
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
            break;
        case ui::ControlKind::Image:
            if (all || c.picture != a.picture) {
                if (slot.bitmap != nullptr) DeleteObject(slot.bitmap);
                slot.bitmap = nullptr;
                if (!c.picture.empty()) {
                    // The light gray of a picture with a colour table is
                    // the window's face colour, as its background should be.
                    slot.bitmap = static_cast<HBITMAP>(
                        LoadImageW(nullptr, Wide(c.picture).c_str(), IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
                }
                a.picture = c.picture;
                InvalidateRect(h, nullptr, TRUE);
            }
            break;
        case ui::ControlKind::StringGrid:
            SyncStringGrid(slot);
            break;
        case ui::ControlKind::FloatEdit:
            // A handler found the text no number: the user corrects it there.
            if (c.number.wants_focus) {
                c.number.wants_focus = false;
                PostMessageW(h, kTakeFocusBack, 0, 0);
            }
            break;
        default:
            break;
    }
    if (all || c.text_colour != a.text_colour || c.back_colour != a.back_colour) {
        if (!all) InvalidateRect(h, nullptr, TRUE);
        a.text_colour = c.text_colour;
        a.back_colour = c.back_colour;
    }

    ui::Rect p = form_.Placement(c);
    if (c.kind == ui::ControlKind::Label) {
        // A label grows with a text longer than its place, as an auto-sized
        // label does, rather than cutting it.
        if (a.text_width < 0) {
            RECT extent{0, 0, 0, 0};
            std::wstring text = Wide(c.text);
            HDC dc = GetDC(h);
            HGDIOBJ old = SelectObject(dc, font);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT);
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            a.text_width = extent.right - extent.left;
        }
        p.width = std::max(p.width, a.text_width);
    }
    if (c.kind == ui::ControlKind::ComboBox) {
        // The window of a combo box includes its open list.
        if (all || c.drop_down_count != a.drop_down_count) {
            SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         std::max(c.bounds.height - 6, 1));
            a.drop_down_count = c.drop_down_count;
        }
        p.height += ItemHeight() * std::max(c.drop_down_count, 1) + 2;
    }
    if (all || !(p == a.placement)) {
        SetWindowPos(h, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
        a.placement = p;
    }
    bool usable = form_.Usable(c);
    if (all || usable != a.usable) {
        EnableWindow(h, usable ? TRUE : FALSE);
        a.usable = usable;
    }
    bool shown = form_.Showing(c);
    if (all || shown != a.shown) {
        ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
        a.shown = shown;
    }
    SyncHint(slot);
    a.valid = true;
}

void FormWindow::SyncTimer(ControlSlot& slot) {
    const ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    const bool run = c.enabled && c.interval > 0;
    if (a.valid && run == a.usable && (!run || c.interval == a.interval)) return;
    const auto id = static_cast<UINT_PTR>(slot.id);
    if (run) {
        SetTimer(hwnd_, id, static_cast<UINT>(c.interval), nullptr);
    } else if (a.usable) {
        KillTimer(hwnd_, id);
    }
    a.usable = run;
    a.interval = c.interval;
    a.valid = true;
}

void FormWindow::SyncMemo(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    ui::LinePlan plan = a.valid ? ui::PlanLines(a.items, c.items) : ui::LinePlan{true, 0, 0};
    if (plan.replace_all) {
        SetWindowTextW(h, JoinLines(c.items, 0).c_str());
        a.items = c.items;
        ++stats_.text_resets;
        return;
    }
    if (plan.drop > 0) {
        std::size_t chars = 0;
        for (std::size_t i = 0; i < plan.drop; ++i) chars += a.items[i].size() + 2;
        SendMessageW(h, EM_SETSEL, 0, static_cast<LPARAM>(chars));
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        a.items.erase(a.items.begin(), a.items.begin() + static_cast<std::ptrdiff_t>(plan.drop));
        stats_.lines_dropped += static_cast<int>(plan.drop);
    }
    if (plan.append_from < c.items.size()) {
        std::wstring text = a.items.empty() ? std::wstring() : std::wstring(L"\r\n");
        text += JoinLines(c.items, plan.append_from);
        int end = GetWindowTextLengthW(h);
        SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(h, EM_SCROLLCARET, 0, 0);
        a.items.insert(a.items.end(),
                       c.items.begin() + static_cast<std::ptrdiff_t>(plan.append_from),
                       c.items.end());
        ++stats_.appends;
        stats_.lines_appended += static_cast<int>(c.items.size() - plan.append_from);
    }
}

void FormWindow::SyncItems(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    HWND h = slot.hwnd;
    const bool all = !a.valid;
    const bool combo = c.kind == ui::ControlKind::ComboBox;
    if (all || c.items != a.items) {
        SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (const auto& item : c.items) {
            SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Wide(item).c_str()));
        }
        a.items = c.items;
        a.selection = -2;
    }
    if (c.kind == ui::ControlKind::CheckListBox && (all || c.item_checks != a.checks)) {
        a.checks = c.item_checks;
        InvalidateRect(h, nullptr, FALSE);
    }
    if (c.selection != a.selection) {
        SendMessageW(h, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
        a.selection = c.selection;
        if (combo) a.text = WindowText(h);
    }
    if (combo && !c.read_only && (all || c.text != a.text)) {
        SetWindowTextW(h, Wide(c.text).c_str());
        a.text = c.text;
    }
}

void FormWindow::SyncHint(ControlSlot& slot) {
    ui::Control& c = *slot.control;
    Applied& a = slot.applied;
    if (c.hint == a.hint) return;
    if (tooltip_ == nullptr) {
        tooltip_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Instance(), nullptr);
        if (tooltip_ == nullptr) return;
    }
    std::wstring text = Wide(c.hint);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(slot.hwnd);
    tool.lpszText = text.data();
    UINT message = a.hint.empty()   ? TTM_ADDTOOLW
                   : c.hint.empty() ? TTM_DELTOOLW
                                    : TTM_UPDATETIPTEXTW;
    SendMessageW(tooltip_, message, 0, reinterpret_cast<LPARAM>(&tool));
    a.hint = c.hint;
}

void FormWindow::Fire(ui::Control& control, ui::Event event) {
    auto alive = alive_;
    form_.Fire(control.name, event);
    if (!*alive) return;
    Sync();
    WakeModalLoop();
}

void FormWindow::WakeModalLoop() {
    // A handler run inside a message sent from another thread does not end
    // the modal loop's wait for a posted message: one is posted.
    if (options_.modal && form_.modal_result != ui::ModalResult::None) {
        PostMessageW(hwnd_, WM_NULL, 0, 0);
    }
}

void FormWindow::OnMouseMove(HWND under) {
    if (under == hwnd_) {
        if (!form_.Handles(form_.name(), ui::Event::MouseMove)) return;
        auto alive = alive_;
        form_.Fire(form_.name(), ui::Event::MouseMove);
        if (!*alive) return;
        Sync();
        WakeModalLoop();
        return;
    }
    ControlSlot* slot = SlotOf(under);
    if (slot != nullptr && form_.Handles(slot->control->name, ui::Event::MouseMove)) {
        Fire(*slot->control, ui::Event::MouseMove);
    }
}

void FormWindow::ClickButtonWithRole(bool default_role) {
    for (auto& slot : slots_) {
        ui::Control& c = *slot->control;
        if (c.kind != ui::ControlKind::Button) continue;
        if ((default_role ? c.default_button : c.cancel_button) && form_.Showing(c) &&
            form_.Usable(c)) {
            Fire(c, ui::Event::Click);
            return;
        }
    }
}

bool FormWindow::OnCommand(HWND child, int code, int id) {
    ControlSlot* slot = SlotOf(child);
    if (slot == nullptr) slot = SlotById(id);
    if (slot == nullptr || slot->hwnd != child || syncing_) return false;
    ui::Control& c = *slot->control;
    Applied& a = slot->applied;
    switch (c.kind) {
        case ui::ControlKind::Button:
            if (code == BN_CLICKED) Fire(c, ui::Event::Click);
            return true;
        case ui::ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                c.checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
                a.checked = c.checked;
                Fire(c, ui::Event::Click);
            }
            return true;
        case ui::ControlKind::RadioButton:
            if (code == BN_CLICKED) {
                form_.ChooseRadio(c.name);
                Fire(c, ui::Event::Click);
            }
            return true;
        case ui::ControlKind::Label:
        case ui::ControlKind::Image:
            if (code == STN_CLICKED) Fire(c, ui::Event::Click);
            if (code == STN_DBLCLK) Fire(c, ui::Event::DoubleClick);
            return true;
        case ui::ControlKind::Edit:
        case ui::ControlKind::FloatEdit:
            if (code == EN_CHANGE) {
                c.text = WindowText(child);
                a.text = c.text;
                Fire(c, ui::Event::Change);
            }
            return true;
        case ui::ControlKind::Memo:
            if (code == EN_CHANGE) {
                c.items = SplitLines(WindowText(child));
                a.items = c.items;
                Fire(c, ui::Event::Change);
            }
            return true;
        case ui::ControlKind::ComboBox:
            if (code == CBN_SELCHANGE) {
                c.selection = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                if (c.selection >= 0 && c.selection < static_cast<int>(c.items.size())) {
                    c.text = c.items[static_cast<std::size_t>(c.selection)];
                }
                a.selection = c.selection;
                a.text = c.text;
                Fire(c, ui::Event::Change);
            } else if (code == CBN_EDITCHANGE) {
                c.text = WindowText(child);
                auto found = std::find(c.items.begin(), c.items.end(), c.text);
                c.selection =
                    found == c.items.end() ? -1 : static_cast<int>(found - c.items.begin());
                a.text = c.text;
                a.selection = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                Fire(c, ui::Event::Change);
            }
            return true;
        case ui::ControlKind::ListBox:
        case ui::ControlKind::CheckListBox:
            if (code == LBN_SELCHANGE) {
                c.selection = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
                a.selection = c.selection;
                Fire(c, ui::Event::Click);
            } else if (code == LBN_DBLCLK) {
                Fire(c, ui::Event::DoubleClick);
            }
            return true;
        default:
            return false;
    }
}

bool FormWindow::OnColour(HDC dc, HWND child, LRESULT& result) {
    ControlSlot* slot = SlotOf(child);
    if (slot == nullptr) return false;
    const ui::Control& c = *slot->control;
    const bool own_text = c.text_colour != ui::kDefaultColour;
    const bool own_back = c.back_colour != ui::kDefaultColour;
    // Edit boxes that only show text keep the white of an edit box.
    const bool window_back = IsEditKind(c.kind) || IsListKind(c.kind) ||
                             (c.kind == ui::ControlKind::ComboBox && !c.read_only);
    if (!own_text && !own_back) {
        if (!window_back || !form_.Usable(c)) return false;
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    if (own_text) SetTextColor(dc, ColourRef(c.text_colour));
    if (own_back) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColourRef(c.back_colour));
        result = reinterpret_cast<LRESULT>(Brush(c.back_colour));
    } else {
        int system = window_back ? COLOR_WINDOW : COLOR_BTNFACE;
        SetBkColor(dc, GetSysColor(system));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(system));
    }
    return true;
}

bool FormWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    ControlSlot* slot = SlotOf(item.hwndItem);
    if (slot == nullptr) return false;
    const ui::Control& c = *slot->control;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (c.kind == ui::ControlKind::Image) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (slot->bitmap != nullptr) {
            BITMAP info{};
            GetObjectW(slot->bitmap, sizeof info, &info);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, slot->bitmap);
            BitBlt(dc, r.left, r.top, std::min<int>(info.bmWidth, r.right - r.left),
                   std::min<int>(info.bmHeight, r.bottom - r.top), memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        return true;
    }
    if (c.kind != ui::ControlKind::CheckListBox) return false;
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
        return true;
    }
    const std::size_t index = item.itemID;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool usable = form_.Usable(c);
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
    return true;
}

void FormWindow::FlushMemos() {
    memo_flush_posted_ = false;
    const bool was_syncing = syncing_;
    syncing_ = true;  // the memo's own change notices are not the user's
    for (auto& slot : slots_) {
        if (slot->hwnd != nullptr && slot->control->kind == ui::ControlKind::Memo &&
            slot->applied.valid) {
            SyncMemo(*slot);
        }
    }
    syncing_ = was_syncing;
}

bool FormWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    if (msg == kFlushMemos) {
        FlushMemos();
        result = 0;
        return true;
    }
    if (options_.hook && options_.hook(msg, wparam, lparam, result)) return true;
    switch (msg) {
        case WM_COMMAND:
            if (lparam != 0) {
                if (!OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam), LOWORD(wparam))) {
                    return false;
                }
                result = 0;
                return true;
            }
            // Enter and Escape in a modal form.
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
                ClickButtonWithRole(LOWORD(wparam) == IDOK);
                result = 0;
                return true;
            }
            return false;
        case WM_TIMER: {
            ControlSlot* slot = SlotById(static_cast<int>(wparam));
            if (slot == nullptr || slot->control->kind != ui::ControlKind::Timer) return false;
            if (!syncing_ && slot->applied.usable) Fire(*slot->control, ui::Event::Timer);
            result = 0;
            return true;
        }
        case WM_SETCURSOR:
            // Sent to the parent as the mouse moves over a control: the
            // mouse-over events, and the cursor is left to the default.
            if (HIWORD(lparam) == WM_MOUSEMOVE && !syncing_) {
                OnMouseMove(reinterpret_cast<HWND>(wparam));
            }
            return false;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return OnColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), result);
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
            measure->itemHeight = static_cast<UINT>(ItemHeight());
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM:
            if (!OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return false;
            result = TRUE;
            return true;
        case WM_CLOSE:
            // The system menu's Close (or Alt+F4) dismisses a modal form that
            // offers the close box; other windows stay.
            if (options_.modal && form_.border_icons) form_.Close(ui::ModalResult::Cancel);
            WakeModalLoop();
            result = 0;
            return true;
        case WM_SIZE:
            // The user minimised or restored the window.
            if (created_ && !syncing_) {
                if (wparam == SIZE_MINIMIZED) form_.state = ui::WindowState::Minimized;
                if (wparam == SIZE_RESTORED) form_.state = ui::WindowState::Normal;
            }
            return false;
        case WM_WINDOWPOSCHANGED:
            // The user moved the window: the model follows, so the next sync
            // does not move it back.
            if (created_ && !syncing_ && !IsIconic(hwnd_)) {
                RECT r{};
                GetWindowRect(hwnd_, &r);
                form_.left = r.left;
                form_.top = r.top;
                form_.width = r.right - r.left;
                form_.height = r.bottom - r.top;
            }
            return false;
        default:
            return false;
    }
}

ui::ModalResult ShowModalForm(ui::Form& form, HWND owner) {
    form.modal_result = ui::ModalResult::None;
    if (form.centred) {
        form.left = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
        form.top = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
    }
    FormWindow::Options options;
    options.owner = owner;
    options.modal = true;
    FormWindow window(form, options);
    if (!window.ok()) return ui::ModalResult::Cancel;
    const bool disable_owner = owner != nullptr && IsWindowEnabled(owner);
    if (disable_owner) EnableWindow(owner, FALSE);
    window.Sync();
    if (HWND first = GetNextDlgTabItem(window.hwnd(), nullptr, FALSE)) SetFocus(first);
    MSG msg{};
    while (form.modal_result == ui::ModalResult::None && IsWindow(window.hwnd())) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            break;
        }
        if (!IsDialogMessageW(window.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner is enabled before the form goes, so that it gets the focus back.
    if (disable_owner) EnableWindow(owner, TRUE);
    ShowWindow(window.hwnd(), SW_HIDE);
    return form.modal_result == ui::ModalResult::None ? ui::ModalResult::Cancel : form.modal_result;
}

}  // namespace lm::win32
