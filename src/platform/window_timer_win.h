#pragma once
// A window-message timer (SetTimer/KillTimer on a window of the program): its ticks
// arrive as WM_TIMER with the timer's id, and the window that owns it dispatches them.
#include <windows.h>

#include <chrono>

#include "platform/timer.h"
#include "platform/window_win.h"

namespace vn {

class WindowTimer final : public Timer {
public:
    WindowTimer(const Window& owner, UINT_PTR id, std::chrono::milliseconds interval) noexcept
        : owner_(owner), id_(id), interval_(interval) {}
    ~WindowTimer() override { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    // Without a native window there is nothing to tick on: the timer stays off.
    void Start() override {
        if (!owner_.HasHandle()) return;
        // SetTimer with the id of a running timer replaces it: the interval restarts.
        enabled_ = SetTimer(owner_.Handle(), id_, static_cast<UINT>(interval_.count()), nullptr) != 0;
    }
    void Start(std::chrono::milliseconds interval) override {
        interval_ = interval;
        Start();
    }
    void Stop() override {
        if (enabled_ && owner_.HasHandle()) KillTimer(owner_.Handle(), id_);
        enabled_ = false;
    }
    bool Enabled() const override { return enabled_; }
    UINT_PTR Id() const noexcept { return id_; }
    std::chrono::milliseconds Interval() const noexcept { return interval_; }

private:
    const Window& owner_;
    UINT_PTR id_;
    std::chrono::milliseconds interval_;
    bool enabled_ = false;
};

} // namespace vn
