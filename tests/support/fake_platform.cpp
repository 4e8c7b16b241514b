#include "tests/support/fake_platform.h"

namespace lm::test {

FakePlatform::FakePlatform() {
    SetQuiet(true);
}

BoxAnswer FakePlatform::ShowMessageBox(BoxKind kind, std::string_view text) {
    boxes.push_back({kind, std::string(text)});
    if (on_box) on_box(Box(boxes.back()));
    return HeadlessPlatform::ShowMessageBox(kind, text);
}

std::optional<std::string> FakePlatform::ChooseSaveFile(const std::string& title,
                                                        const std::string& filter,
                                                        const std::string& file_name) {
    save_dialogs.push_back({title, filter, file_name});
    if (save_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(save_answers.front());
    save_answers.pop_front();
    return answer;
}

void FakePlatform::ShowHelp(const std::string& help_file, long context) {
    helps.push_back({help_file, context});
}

int FakePlatform::ShellOpen(const std::string& file, const std::string& parameters,
                            const std::string& directory, ShowMode show) {
    programs.push_back({file, parameters, directory, show});
    const std::size_t slash = file.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (run_programs && outside_programs.count(name) == 0)
        return HeadlessPlatform::ShellOpen(file, parameters, directory, show);
    return shell_result;
}

ui::ModalResult FakePlatform::ShowModal(ui::Form& form) {
    modal_forms.push_back(form.name());
    if (!modal_scripts.empty()) {
        auto script = std::move(modal_scripts.front());
        modal_scripts.pop_front();
        script(form);
    }
    return form.modal_result == ui::ModalResult::None ? ui::ModalResult::Cancel : form.modal_result;
}

unsigned FakePlatform::RegisterMessage(const std::string& name) {
    if (failing_registrations.count(name) != 0) return 0;
    return HeadlessPlatform::RegisterMessage(name);
}

WindowHandle FakePlatform::CreateDriverWindow(ui::Form& form, WindowEvents& events) {
    ++windows_created;
    live_form = &form;
    return HeadlessPlatform::CreateDriverWindow(form, events);
}

void FakePlatform::UpdateWindow(ui::Form& form) {
    ++window_updates;
    if (on_update) on_update();
    HeadlessPlatform::UpdateWindow(form);
}

void FakePlatform::DestroyDriverWindow(ui::Form& form) {
    ++windows_destroyed;
    live_form = nullptr;
    HeadlessPlatform::DestroyDriverWindow(form);
}

}  // namespace lm::test
