// The recording test double of the platform: a transcript of what the driver
// asked of the OS, scripted answers and injected faults (file faults through
// `faulty_files`). Everything it does not record behaves as the headless
// platform.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "tests/support/faulty_files.h"

namespace lm::test {

class FakePlatform : public HeadlessPlatform {
public:
    FakePlatform();

    struct Box {
        BoxKind kind;
        std::string text;
    };
    struct Help {
        std::string file;
        long context;
    };
    struct Program {
        std::string file, parameters, directory;
        ShowMode show;
    };

    BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) override;
    void Beep() override { ++beeps; }
    void ShowHelp(const std::string& help_file, long context) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& file_name) override;
    int ShellOpen(const std::string& file, const std::string& parameters,
                  const std::string& directory, ShowMode show) override;
    unsigned RegisterMessage(const std::string& name) override;
    WindowHandle CreateDriverWindow(ui::Form& form, WindowEvents& events) override;
    void UpdateWindow(ui::Form& form) override;
    void DestroyDriverWindow(ui::Form& form) override;
    ui::ModalResult ShowModal(ui::Form& form) override;
    std::string CurrentDirectory() override { return current_directory; }
    std::string DateTimeText() override { return date_time; }
    char PathSeparator() override { return separator; }
    Files& files() override { return faulty_files; }
    char DecimalSeparator() override { return decimal_separator; }

    // Script.
    std::string current_directory = "C:\\LUMAR";
    char separator = '\\';
    char decimal_separator = ',';
    std::string date_time = "7.12.2026 12:34:56";
    std::set<std::string> failing_registrations;
    FaultyFiles faulty_files{HeadlessPlatform::files()};
    int shell_result = 42;
    // Programs go to the headless platform's program runner (an in-process
    // stand-in) instead of answering shell_result.
    bool run_programs = false;
    // With run_programs: file names (without the folder) of outside tools
    // that the shell starts, answering shell_result.
    std::set<std::string> outside_programs;
    // What the user does in the next modal forms, in order: each script gets
    // the form as shown and clicks in it. Without a script the form is closed.
    std::deque<std::function<void(ui::Form&)>> modal_scripts;
    // Runs while a message box is up (the system's modal loop: timer ticks
    // and messages may arrive then).
    std::function<void(const Box&)> on_box;
    // Runs at every update of the driver window (each log line reaches the
    // memo this way), to model what may re-enter the driver meanwhile.
    std::function<void()> on_update;

    // Transcript.
    std::vector<Box> boxes;
    std::vector<Help> helps;
    std::vector<Program> programs;
    std::vector<std::string> modal_forms;
    // Save-file dialogs shown, and what the user answers in them in order
    // (nothing left: cancelled).
    struct SaveDialog {
        std::string title, filter, file_name;
    };
    std::vector<SaveDialog> save_dialogs;
    std::deque<std::optional<std::string>> save_answers;  // names of the forms shown modally
    int beeps = 0;
    int windows_created = 0;
    int windows_destroyed = 0;
    int window_updates = 0;
    ui::Form* live_form = nullptr;
};

}  // namespace lm::test
