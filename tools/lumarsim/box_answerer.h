// On Windows, the driver's message boxes would wait for a person. While a
// BoxAnswerer lives, a watcher presses each box's default button (OK, or Yes
// for a question) and prints the box to standard error, so a session never
// waits. The headless driver prints and answers its boxes itself.
#pragma once

#include "tools/lumarsim/window_watcher.h"

namespace lumarsim {

class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

#if defined(_WIN32)
private:
    WindowWatcher watcher_;
#endif
};

}  // namespace lumarsim
