// How long the driver's modal forms take to open, for the GUI timing report
// (build/<arch>/gui-report.md): one row per dialog with the median of its
// openings and the machine they were measured on. Nothing here judges the
// figures: the report is written whatever they are.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lm::gui {

// Runs `show` (the host call that opens the form captioned `caption`) on this
// thread while a thread of its own waits until the form is visible and neither
// it nor any visible window inside it has anything left to paint; then it
// presses the button named `close`. The time runs from the start of `show` to
// that moment; negative when the form never showed.
struct Opening {
    double ms = -1;
    int windows = 0;  // the visible windows in the form then: how big it is
};
Opening TimeOpening(const wchar_t* caption, const wchar_t* close,
                    const std::function<void()>& show);

struct TimingRow {
    std::string dialog;
    int windows = 0;
    std::vector<double> ms;  // one per opening, negative: it never showed
};

// The middle one of the openings that showed (the mean of the middle two for
// an even count); negative when none showed.
double Median(std::vector<double> ms);

// The report's text: the machine (processor, cores, load average, Wine
// version, build) and a table row per dialog.
std::string TimingReport(const std::vector<TimingRow>& rows, const std::string& build);

// Where the report goes (LM_GUI_REPORT, a Unix path); empty when unset.
std::string TimingReportPath();

}  // namespace lm::gui
