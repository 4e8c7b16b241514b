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
// What stands for a combo box of a modal form until it is first used: a
// window of this class with the combo box's name, text and font, which makes
// the combo box when it gets the focus, a click or a combo box message.
inline constexpr wchar_t kControlFaceClass[] = L"LMControlFace";

// Each control window carries its control's name as a window property
// "LM:" + name (value 1), and the id kFirstControlId + its place in the table.
inline constexpr wchar_t kControlNamePrefix[] = L"LM:";
inline constexpr int kFirstControlId = 100;

// The labels of a modal form are drawn by the form, with no window of their
// own: a dialog such as the analog inputs' shows some twenty, and a window
// each was a good part of the time it took to open under Wine. What a drawn
// label shows is told to whoever sends the form the registered message
// kPaintedLabelMessageName with a PaintedLabelQuery (from this process: the
// query is a pointer): TRUE when the form has a drawn label of that name.
inline constexpr wchar_t kPaintedLabelMessageName[] = L"LMPaintedLabel";
struct PaintedLabelQuery {
    const wchar_t* name = nullptr;  // the control's name
    wchar_t text[512] = {};         // its text, cut to the buffer
    RECT rect{};                    // where it is drawn, in the form's client area
    BOOL shown = FALSE, usable = FALSE;
    HFONT font = nullptr;
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
    // A drawn label's mnemonic in a key from the modal loop: the focus goes
    // to the field after the label; true when the key was one.
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
    void MakeFace(ControlSlot& slot);
    HWND MakeReal(ControlSlot& slot);
    // The window a control is made with now: its face or its own.
    void MakeWindowOrFace(ControlSlot& slot);
    // The last control before `slot` in the table that has a window.
    const ui::Control* PreviousWithWindow(const ControlSlot& slot) const;
    void SyncWindow();
    void SyncControl(ControlSlot& slot);
    void SyncHint(ControlSlot& slot);
    void DropHint(HWND window);  // the hint's tool of `window` removed
    // The drawn labels (form_labels.cpp): their sync, their painting on the
    // form, the one under a point of the client area, the mouse on them,
    // their mnemonics and what they tell a reader of the screen.
    void SyncPaintedLabel(ControlSlot& slot);
    void MovePaintedHint(ControlSlot& slot);  // its hint's tool where it is now
    bool PaintLabels();
    ControlSlot* PaintedLabelAt(POINT client);
    bool OnLabelMouse(UINT msg, LPARAM lparam);
    BOOL TellPaintedLabel(PaintedLabelQuery* query);
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
    bool painted_labels_ = false;    // the form draws labels
    HWND followed_focus_ = nullptr;  // the focus FollowFocus last saw
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
