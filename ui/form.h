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
};

enum class Event { Click, Change };

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Colours as 0xRRGGBB; kDefaultColour leaves the system's colour.
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kRed = 0xFF0000;
inline constexpr std::uint32_t kYellow = 0xFFFF00;

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    Rect bounds;
    std::string text;  // caption or edit text, CP1250
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    bool read_only = false;
    bool bold = false;
    bool vertical_scroll = false;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t back_colour = kDefaultColour;
    std::string hint;
    int max_length = 0;                            // 0 = no limit
    std::vector<std::string> items;                // memo lines, list and combo items
    std::vector<bool> item_checks;                 // check list box
    int selection = -1;                            // selected item
    int position = 0, minimum = 0, maximum = 100;  // progress bar
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

    Control& Add(Control control);
    // The control of that name; a missing name is a programming error (aborts).
    Control& operator[](std::string_view control_name);
    const Control& operator[](std::string_view control_name) const;
    bool Has(std::string_view control_name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Registers the handler of one event of one control.
    void On(std::string_view control_name, Event event, std::function<void()> handler);
    // Runs the handler of an event (what the platform calls after a click or a
    // change it has copied into the control's state). False when none exists.
    bool Fire(std::string_view control_name, Event event);

    // Close a modal form with a result.
    void Close(ModalResult result) { modal_result = result; }

    // Counts every change the platform should redraw; the platform compares it.
    std::uint64_t revision() const { return revision_; }
    void Touch() { ++revision_; }

private:
    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> by_name_;
    std::map<std::pair<std::string, Event>, std::function<void()>> handlers_;
    std::uint64_t revision_ = 0;
};

}  // namespace lm::ui
