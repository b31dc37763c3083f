#pragma once
// A timer on a fake clock: Advance moves the clock and runs the handler at each
// due time it passes, as a window timer would while the message loop runs.
#include <chrono>
#include <functional>
#include <utility>

#include "platform/timer.h"

namespace vn::test {

class ManualTimer final : public Timer {
public:
    using Ms = std::chrono::milliseconds;

    explicit ManualTimer(Ms interval) : interval_(interval) {}

    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    void Start() override {
        due_ = now_ + interval_;
        armed_ = true;
        ++starts_;
    }
    void Start(Ms interval) override {
        interval_ = interval;
        Start();
    }
    void Stop() override { armed_ = false; }
    bool Enabled() const override { return armed_; }

    void Advance(Ms by) {
        const Ms target = now_ + by;
        while (armed_ && due_ <= target) {
            now_ = due_;
            due_ += interval_;
            if (handler_) handler_();
        }
        now_ = target;
    }

    Ms Now() const { return now_; }
    Ms Interval() const { return interval_; }
    // How often the timer was started or restarted.
    int Starts() const { return starts_; }

private:
    std::function<void()> handler_;
    Ms interval_;
    Ms now_{0}, due_{0};
    bool armed_ = false;
    int starts_ = 0;
};

} // namespace vn::test
