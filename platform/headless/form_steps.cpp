#include "platform/headless/form_steps.h"

#include <charconv>

#include "ui/float_edit.h"

namespace lm {
namespace {

// "what" followed by the words, built with += (a chain of + on a literal
// trips a false warning of GCC 12 for i686).
std::string Said(std::string_view what, std::string_view a, std::string_view b = {},
                 std::string_view c = {}) {
    std::string text(what);
    text += a;
    text += b;
    text += c;
    return text;
}

// The next word of a line, blanks skipped.
std::string_view Word(std::string_view& line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const std::size_t end = line.find(' ');
    std::string_view word = line.substr(0, end);
    line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
    return word;
}

// One step; empty when played, else why not.
std::string PlayStep(ui::Form& form, std::string_view line) {
    const std::string_view verb = Word(line);
    const std::string_view name = Word(line);
    if (name.empty() || !form.Has(name)) return Said("no control \"", name, "\"");
    ui::Control& c = form[name];
    if (!form.Showing(c) || !form.Usable(c)) return Said(name, " is hidden or disabled");
    using ui::ControlKind;
    using ui::Event;
    if (verb == "press") {
        if (c.kind == ControlKind::CheckBox) c.checked = !c.checked;
        if (c.kind == ControlKind::RadioButton) form.ChooseRadio(name);
        form.Fire(name, Event::Click);
        return {};
    }
    if (verb == "set" && c.kind == ControlKind::FloatEdit) {
        // Typed key by key into an emptied box; the box then loses the focus.
        ui::TFloatEdit edit(c);
        c.text.clear();
        for (char key : line) {
            if (edit.KeyPress(key)) c.text += key;
        }
        form.Fire(name, Event::Change);
        if (!edit.Exit()) return Said(name, " holds no number: \"", c.text, "\"");
        return {};
    }
    if (verb == "key") {
        const std::string_view key = Word(line);
        if (c.kind != ControlKind::FloatEdit || (key != "up" && key != "down"))
            return Said("no key \"", key, "\" for ", name);
        ui::TFloatEdit(c).KeyDown(key == "up" ? ui::ArrowKey::Up : ui::ArrowKey::Down);
        form.Fire(name, Event::Change);
        return {};
    }
    if (verb == "set") {
        if (c.kind != ControlKind::Edit) return Said(name, " is not an edit box");
        std::string text(line);
        if (c.max_length > 0 && text.size() > static_cast<std::size_t>(c.max_length))
            text.resize(static_cast<std::size_t>(c.max_length));  // as the edit box takes it
        c.text = std::move(text);
        form.Fire(name, Event::Change);
        return {};
    }
    if (verb == "select") {
        const std::string_view number = Word(line);
        int item = -1;
        auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), item);
        if (ec != std::errc() || end != number.data() + number.size() || item < 0 ||
            item >= static_cast<int>(c.items.size())) {
            return Said("no item ", number, " in ", name);
        }
        c.selection = item;
        if (c.kind == ControlKind::ComboBox) {
            c.text = c.items[static_cast<std::size_t>(item)];
            form.Fire(name, Event::Change);
        } else {
            form.Fire(name, Event::Click);
        }
        return {};
    }
    if (verb == "cell") {
        // A cell of a string grid chosen, then its text typed in place.
        int at[2] = {-1, -1};
        for (int& n : at) {
            const std::string_view number = Word(line);
            auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
            if (ec != std::errc() || end != number.data() + number.size()) n = -1;
        }
        const auto [column, row] = at;
        if (c.kind != ControlKind::StringGrid || !c.editing || column < c.fixed_columns ||
            column >= c.ColumnCount() || row < c.fixed_rows || row >= c.RowCount()) {
            return Said("no cell to edit in ", name);
        }
        c.column = column;
        c.row = row;
        form.Fire(name, Event::SelectCell);
        c.Cell(column, row) = std::string(line);
        form.Fire(name, Event::Change);
        return {};
    }
    if (verb == "tick") {
        // The box of the entry that reads TEXT, or starts with TEXT and a space.
        const std::string_view text = line;
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            const std::string_view entry = c.items[i];
            if (entry != text &&
                !(entry.size() > text.size() && entry.substr(0, text.size()) == text &&
                  entry[text.size()] == ' '))
                continue;
            c.item_checks.resize(c.items.size(), false);
            c.item_checks[i] = !c.item_checks[i];
            form.Fire(name, Event::ClickCheck);
            return {};
        }
        return Said("no entry \"", text, "\" in ", name);
    }
    if (verb == "dblclick") {
        form.Fire(name, Event::DoubleClick);
        return {};
    }
    return Said("no step \"", verb, "\"");
}

}  // namespace

std::string PlayFormSteps(ui::Form& form, std::string_view steps) {
    while (!steps.empty() && form.modal_result == ui::ModalResult::None) {
        const std::size_t end = steps.find('\n');
        std::string_view line = steps.substr(0, end);
        steps = end == std::string_view::npos ? std::string_view() : steps.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos) continue;
        if (std::string problem = PlayStep(form, line); !problem.empty())
            return Said(line, ": ", problem);
    }
    return {};
}

}  // namespace lm
