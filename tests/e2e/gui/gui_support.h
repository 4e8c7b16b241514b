// Helpers of the GUI tests under Wine and Xvfb: finding the driver's windows and
// controls, reading them back, answering message boxes from a watcher thread,
// and screenshots taken with ImageMagick.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/form_renderer.h"

namespace lm::gui {

// The window named `name` (its "LM:" property) below `parent`: a control's
// own window, none for a control that a modal form draws.
HWND FindNamedWindow(HWND parent, const std::wstring& name);
// The control window named `name` below `parent`, made first when the form
// draws the box as its face: what a test that works the control needs.
HWND FindControl(HWND parent, const std::wstring& name);
// A control that a modal form draws itself, with no window (a label, a box's
// face): what it shows; nullopt when the form draws none of that name.
std::optional<lm::win32::DrawnControlQuery> Drawn(HWND form, const wchar_t* name);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
std::wstring Text(HWND window);
// How wide GDI makes `window`'s text in the font the window draws it with (its
// WM_GETFONT): what a control that sizes itself to its text needs.
LONG TextWidth(HWND window);
// How wide `text` is in `font`.
LONG TextWidth(HFONT font, const std::wstring& text);
// The face GDI realizes for `window`'s font, which may differ from the face the
// font asks for when the machine lacks that one: the typeface name and, for a
// TrueType face, its family name ("Liberation Mono" behind "Courier New").
struct Face {
    std::wstring name, family;
};
Face RealizedFace(HWND window);
// The lines of a multi-line edit box.
std::vector<std::wstring> Lines(HWND edit);
// Lets the thread's windows handle what is queued for a while.
void Pump(int milliseconds);
// Lets them handle what is queued now, without waiting.
void PumpPending();

// The user of a modal form: while `show` runs on this thread (the entry call
// that shows the form), a thread of its own waits for the visible form of
// class LMForm captioned `caption`, lets it paint and hands it to `user`; a
// form that `user` left open is closed, so that a test never hangs. False when
// the form never showed; `shown_after_ms` (if given) gets how long it took.
bool PlayForm(const wchar_t* caption, const std::function<void(HWND form)>& user,
              const std::function<void()>& show, long long* shown_after_ms = nullptr);

// Answers the message boxes of this process (or of any process on the
// display: programs this one starts) as they appear, in order, and records
// what each one said. The common file dialogs are left to the test.
class BoxWatcher {
public:
    struct Box {
        std::wstring title, text;
        int answer;
    };
    explicit BoxWatcher(bool any_process = false);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // The button (IDOK, IDYES, IDNO...) for the next box; a box nobody
    // planned for is answered with IDNO (or closed) and recorded.
    void Answer(int button);
    std::vector<Box> Boxes();
    void Clear();

private:
    void Run();
    void Settle(const std::vector<HWND>& boxes);

    std::mutex mutex_;
    std::deque<int> answers_;
    std::vector<Box> boxes_;
    std::vector<HWND> answered_;
    const bool any_process_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The directory for screenshots (LM_GUI_SCREENSHOTS, a Unix path); empty when unset.
std::string ScreenshotDirectory();
// Saves what the screen shows of `window` as DIRECTORY/name.png with
// ImageMagick's import and lists it in DIRECTORY/manifest.tsv with the test
// that took it. False when it failed or no directory is set.
bool Screenshot(HWND window, const std::string& name);
// Starts `/bin/sh -c "command"` from Wine; such a program cannot be waited for,
// so the command itself leaves a file when it is done. False when it did not start.
bool StartShell(const std::string& command);
// The same path as Windows sees it (Z: drive).
std::wstring ScreenshotPath(const std::string& name);

}  // namespace lm::gui
