// What the renderer keeps for each control window: the model control it shows
// and the state it applied last, so that a sync touches only what changed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"

namespace lm::win32 {

class FormWindow;
struct RendererStats;

struct Applied {
    bool valid = false;  // false: the next sync applies everything
    // The place, enabled and shown below are the window's own (made where
    // it lies, hidden): the first sync need not apply them again.
    bool window_state = false;
    HFONT font = nullptr;
    ui::Rect placement;
    bool shown = false, usable = false, checked = false, read_only = false;
    bool framed = false;  // a push button's face: drawn with the default button's frame
    std::string text;
    bool text_given = false;  // the window was made with `text`
    int text_width = -1;      // measured width of a label's text; -1 = measure again
    std::vector<std::string> items;
    std::vector<bool> checks;
    int selection = -2;
    int position = 0, minimum = 0, maximum = 0;
    int max_length = -1;
    int drop_down_count = 0;
    int interval = 0;  // timer
    std::uint32_t text_colour = 0, back_colour = 0;
    std::string hint;
    std::string picture;
};

// The string grid's own state: what it drew, its scroll position and editor.
struct GridState {
    bool valid = false;
    HFONT font = nullptr;
    std::vector<std::vector<std::string>> cells;
    std::vector<int> widths;
    int row_height = 0, fixed_rows = 0, fixed_columns = 0, row = -1, column = -1;
    bool editing = false;
    int top_row = 0;  // first scrolling row shown
    HWND editor = nullptr;
    WNDPROC editor_proc = nullptr;
    bool editor_syncing = false;
};

struct ControlSlot {
    FormWindow* owner = nullptr;
    ui::Control* control = nullptr;
    int id = 0;
    HWND hwnd = nullptr;
    // Drawn by the form itself, with no window (form_labels.cpp): a label of
    // a modal form always; an edit or combo box or a button of one as its
    // face, until it is first used and gets its window.
    bool painted = false;
    WNDPROC old_proc = nullptr;  // subclassed windows: the class's procedure
    HBITMAP bitmap = nullptr;    // image: the loaded picture
    bool pressing = false;       // radio button: a mouse button is going down on it
    Applied applied;
    std::unique_ptr<GridState> grid;

    // The slot of a control window or face, found in constant time among the
    // live slots by window (form_renderer.cpp), and only while it is that
    // window's.
    static ControlSlot* Of(HWND window);
    // The window (or face) finds its slot from now on / no longer.
    void Attach(HWND window);
    void Detach(HWND window);
    // A box drawn as its face.
    bool Face() const;
    // The control's real window, made now if it has only its face (null
    // when it cannot be made).
    HWND MakeReal();

    // What the control kinds ask of the form window (form_renderer.cpp):
    // the height of a list item in the form's font; the margin of an edit
    // box's text in the control's font; the renderer's counts;
    // a flush of the memos when the thread next takes its messages, true
    // when one is on its way.
    int ItemHeight() const;
    int EditMargin() const;
    HFONT Font() const;  // the control's font
    // The brush of the form for the control's field, as an edit box
    // (`editable`) or a static one gets it, its colours set in `dc`.
    HBRUSH FaceBrush(HDC dc, bool editable) const;
    RendererStats& Stats() const;
    bool FlushMemosLater() const;
};

// The string grid window class (string_grid.cpp).
bool RegisterStringGridClass(HINSTANCE instance);
void UnregisterStringGridClass(HINSTANCE instance);
// Before the grid window goes: its editor's subclass is removed.
void ReleaseStringGrid(ControlSlot& slot);

}  // namespace lm::win32
