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

namespace vn {

class StackingOrder {
public:
    explicit StackingOrder(std::uint64_t maxAgeMs) : maxAgeMs_(maxAgeMs) {}

    // True when `upper` lies above `lower` in the order read at most the maximum
    // age ago (read afresh when older).
    bool IsAbove(HWND upper, HWND lower);
    // The program moved a window: the next question reads the order afresh.
    void Forget() noexcept { taken_ = false; }

private:
    std::uint64_t maxAgeMs_;
    std::unordered_map<HWND, size_t> position_;  // 0 is the topmost window
    std::uint64_t takenAt_ = 0;
    bool taken_ = false;
};

} // namespace vn
