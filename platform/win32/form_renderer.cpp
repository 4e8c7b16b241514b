#include "platform/win32/form_renderer.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/win32/control_kinds.h"
#include "platform/win32/control_slot.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_text.h"

namespace lm::win32 {
namespace {

// Posted to a form window to bring its memos up to date.
constexpr UINT kFlushMemos = WM_APP + 0x14D;

std::map<const ui::Form*, FormWindow*>& Registry() {
    static std::map<const ui::Form*, FormWindow*> registry;
    return registry;
}

// The live slots by their windows and faces, kept in the process rather than
// in each window's user data: setting that costs Wine a server request per
// window.
std::unordered_map<HWND, ControlSlot*>& LiveSlots() {
    static std::unordered_map<HWND, ControlSlot*> live;
    return live;
}

// The control's name on its window, as the "LM:" property.
std::wstring NameProperty(const ui::Control& control) {
    return kControlNamePrefix + Wide(control.name);
}

void Name(HWND window, const ui::Control& control) {
    SetPropW(window, NameProperty(control).c_str(), reinterpret_cast<HANDLE>(INT_PTR{1}));
}

COLORREF ColourRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

ControlSlot* ControlSlot::Of(HWND window) {
    auto it = LiveSlots().find(window);
    if (it == LiveSlots().end()) return nullptr;
    // A handle left by a window destroyed behind the renderer's back may
    // have been given to another window since.
    ControlSlot* slot = it->second;
    return slot->hwnd == window ? slot : nullptr;
}

void ControlSlot::Attach(HWND window) {
    LiveSlots()[window] = this;
}

void ControlSlot::Detach(HWND window) {
    auto it = LiveSlots().find(window);
    if (it != LiveSlots().end() && it->second == this) LiveSlots().erase(it);
}

HWND ControlSlot::MakeReal() {
    return owner->MakeReal(*this);
}

int ControlSlot::ItemHeight() const {
    return owner->ItemHeight();
}

HFONT ControlSlot::Font() const {
    return owner->Font(*control);
}

bool ControlSlot::Face() const {
    return painted && RendererOf(control->kind).face_draw != nullptr;
}

HBRUSH ControlSlot::FaceBrush(HDC dc, bool editable) const {
    LRESULT brush = 0;
    if (owner->ColourOf(dc, *this, brush)) return reinterpret_cast<HBRUSH>(brush);
    // What the default window procedure gives an edit box or a static one.
    return reinterpret_cast<HBRUSH>(DefWindowProcW(owner->hwnd_,
                                                   editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                                   reinterpret_cast<WPARAM>(dc), 0));
}

int ControlSlot::EditMargin() const {
    return SharedEditMargin(owner->KeyFor(control->bold, control->underline, control->fixed_pitch));
}

RendererStats& ControlSlot::Stats() const {
    return owner->stats_;
}

bool ControlSlot::FlushMemosLater() const {
    if (!owner->memo_flush_posted_) {
        owner->memo_flush_posted_ = PostMessageW(owner->hwnd_, kFlushMemos, 0, 0) != FALSE;
    }
    return owner->memo_flush_posted_;
}

FormWindow* FormWindow::Of(const ui::Form& form) {
    auto it = Registry().find(&form);
    return it == Registry().end() ? nullptr : it->second;
}

FormWindow::FormWindow(ui::Form& form, Options options)
    : form_(form), options_(std::move(options)), alive_(std::make_shared<bool>(true)) {
    RegisterRendererClasses();
    // No WS_CLIPCHILDREN: the form paints the background that group boxes,
    // which draw only their frame, leave to it.
    DWORD style = WS_POPUP | WS_CAPTION;
    if (form_.border_icons) style |= WS_SYSMENU;
    DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    hwnd_ = CreateWindowExW(ex_style, options_.window_class, Wide(form_.caption).c_str(), style,
                            form_.left, form_.top, form_.width, form_.height, options_.owner,
                            nullptr, RendererInstance(), this);
    if (hwnd_ == nullptr) return;
    applied_caption_ = form_.caption;  // made with it
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
        const std::wstring name = NameProperty(*slot->control);
        if (slot->grid) ReleaseStringGrid(*slot);
        if (slot->old_proc != nullptr) {
            SetWindowLongPtrW(slot->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot->old_proc));
        }
        slot->Detach(slot->hwnd);
        RemovePropW(slot->hwnd, name.c_str());
    }
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    DestroyWindow(hwnd_);
    for (auto& slot : slots_) {
        if (slot->bitmap != nullptr) DeleteObject(slot->bitmap);
    }
    for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

void FormWindow::CreateControl(std::size_t index) {
    ui::Control& c = *form_.controls()[index];
    auto slot = std::make_unique<ControlSlot>();
    slot->owner = this;
    slot->control = &c;
    slot->id = kFirstControlId + static_cast<int>(index);

    const KindRenderer& kind = RendererOf(c.kind);
    // A modal form opens with the windows it shows: a control hidden then
    // gets its window when it is first shown. Group boxes, which lie under
    // the rest, and the controls of other windows have theirs from the start.
    const bool later = options_.modal && c.kind != ui::ControlKind::GroupBox && !form_.Showing(c);
    // A modal form draws its labels, and its edit and combo boxes and buttons
    // until they are used: of the analog dialog's twelve combo boxes and 37
    // edit boxes, or the CW export dialog's eighteen buttons, a person uses a
    // few, and making their windows was most of the time the dialog took to
    // open under Wine (a combo box costs some ten edit boxes).
    if (options_.modal && (c.kind == ui::ControlKind::Label || kind.face_draw != nullptr)) {
        slot->painted = true;
        drawn_ = true;
    } else if (kind.has_window && !later) {
        MakeWindow(*slot);
    }
    slots_.push_back(std::move(slot));
}

const ui::Control* FormWindow::PreviousWithWindow(const ControlSlot& slot) const {
    // The slots before `slot` in the table (all of them while it is being
    // added).
    const ui::Control* previous = nullptr;
    for (const auto& other : slots_) {
        if (other.get() == &slot) break;
        if (RendererOf(other->control->kind).has_window) previous = other->control;
    }
    return previous;
}

HWND FormWindow::MakeReal(ControlSlot& slot) {
    HWND made = MakeOneReal(slot);
    if (made == nullptr) return nullptr;
    // Its group: the controls with windows before it, back to the one that
    // starts the group, and those after it that do not start one (a timer
    // in between has no window and is no part of it).
    auto starts = [this](std::size_t i) {
        return StartsGroup(*slots_[i]->control, PreviousWithWindow(*slots_[i]));
    };
    auto windowed = [this](std::size_t i) {
        return RendererOf(slots_[i]->control->kind).has_window;
    };
    const std::size_t at = static_cast<std::size_t>(slot.id - kFirstControlId);
    for (std::size_t i = at; !starts(i);) {
        // A control with a window lies before one that starts no group.
        --i;
        while (!windowed(i)) --i;
        MakeOneReal(*slots_[i]);
    }
    for (std::size_t i = at + 1; i < slots_.size(); ++i) {
        if (!windowed(i)) continue;
        if (starts(i)) break;
        MakeOneReal(*slots_[i]);
    }
    return made;
}

HWND FormWindow::MakeOneReal(ControlSlot& slot) {
    if (slot.hwnd != nullptr || !slot.Face()) return slot.hwnd;
    // The hint goes over to the window.
    const Applied drawn = slot.applied;
    if (!drawn.hint.empty()) DropPaintedHint(slot);
    slot.painted = false;
    slot.applied = Applied{};
    MakeWindow(slot);
    if (slot.hwnd == nullptr) {
        // Not made: it is drawn as it was, to be tried again.
        slot.painted = true;
        slot.applied = drawn;
        slot.applied.hint.clear();
        SyncHint(slot);
        return nullptr;
    }
    // In its place in the tab order, then brought up to date as a window is
    // at its first sync.
    SetWindowPos(slot.hwnd, WindowBefore(slot), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool was_syncing = syncing_;
    syncing_ = true;
    SyncControl(slot);
    syncing_ = was_syncing;
    followed_focus_ = nullptr;  // a push button's frame is looked at again
    return slot.hwnd;
}

void FormWindow::MakeWindow(ControlSlot& made) {
    ControlSlot* slot = &made;
    ui::Control& c = *slot->control;
    const KindRenderer& kind = RendererOf(c.kind);
    WindowRecipe recipe;
    recipe.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (StartsGroup(c, PreviousWithWindow(made))) recipe.style |= WS_GROUP;
    kind.create(*slot, recipe);
    // The window is made where it lies, enabled and shown as the control is,
    // so that the first sync moves, enables and shows nothing. A kind that
    // finds its own place with its window (a label as wide as its text) is
    // shown after its first sync, which moves it; one whose place needs no
    // window (a combo box with its open list) is made there.
    ui::Rect r = form_.Placement(c);
    if (kind.made_place != nullptr) kind.made_place(*slot, r);
    const bool usable = form_.Usable(c);
    const bool shown = (kind.place == nullptr || kind.made_place != nullptr) && form_.Showing(c);
    if (!usable) recipe.style |= WS_DISABLED;
    if (shown) recipe.style |= WS_VISIBLE;
    // Messages during creation find no slot yet and get the default handling.
    const std::wstring text = kind.made_with_text ? Wide(c.text) : std::wstring();
    slot->hwnd = CreateWindowExW(
        recipe.ex_style, recipe.window_class, text.c_str(), recipe.style, r.left, r.top, r.width,
        r.height, hwnd_, reinterpret_cast<HMENU>(INT_PTR{slot->id}), RendererInstance(), nullptr);
    if (slot->hwnd != nullptr) {
        Applied& a = slot->applied;
        a.placement = r;
        a.usable = usable;
        a.shown = shown;
        a.window_state = true;
        if (kind.made_with_text) {
            a.text = c.text;
            a.text_given = true;
        }
        slot->Attach(slot->hwnd);
        Name(slot->hwnd, c);
        if (kind.subclass != nullptr) {
            slot->old_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                slot->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kind.subclass)));
        }
    }
}

