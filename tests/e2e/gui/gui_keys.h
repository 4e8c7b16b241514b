// Real keys for the GUI tests: xdotool presses them through the X server
// (its XTEST extension), as a keyboard does, into the window that has the X
// input focus. Wine gives that focus to the window that has the Windows focus
// when its windows are not managed (the GUI prefix), so the keys reach the
// control that has the focus, through the form's own message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lm::gui {

// One step of what a user does at the keyboard: keys pressed one after the
// other, in xdotool's names ("Tab", "shift+Tab", "Return", "Escape", "space",
// "Down", "alt+z"), or a text typed (ASCII letters, digits, "." and "-").
struct KeyStep {
    enum Kind { Keys, Text } kind;
    std::string what;
};
inline KeyStep Keys(std::string names) {
    return {KeyStep::Keys, std::move(names)};
}
inline KeyStep Typed(std::string text) {
    return {KeyStep::Text, std::move(text)};
}

// Gives `form` the keyboard (its X window the input focus), presses the
// steps in order and waits until xdotool has sent them all. False, with the
// reason in `error`, when xdotool did not run to its end in time.
bool PressKeys(HWND form, const std::vector<KeyStep>& steps, std::string* error = nullptr);

// The window that has the keyboard focus in the thread of `window`.
HWND FocusIn(HWND window);
// The name of the control that has the focus in `form` (its "LM:" property;
// a window inside a control, the string grid's editor, counts as the
// control), "none" when no control of the form has it.
std::wstring FocusedControl(HWND form);

// Waits until `holds` is true, checking every 20 ms, at most `limit_ms`;
// true when it came true. For states the keys lead to, which a busy machine
// reaches late: the limit is generous, the wait ends as soon as it holds.
bool WaitUntil(const std::function<bool()>& holds, int limit_ms = 20000);

}  // namespace lm::gui
