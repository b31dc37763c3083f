#pragma once
// The delayed store save: every change restarts the controller's one-shot
// SaveTimer, so a burst of changes leads to one save, 5 seconds after its last
// change. The timer is a window timer on Windows (the controller implements
// OneShotTimer with SetTimer/KillTimer and calls SaveTimerTimer on WM_TIMER);
// ManualTimer runs it on a fake clock for tests.
#include <chrono>
#include <functional>

namespace vn {

class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    // Like SetTimer: fires every `interval` until stopped; starting again restarts the interval.
    virtual void Start(std::chrono::milliseconds interval) = 0;
    virtual void Stop() = 0;
};

class DelayedSave {
public:
    static constexpr std::chrono::milliseconds kSaveDelay{5000};

    DelayedSave(OneShotTimer& timer, std::function<void()> storeSave)
        : timer_(timer), storeSave_(std::move(storeSave)) {}

    // SetSaveChangePending: stop the timer and start it again.
    void SetSaveChangePending() {
        timer_.Stop();
        timer_.Start(kSaveDelay);
    }

    // SaveTimerTimer: a one-shot, so stop first; then the store save, whose
    // errors propagate to the caller (the guarded timer dispatch).
    void SaveTimerTimer() {
        timer_.Stop();
        storeSave_();
    }

    // Shutdown, after the final save: no save may follow it.
    void Stop() { timer_.Stop(); }

private:
    OneShotTimer& timer_;
    std::function<void()> storeSave_;
};

// A timer on a fake clock: Advance moves the clock and fires the handler at
// each due time it passes, as a window timer would while the loop runs.
class ManualTimer final : public OneShotTimer {
public:
    using Ms = std::chrono::milliseconds;

    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    void Start(Ms interval) override {
        interval_ = interval;
        due_ = now_ + interval;
        armed_ = true;
    }
    void Stop() override { armed_ = false; }

    void Advance(Ms by) {
        const Ms target = now_ + by;
        while (armed_ && due_ <= target) {
            now_ = due_;
            due_ += interval_;
            if (handler_) handler_();
        }
        now_ = target;
    }

    bool Armed() const { return armed_; }
    Ms Now() const { return now_; }

private:
    std::function<void()> handler_;
    Ms now_{0}, due_{0}, interval_{0};
    bool armed_ = false;
};

} // namespace vn
