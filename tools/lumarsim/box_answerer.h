// On Windows, the driver's message boxes would wait for a person. While a
// BoxAnswerer lives, a watcher presses each box's default button (OK, or Yes
// for a question) and prints the box to standard error, so a session never
// waits. The headless driver prints and answers its boxes itself.
#pragma once

#include <atomic>
#include <thread>

namespace lumarsim {

class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

private:
    bool desktop_ready_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace lumarsim
