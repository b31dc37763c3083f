#pragma once
// The one timer interface of the program: a repeating timer whose interval is fixed
// when it is made. On Windows it is a window-message timer (platform/window_timer_win.h);
// tests run it on a fake clock. Whoever owns a timer also handles its ticks, so the
// interface says nothing about handlers.
namespace vn {

class Timer {
public:
    virtual ~Timer() = default;
    // Starts the timer, or restarts its interval when it runs: the next tick comes
    // one interval from now, then one every interval until Stop.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool Enabled() const = 0;
};

} // namespace vn
