// What the renderer does differently for each kind of control, one row per
// kind: how its window is made, how the model's state reaches the window, which
// notification copies the window's state into the model and becomes which
// event, and how an owner-drawn one draws. The form window does the rest
// (font, colours, place, enabled, shown, hint) the same way for every kind.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/control_slot.h"
#include "ui/form.h"

namespace lm::win32 {

// The window a kind is made of; WS_CHILD | WS_CLIPSIBLINGS are always added.
struct WindowRecipe {
    const wchar_t* window_class = L"STATIC";
    DWORD style = 0;
    DWORD ex_style = 0;
};

// The background a control gets when it has no colour of its own.
enum class Background {
    Face,                // the dialog's face colour (left to the system)
    Window,              // the white of an edit box
    WindowWhenEditable,  // the white of an edit box unless read-only
};

struct KindRenderer {
    // The control's window, or none (a timer of the form window instead).
    bool has_window = true;
    // Chooses the class and styles; may add the slot's own state.
    void (*create)(ControlSlot& slot, WindowRecipe& recipe) = nullptr;
    // The window procedure the control window is subclassed with, if any.
    WNDPROC subclass = nullptr;
    // Applies the model's state to the window; `all` on the first sync.
    void (*sync)(ControlSlot& slot, bool all) = nullptr;
    // Where the window lies when it is not just the control's place.
    void (*place)(ControlSlot& slot, bool all, ui::Rect& placement) = nullptr;
    // The place `place` gives, when it can be worked out before the window is
    // made: the window is then made there and shown with the rest, so that
    // its first sync neither moves nor shows it.
    void (*made_place)(const ControlSlot& slot, ui::Rect& placement) = nullptr;
    // A notification of the window (WM_COMMAND): the window's state into the
    // model, then the handler. Kinds without one leave WM_COMMAND to the default.
    void (*command)(ControlSlot& slot, HWND window, int code) = nullptr;
    // A kind with a face is drawn as one in a modal form and gets its window
    // when first used: the text the face shows (what the control shows), and
    // the control drawn closed in `client` (its place, from 0, 0).
    std::string (*face_text)(const ui::Control& control) = nullptr;
    void (*face_draw)(ControlSlot& slot, HDC dc, const RECT& client) = nullptr;
    // The model asks for what only the window can do (the focus): the face
    // gives way at the next sync.
    bool (*face_needs_window)(const ui::Control& control) = nullptr;
    // Whether Tab stops at the face (every shown, usable face when none).
    bool (*face_is_stop)(const ControlSlot& slot) = nullptr;
    // WM_DRAWITEM of an owner-drawn window.
    void (*draw)(ControlSlot& slot, const DRAWITEMSTRUCT& item) = nullptr;
    Background background = Background::Face;
    // The window is made with the control's text (its sync sets it with SyncText).
    bool made_with_text = false;
};

const KindRenderer& RendererOf(ui::ControlKind kind);

// The rows, by family: button_controls.cpp, edit_controls.cpp,
// list_controls.cpp, string_grid.cpp, display_controls.cpp.
extern const KindRenderer kButtonRenderer;
extern const KindRenderer kCheckBoxRenderer;
extern const KindRenderer kRadioButtonRenderer;
extern const KindRenderer kGroupBoxRenderer;
extern const KindRenderer kEditRenderer;
extern const KindRenderer kFloatEditRenderer;
extern const KindRenderer kMemoRenderer;
extern const KindRenderer kComboBoxRenderer;
extern const KindRenderer kListBoxRenderer;
extern const KindRenderer kCheckListBoxRenderer;
extern const KindRenderer kStringGridRenderer;
extern const KindRenderer kLabelRenderer;
extern const KindRenderer kImageRenderer;
extern const KindRenderer kProgressBarRenderer;
extern const KindRenderer kTimerRenderer;

// Helpers the families share.
// A face's field filled with the brush and colours the form gives an edit box
// (`editable`), else a static one, as a disabled or read-only box asks for;
// the text greyed when the face is disabled.
void FillFaceField(ControlSlot& slot, HDC dc, const RECT& field, bool editable);
// The text of a face that shows the control's own text (an edit box, a button).
std::string FaceOfOwnText(const ui::Control& control);
// The face's text in the control's font from (x, y), clipped to `clip`.
void DrawFaceText(ControlSlot& slot, HDC dc, int x, int y, const RECT& clip);
std::string WindowText(HWND window);
// A control's place as a RECT.
RECT RectOf(const ui::Rect& place);
// The control's text into the window's text, when it changed.
void SyncText(ControlSlot& slot, bool all);
// A memo's lines into its window: only what changed at either end.
void SyncMemoLines(ControlSlot& slot);

}  // namespace lm::win32
