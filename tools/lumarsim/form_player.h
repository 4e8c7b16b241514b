// The user of the driver's modal forms in a lumarsim script: the steps queued
// for each next form (platform/headless/form_steps.h), played headless by
// liblmdriver.so through the hooks this program exports, or on Windows by a
// watcher that drives LMDRIVER.DLL's form windows with window messages. A form
// without steps is closed as dismissed, so a session never waits.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tools/lumarsim/window_watcher.h"

namespace lumarsim {

class FormQueue {
public:
    static FormQueue& Instance();

    // A new form: the steps added next are its steps.
    void StartForm();
    // A step of the form added last (CP1250); false when no form was added.
    bool AddStep(const std::string& step);
    // The steps of the next form, one a line; nothing when none is queued.
    std::optional<std::string> Next();
    // A form window's play began (Windows): its report follows with Closed.
    void Playing();
    // How the form with this caption (CP1250) ended: the transcript line.
    void Closed(const std::string& caption, bool closed_by_steps, const std::string& problem);
    // The transcript lines of the forms that ended since the last call,
    // after the forms still being played have ended (two seconds at most):
    // a form closes before its player has written its line, and the host
    // call that showed it may have returned meanwhile.
    std::vector<std::string> TakeReports();
    // How many forms since the last call had a step that could not be played.
    std::size_t TakeProblems();

private:
    std::mutex mutex_;
    std::condition_variable played_;
    int playing_ = 0;
    std::deque<std::string> forms_;
    std::vector<std::string> reports_;
    std::size_t problems_ = 0;
    std::string current_;  // the text handed to the driver stays alive here
    friend const char* NextStepsForDriver();
};

// While a FormPlayer lives, the Windows driver's modal forms are played from
// the queue (nothing to do for the headless driver, which asks itself).
class FormPlayer {
public:
    FormPlayer();
    ~FormPlayer();
    FormPlayer(const FormPlayer&) = delete;
    FormPlayer& operator=(const FormPlayer&) = delete;

#if defined(_WIN32)
private:
    WindowWatcher watcher_;
#endif
};

}  // namespace lumarsim