HWND FormWindow::WindowBefore(const ControlSlot& slot) const {
    HWND after = HWND_TOP;
    for (const auto& other : slots_) {
        if (other.get() == &slot) break;
        if (other->hwnd != nullptr && other->control->kind != ui::ControlKind::GroupBox)
            after = other->hwnd;
    }
    return after;
}

void FormWindow::MakeLateWindow(ControlSlot& slot) {
    MakeWindow(slot);
    // In the tab order (the windows' order) where it would have been made
    // with the others.
    if (slot.hwnd != nullptr) {
        SetWindowPos(slot.hwnd, WindowBefore(slot), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

ControlSlot* FormWindow::SlotOf(HWND child) {
    if (child == nullptr) return nullptr;
    // A control of another form (or a window of a control, such as a combo
    // box's list) is none of this form's.
    ControlSlot* slot = ControlSlot::Of(child);
    return slot != nullptr && slot->owner == this ? slot : nullptr;
}

ControlSlot* FormWindow::SlotById(int id) {
    std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
    if (id < kFirstControlId || index >= slots_.size()) return nullptr;
    return slots_[index].get();
}

FontKey FormWindow::KeyFor(bool bold, bool underline, bool fixed_pitch) const {
    return {fixed_pitch ? std::string("Courier New") : form_.font_name, form_.font_size, bold,
            underline, fixed_pitch};
}

HFONT FormWindow::Font(const ui::Control& control) {
    return SharedFont(KeyFor(control.bold, control.underline, control.fixed_pitch));
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
    return SharedItemHeight(KeyFor(false, false, false));
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
            const KindRenderer& kind = RendererOf(slot->control->kind);
            if (slot->painted) {
                SyncDrawn(*slot);
                continue;
            }
            // A control whose window waits for it to show.
            if (slot->hwnd == nullptr && kind.has_window && form_.Showing(*slot->control))
                MakeLateWindow(*slot);
            if (slot->hwnd != nullptr) {
                SyncControl(*slot);
                continue;
            }
            // A control without a window of its own (a timer).
            if (!kind.has_window) kind.sync(*slot, !slot->applied.valid);
        }
        SyncWindow();
    } while (resync_ && ++rounds < 3);
    syncing_ = false;
}

void FormWindow::SyncWindow() {
    if (form_.caption != applied_caption_) {
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
    const KindRenderer& kind = RendererOf(c.kind);

    // What the window was made with needs no second applying.
    const bool all_state = all && !a.window_state;
    HFONT font = Font(c);
    if (all || font != a.font) {
        // A form not shown yet paints everything once when it shows.
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(hwnd_));
        a.font = font;
        a.text_width = -1;
    }
    kind.sync(slot, all);
    if (all || c.text_colour != a.text_colour || c.back_colour != a.back_colour) {
        if (!all) InvalidateRect(h, nullptr, TRUE);
        a.text_colour = c.text_colour;
        a.back_colour = c.back_colour;
    }

    ui::Rect p = form_.Placement(c);
    if (kind.place != nullptr) kind.place(slot, all, p);
    if (all_state || !(p == a.placement)) {
        SetWindowPos(h, nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
        a.placement = p;
    }
    bool usable = form_.Usable(c);
    if (all_state || usable != a.usable) {
        EnableWindow(h, usable ? TRUE : FALSE);
        a.usable = usable;
    }
    bool shown = form_.Showing(c);
    if (all_state || shown != a.shown) {
        ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
        a.shown = shown;
    }
    SyncHint(slot);
    a.valid = true;
}

void FormWindow::Fire(ui::Control& control, ui::Event event) {
    auto alive = alive_;
    form_.Fire(control.name, event);
    if (!*alive) return;
    Sync();
    if (form_.modal_result == ui::ModalResult::None) KeepFocus();
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
    ControlSlot* drawn = nullptr;  // a drawn control under the pointer on the form
    if (under == hwnd_ && drawn_) {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(hwnd_, &at);
        drawn = DrawnAt(at);
    }
    if (under == hwnd_ && drawn == nullptr) {
        if (!form_.Handles(form_.name(), ui::Event::MouseMove)) return;
        auto alive = alive_;
        form_.Fire(form_.name(), ui::Event::MouseMove);
        if (!*alive) return;
        Sync();
        WakeModalLoop();
        return;
    }
    ControlSlot* slot = drawn != nullptr ? drawn : SlotOf(under);
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
    const KindRenderer& kind = RendererOf(slot->control->kind);
    if (kind.command == nullptr) return false;
    kind.command(*slot, child, code);
    return true;
}

bool FormWindow::OnColour(HDC dc, HWND child, LRESULT& result) {
    ControlSlot* slot = SlotOf(child);
    return slot != nullptr && ColourOf(dc, *slot, result);
}

bool FormWindow::ColourOf(HDC dc, const ControlSlot& slot, LRESULT& result) {
    const ui::Control& c = *slot.control;
    const bool own_text = c.text_colour != ui::kDefaultColour;
    const bool own_back = c.back_colour != ui::kDefaultColour;
    // Edit boxes that only show text keep the white of an edit box.
    const Background background = RendererOf(c.kind).background;
    const bool window_back = background == Background::Window ||
                             (background == Background::WindowWhenEditable && !c.read_only);
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
    const KindRenderer& kind = RendererOf(slot->control->kind);
    if (kind.draw == nullptr) return false;
    kind.draw(*slot, item);
    return true;
}

void FormWindow::FlushMemos() {
    memo_flush_posted_ = false;
    const bool was_syncing = syncing_;
    syncing_ = true;  // the memo's own change notices are not the user's
    for (auto& slot : slots_) {
        if (slot->hwnd != nullptr && slot->control->kind == ui::ControlKind::Memo &&
            slot->applied.valid) {
            SyncMemoLines(*slot);
        }
    }
    syncing_ = was_syncing;
}

bool FormWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    static const UINT drawn_control_message = RegisterWindowMessageW(kDrawnControlMessageName);
    if (msg == drawn_control_message && msg != 0) {
        result = TellDrawn(reinterpret_cast<DrawnControlQuery*>(lparam));
        return true;
    }
    if (drawn_) {
        if (msg == WM_PAINT && PaintDrawn()) {
            result = 0;
            return true;
        }
        if (OnDrawnMouse(msg, wparam, lparam)) {
            result = 0;
            return true;
        }
    }
    if (msg == kFlushMemos) {
        result = 0;
        auto alive = alive_;
        // What waits to be painted in the driver's forms (a dialog just
        // opened) is painted first: appending to a long memo costs Wine some
        // milliseconds, which the person at the screen would otherwise wait
        // for before the dialog shows whole. The host's windows are left to
        // the host.
        std::vector<HWND> forms;  // taken first: painting runs the forms' code
        for (const auto& [form, window] : Registry()) {
            if (window->hwnd_ != nullptr) forms.push_back(window->hwnd_);
        }
        for (HWND form : forms) {
            if (IsWindow(form) && IsWindowVisible(form))
                RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        if (*alive) FlushMemos();
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
            // Enter and Escape in a modal form: Enter clicks the push button
            // that has the focus, else the default one.
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
                if (LOWORD(wparam) == IDCANCEL || !ClickFocusedButton()) {
                    ClickButtonWithRole(LOWORD(wparam) == IDOK);
                }
                result = 0;
                return true;
            }
            return false;
        case WM_ACTIVATE:
            if (!OnActivate(wparam)) return false;
            result = 0;
            return true;
        case WM_NEXTDLGCTL:
            // The dialog manager moves the focus: the arrow keys, a label's mnemonic.
            OnNextControl(wparam, lparam);
            result = 0;
            return true;
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

}  // namespace lm::win32
