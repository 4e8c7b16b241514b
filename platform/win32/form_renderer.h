// The one renderer of every form: a ui::Form becomes a top-level window with a
// real Win32 control per entry of its table. Sync() applies the model to the
// windows, touching only what changed since the last sync; a user's click or
// change is copied into the model, the form's handler runs, and the renderer
// syncs again. Nothing here knows a particular form.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/font_cache.h"
#include "ui/form.h"

namespace lm::win32 {

// Window classes: the driver window, every other form, the string grid.
inline constexpr wchar_t kDriverWindowClass[] = L"LMDriverWindow";
inline constexpr wchar_t kFormWindowClass[] = L"LMForm";
inline constexpr wchar_t kStringGridClass[] = L"LMStringGrid";

// Each control window carries its control's name as a window property
// "LM:" + name (value 1), and the id kFirstControlId + its place in the table.
inline constexpr wchar_t kControlNamePrefix[] = L"LM:";
inline constexpr int kFirstControlId = 100;

// A modal form draws some controls itself, with no window of their own: its
// labels, and its edit and combo boxes and its buttons until each is first
// used (their faces). A dialog such as the analog inputs' shows some seventy, and a window
// each was most of the time it took to open under Wine. What a drawn control
// shows is told to whoever sends the form the registered message
// kDrawnControlMessageName with a DrawnControlQuery (from this process: the
// query is a pointer): TRUE when the form draws a control of that name, or
// gave its window as asked (`window`, made now for a face).
inline constexpr wchar_t kDrawnControlMessageName[] = L"LMDrawnControl";
struct DrawnControlQuery {
    const wchar_t* name = nullptr;  // the control's name
    BOOL make_real = FALSE;         // a face is to get its window now
    wchar_t text[512] = {};         // its text, cut to the buffer
    RECT rect{};                    // where it is drawn, in the form's client area
    BOOL shown = FALSE, usable = FALSE;
    HFONT font = nullptr;
    HWND window = nullptr;  // the control's window, as asked
};

// What the renderer did to the memo windows, for tests of the cheap sync.
struct RendererStats {
    int text_resets = 0;     // the whole memo text was set
    int appends = 0;         // updates that added lines at the end
    int lines_appended = 0;  // lines added at the end
    int lines_dropped = 0;   // lines removed at the top
};

// Hooks the owner of a window may add in front of the renderer's own handling:
// true when the message was handled (result set).
using MessageHook = std::function<bool(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result)>;

struct ControlSlot;

class FormWindow {
public:
    struct Options {
        const wchar_t* window_class = kFormWindowClass;
        HWND owner = nullptr;
        bool modal = false;  // shown activated; closing asks for Cancel
        MessageHook hook;
    };

    // Creates the window and its controls, hidden; the first Sync() shows it.
    FormWindow(ui::Form& form, Options options);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    bool ok() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    ui::Form& form() { return form_; }
    const RendererStats& stats() const { return stats_; }

    // Applies the model's current state to the window and its controls. New
    // memo lines follow when the thread next handles its messages (or at
    // FlushMemos): a burst of log lines costs one update of the memo, and a
    // window that is not repainted meanwhile would not show them anyway.
    void Sync();
    void FlushMemos();

    // The window showing a form, if any.
    static FormWindow* Of(const ui::Form& form);

