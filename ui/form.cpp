#include "ui/form.h"

#include <cstdio>
#include <cstdlib>

namespace lm::ui {

Form::Form(std::string name, std::string caption_text, int w, int h)
    : caption(std::move(caption_text)), width(w), height(h), name_(std::move(name)) {}

Control& Form::Add(Control control) {
    controls_.push_back(std::make_unique<Control>(std::move(control)));
    Control& added = *controls_.back();
    by_name_.emplace(added.name, &added);
    return added;
}

Control& Form::operator[](std::string_view control_name) {
    auto it = by_name_.find(control_name);
    if (it == by_name_.end()) {
        std::fprintf(stderr, "form %s has no control %.*s\n", name_.c_str(),
                     static_cast<int>(control_name.size()), control_name.data());
        std::abort();
    }
    return *it->second;
}

const Control& Form::operator[](std::string_view control_name) const {
    return const_cast<Form&>(*this)[control_name];
}

bool Form::Has(std::string_view control_name) const {
    return by_name_.find(control_name) != by_name_.end();
}

void Form::On(std::string_view control_name, Event event, std::function<void()> handler) {
    handlers_[{std::string(control_name), event}] = std::move(handler);
}

bool Form::Fire(std::string_view control_name, Event event) {
    auto it = handlers_.find({std::string(control_name), event});
    if (it == handlers_.end()) return false;
    it->second();
    Touch();
    return true;
}

}  // namespace lm::ui
