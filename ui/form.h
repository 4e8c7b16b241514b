// The form model: every window of the driver is a Form, a caption, a size and a
// table of controls by name with their state. Behaviour lives in the form
// classes (one handler per event, named after the control); the platform only
// draws a form and reports events back through Fire().
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lm::ui {

enum class ControlKind {
    Label,
    Button,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    Memo,
    ComboBox,
    ListBox,
    CheckListBox,
    StringGrid,
    ProgressBar,
    Image,
    Timer,  // no window: Event::Timer every `interval` ms while enabled
    // TFloatEdit: an edit box for one real number with its own model
    // (ui/float_edit.h); the renderers hand it the keys and the focus.
    FloatEdit,
};

// The state of a TFloatEdit beside its text (ui/float_edit.h works on it).
struct FloatEditState {
    double min_value = 0, max_value = 0;  // bounds, active when they differ
    double default_value = 0;             // the value of an empty text
    double increment = 0;                 // the step of the Up and Down keys
    bool include_bounds = true;           // bounds allowed, else the middle instead
    char decimal_separator = '.';         // the system's, for typing and showing
    // The text is not a number and the control asked for the input focus
    // back; the renderer gives it and clears the mark.
    bool wants_focus = false;
};

// What the user did to a control. The platform copies the control's new state
// into the model (checked, text, selection, ticks, current cell) before it fires.
enum class Event {
    Click,        // buttons, check and radio buttons, labels; a list's selection moved
    Change,       // an edit's or grid cell's text, a combo box's selection or text
    DoubleClick,  // list boxes
    ClickCheck,   // a check list box item ticked or unticked
    SelectCell,   // a string grid's current cell moved
    Timer,        // a timer's interval passed
    // The mouse moved over a control, or over the form itself: the form's own
    // events are registered under the form's name.
    MouseMove,
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Colours as 0xRRGGBB; kDefaultColour leaves the system's colour.
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kRed = 0xFF0000;
inline constexpr std::uint32_t kYellow = 0xFFFF00;
inline constexpr std::uint32_t kBlue = 0x0000FF;

inline constexpr int kDefaultColumnWidth = 64;
inline constexpr int kDefaultRowHeight = 24;

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    // Position in the parent's client area: the form's, or the group box's
    // named in `parent` (measured from the group box's top left corner).
    Rect bounds;
    std::string parent;
    std::string text;  // caption or edit text, CP1250
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    // Edits and memos: no typing. Combo boxes: a drop-down list to choose from,
    // no text of one's own.
    bool read_only = false;
    bool bold = false;
    bool underline = false;
    bool fixed_pitch = false;  // a fixed-pitch font instead of the form's
    bool vertical_scroll = false;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t back_colour = kDefaultColour;
    std::string hint;
    int max_length = 0;                            // 0 = no limit
    std::vector<std::string> items;                // memo lines, list and combo items
    std::vector<bool> item_checks;                 // check list box
    int selection = -1;                            // selected item
    int position = 0, minimum = 0, maximum = 100;  // progress bar
    bool default_button = false;                   // Enter clicks it
    bool cancel_button = false;                    // Escape clicks it
    int drop_down_count = 8;                       // combo box: lines of the open list
    std::string picture;                           // image: a bitmap file; empty = none
    int interval = 0;                              // timer: milliseconds
    FloatEditState number;                         // FloatEdit only

    // String grid: cells[row][column]; the first fixed_rows rows and
    // fixed_columns columns are headings. The current cell is (column, row).
    std::vector<std::vector<std::string>> cells;
    std::vector<int> column_widths;  // a missing width is kDefaultColumnWidth
    int row_height = kDefaultRowHeight;
    int fixed_rows = 1, fixed_columns = 1;
    int row = 1, column = 1;
    bool editing = false;  // the current cell is edited in place

    int RowCount() const { return static_cast<int>(cells.size()); }
    int ColumnCount() const;
    // Sizes the grid; new cells are empty, cells outside are dropped.
    void SetGridSize(int columns, int rows);
    // A cell of the grid; (column, row) outside the grid is a programming error.
    std::string& Cell(int column, int row);
    const std::string& Cell(int column, int row) const;
    int ColumnWidth(int column) const;
};

enum class WindowState { Normal, Minimized };
enum class ModalResult { None, Ok, Cancel };

class Form {
public:
    Form(std::string name, std::string caption, int width, int height);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    // Window geometry and state (outer size, as the window is placed).
    std::string caption;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    WindowState state = WindowState::Normal;
    bool centred = false;      // placed at the centre of the screen when shown
    bool border_icons = true;  // system menu and close box in the title bar
    ModalResult modal_result = ModalResult::None;
    // The form's font; controls use it unless they ask for bold, underlined
    // or fixed-pitch text.
    std::string font_name = "MS Sans Serif";
    int font_size = 8;  // points

    Control& Add(Control control);
    // A control of that kind, place and text; the rest of it set afterwards
    // on the control returned.
    Control& Add(std::string name, ControlKind kind, Rect bounds, std::string_view text,
                 std::string parent = {});
    // The control of that name; a missing name is a programming error (aborts).
    Control& operator[](std::string_view control_name);
    const Control& operator[](std::string_view control_name) const;
    bool Has(std::string_view control_name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Where a control lies in the form's client area (its parents' offsets added).
    Rect Placement(const Control& control) const;
    // A control is shown when it and every parent are visible, usable when it
    // and every parent are enabled.
    bool Showing(const Control& control) const;
    bool Usable(const Control& control) const;
    // Checks a radio button and unchecks the other radio buttons of its parent.
    void ChooseRadio(std::string_view control_name);

    // Registers the handler of one event of one control.
    void On(std::string_view control_name, Event event, std::function<void()> handler);
    // Runs the handler of an event (what the platform calls after a click or a
    // change it has copied into the control's state). False when none exists.
    bool Fire(std::string_view control_name, Event event);
    // True when a handler of the event exists (the platform reports only such
    // frequent events as mouse moves).
    bool Handles(std::string_view control_name, Event event) const;

    // Close a modal form with a result.
    void Close(ModalResult result) { modal_result = result; }

    // Counts every change the platform should redraw; the platform compares it.
    std::uint64_t revision() const { return revision_; }
    void Touch() { ++revision_; }

private:
    const Control* ParentOf(const Control& control) const;

    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> by_name_;
    std::map<std::pair<std::string, Event>, std::function<void()>> handlers_;
    std::uint64_t revision_ = 0;
};

}  // namespace lm::ui