    // Called by the window procedures.
    bool Handle(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);
    // After a control's state was copied into the model: the handler, then a sync.
    void Fire(ui::Control& control, ui::Event event);
    // A key from the modal loop that the form takes before the dialog
    // manager, which sees only windows: Tab and Shift+Tab, which reach the
    // faces in the table's order too, and a drawn label's mnemonic, which
    // takes the focus to the field after it. A button face's mnemonic makes
    // its window and is left to the dialog manager. True when the form took
    // the key.
    bool OnTabKey(const MSG& msg);
    bool OnLabelMnemonic(const MSG& msg);
    // The focus to the first control that Tab reaches (form_keyboard.cpp).
    void FocusFirstField();
    // The default button's frame on the push button that has the focus, else
    // on the form's default button: where Enter goes (after every message of
    // the modal loop).
    void FollowFocus();

private:
    friend struct ControlSlot;
    void CreateControl(std::size_t index);
    void MakeWindow(ControlSlot& slot);
    void MakeLateWindow(ControlSlot& slot);
    // A face's window, and those of the rest of its group of buttons, in
    // which the arrow keys move among windows (form_keyboard.cpp).
    HWND MakeReal(ControlSlot& slot);
    HWND MakeOneReal(ControlSlot& slot);
    // The nearest window before `slot` in the table, group boxes aside (which
    // lie at the bottom): where a window made late goes in the tab order.
    HWND WindowBefore(const ControlSlot& slot) const;
    // The last control before `slot` in the table that has a window.
    const ui::Control* PreviousWithWindow(const ControlSlot& slot) const;
    void SyncWindow();
    void SyncControl(ControlSlot& slot);
    void SyncHint(ControlSlot& slot);
    // The drawn controls (form_labels.cpp): their sync, their painting on
    // the form, the one under a point of the client area, the mouse on them,
    // their hints' tools and what they tell a reader of the screen.
    void SyncDrawn(ControlSlot& slot);
    bool PaintDrawn();
    ControlSlot* DrawnAt(POINT client);
    bool OnDrawnMouse(UINT msg, WPARAM wparam, LPARAM lparam);
    void MovePaintedHint(ControlSlot& slot);  // its hint's tool where it is now
    void DropPaintedHint(ControlSlot& slot);
    BOOL TellDrawn(DrawnControlQuery* query);
    // The next control after `from` (an index of the table; -1 before the
    // first) that Tab reaches, backwards on request: a face or a window that
    // is a tab stop, shown and enabled. Null when there is none.
    ControlSlot* NextStop(int from, bool backwards);
    void FocusStop(ControlSlot& slot);  // its window made first if it is a face
    int IndexOf(HWND window);           // the slot of a window or its child, else -1
    void OnMouseMove(HWND under);
    void WakeModalLoop();
    bool OnCommand(HWND child, int code, int id);
    bool OnColour(HDC dc, HWND child, LRESULT& result);
    // The colours the form gives a control: false when they are the default.
    bool ColourOf(HDC dc, const ControlSlot& slot, LRESULT& result);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    ControlSlot* SlotOf(HWND child);
    ControlSlot* SlotById(int id);
    HFONT Font(const ui::Control& control);
    FontKey KeyFor(bool bold, bool underline, bool fixed_pitch) const;
    HBRUSH Brush(std::uint32_t colour);
    int ItemHeight();
    void ClickButtonWithRole(bool default_role);
    // The keyboard (form_keyboard.cpp): WM_NEXTDLGCTL; WM_ACTIVATE; Enter on
    // a focused push button; the focus kept on a usable control after a
    // handler ran.
    bool OnNextControl(WPARAM wparam, LPARAM lparam);
    bool OnActivate(WPARAM wparam);
    bool ClickFocusedButton();
    void KeepFocus();

    ui::Form& form_;
    Options options_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<ControlSlot>> slots_;
    std::vector<std::pair<std::uint32_t, HBRUSH>> brushes_;
    std::string applied_caption_;
    bool syncing_ = false;
    bool resync_ = false;
    bool memo_flush_posted_ = false;
    bool created_ = false;
    bool drawn_ = false;             // the form draws controls
    HWND followed_focus_ = nullptr;  // the focus FollowFocus last saw
    bool focus_on_button_ = false;   // ... was a push button's
    HWND saved_focus_ = nullptr;     // the focus when the form was last active
    RendererStats stats_;
    std::shared_ptr<bool> alive_;
};

// Shows a form modally: the owner is disabled, the form runs its own message
// loop until a handler closes it, and its result is returned (Cancel when the
// window cannot be made). The form is centred on the screen when it asks to be.
ui::ModalResult ShowModalForm(ui::Form& form, HWND owner);

// The module whose window classes these are (the DLL, or the program itself).
void SetRendererInstance(HINSTANCE instance);
// Unregisters the window classes (before the module goes away); windows of the
// classes must be gone.
void UnregisterRendererClasses();

}  // namespace lm::win32
