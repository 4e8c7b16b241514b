#include "ui/form.h"

#include <cstdio>
#include <cstdlib>

namespace lm::ui {
namespace {

// A programming error in a form's table: reported and fatal.
[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::abort();
}

}  // namespace

int Control::ColumnCount() const {
    return cells.empty() ? 0 : static_cast<int>(cells.front().size());
}

void Control::SetGridSize(int columns, int rows) {
    cells.resize(static_cast<std::size_t>(rows < 0 ? 0 : rows));
    for (auto& r : cells) r.resize(static_cast<std::size_t>(columns < 0 ? 0 : columns));
}

std::string& Control::Cell(int c, int r) {
    if (r < 0 || r >= RowCount() || c < 0 || c >= ColumnCount()) {
        Fail("grid " + name + " has no cell " + std::to_string(c) + "," + std::to_string(r));
    }
    return cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
}

const std::string& Control::Cell(int c, int r) const {
    return const_cast<Control&>(*this).Cell(c, r);
}

int Control::ColumnWidth(int c) const {
    if (c >= 0 && c < static_cast<int>(column_widths.size())) {
        return column_widths[static_cast<std::size_t>(c)];
    }
    return kDefaultColumnWidth;
}

Form::Form(std::string name, std::string caption_text, int w, int h)
    : caption(std::move(caption_text)), width(w), height(h), name_(std::move(name)) {}

Control& Form::Add(Control control) {
    controls_.push_back(std::make_unique<Control>(std::move(control)));
    Control& added = *controls_.back();
    by_name_.emplace(added.name, &added);
    return added;
}

Control& Form::Add(std::string name, ControlKind kind, Rect bounds, std::string_view text,
                   std::string parent) {
    Control control;
    control.name = std::move(name);
    control.kind = kind;
    control.bounds = bounds;
    control.text = std::string(text);
    control.parent = std::move(parent);
    return Add(std::move(control));
}

Control& Form::operator[](std::string_view control_name) {
    auto it = by_name_.find(control_name);
    if (it == by_name_.end()) {
        Fail("form " + name_ + " has no control " + std::string(control_name));
    }
    return *it->second;
}

const Control& Form::operator[](std::string_view control_name) const {
    return const_cast<Form&>(*this)[control_name];
}

bool Form::Has(std::string_view control_name) const {
    return by_name_.find(control_name) != by_name_.end();
}

const Control* Form::ParentOf(const Control& control) const {
    if (control.parent.empty()) return nullptr;
    return &(*this)[control.parent];
}

// The parent chains are short; a chain longer than the table is a cycle, a
// programming error like a missing name.
Rect Form::Placement(const Control& control) const {
    Rect r = control.bounds;
    std::size_t depth = 0;
    for (const Control* p = ParentOf(control); p != nullptr; p = ParentOf(*p)) {
        if (++depth > controls_.size())
            Fail("form " + name_ + " has a parent cycle at " + control.name);
        r.left += p->bounds.left;
        r.top += p->bounds.top;
    }
    return r;
}

bool Form::Showing(const Control& control) const {
    std::size_t depth = 0;
    for (const Control* c = &control; c != nullptr; c = ParentOf(*c)) {
        if (++depth > controls_.size() + 1)
            Fail("form " + name_ + " has a parent cycle at " + control.name);
        if (!c->visible) return false;
    }
    return true;
}

bool Form::Usable(const Control& control) const {
    std::size_t depth = 0;
    for (const Control* c = &control; c != nullptr; c = ParentOf(*c)) {
        if (++depth > controls_.size() + 1)
            Fail("form " + name_ + " has a parent cycle at " + control.name);
        if (!c->enabled) return false;
    }
    return true;
}

void Form::ChooseRadio(std::string_view control_name) {
    Control& chosen = (*this)[control_name];
    for (auto& c : controls_) {
        if (c->kind == ControlKind::RadioButton && c->parent == chosen.parent) c->checked = false;
    }
    chosen.checked = true;
}

void Form::On(std::string_view control_name, Event event, std::function<void()> handler) {
    handlers_[{std::string(control_name), event}] = std::move(handler);
}

bool Form::Handles(std::string_view control_name, Event event) const {
    return handlers_.count({std::string(control_name), event}) != 0;
}

bool Form::Fire(std::string_view control_name, Event event) {
    auto it = handlers_.find({std::string(control_name), event});
    if (it == handlers_.end()) return false;
    // A copy: the handler may replace its own registration.
    auto handler = it->second;
    handler();
    Touch();
    return true;
}

}  // namespace lm::ui
