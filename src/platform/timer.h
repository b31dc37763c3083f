#pragma once
// The one timer interface of the program: a repeating timer with an interval. On
// Windows it is a window-message timer (platform/window_timer_win.h); tests run it
// on a fake clock. Whoever owns a timer also handles its ticks, so the interface
// says nothing about handlers.
#include <chrono>

namespace vn {

class Timer {
public:
    virtual ~Timer() = default;
    // Starts the timer, or restarts its interval when it runs: the next tick comes
    // one interval from now, then one every interval until Stop.
    virtual void Start() = 0;
    // The same with another interval, which stays the timer's from now on: for a
    // one-shot whose wait depends on why it is armed (a save retried later and
    // later after failures).
    virtual void Start(std::chrono::milliseconds interval) = 0;
    virtual void Stop() = 0;
    virtual bool Enabled() const = 0;
};

} // namespace vn
