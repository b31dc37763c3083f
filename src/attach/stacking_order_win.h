#pragma once
// The stacking order of the top-level windows, read in one go and kept for a
// moment, for the shown notes' ticks. Each tick asks whether the note is still
// above its target; walking the order window by window asks the window server once
// a step, and with a hundred shown notes (each above every target, in Wine) that
// walk kept the program and the server busy all the time. One read of the whole
// order answers every note of the moment.
#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vn {

class StackingOrder {
public:
    explicit StackingOrder(std::uint64_t maxAgeMs) : maxAgeMs_(maxAgeMs) {}

    // True when `upper` lies above `lower` in the order read at most the maximum
    // age ago (read afresh when older).
    bool IsAbove(HWND upper, HWND lower);
    // True when `window` is a top-level window in that order: a window of a program
    // that ended is gone from it, also where the system reports no change for it.
    bool Has(HWND window);
    // Every top-level window, topmost first.
    const std::vector<HWND>& Windows();
    // The program moved a window: the next question reads the order afresh.
    void Forget() noexcept { taken_ = false; }

private:
    void Renew();

    std::uint64_t maxAgeMs_;
    std::vector<HWND> order_;                     // topmost first
    std::unordered_map<HWND, size_t> position_;  // in order_
    std::uint64_t takenAt_ = 0;
    bool taken_ = false;
};

} // namespace vn
