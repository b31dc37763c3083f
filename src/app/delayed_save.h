#pragma once
// The delayed store save: every change restarts the controller's one-shot SaveTimer,
// so a burst of changes leads to one save, 5 seconds after its last change.
#include <chrono>
#include <functional>
#include <utility>

#include "platform/timer.h"

namespace vn {

// SaveTimer's interval: the store is written this long after the last change.
inline constexpr std::chrono::milliseconds kSaveTimerInterval{5000};

class DelayedSave {
public:
    // `timer` ticks every kSaveTimerInterval while it runs and calls SaveTimerTimer.
    DelayedSave(Timer& timer, std::function<void()> storeSave) : timer_(timer), storeSave_(std::move(storeSave)) {}

    // SetSaveChangePending: stop the timer and start it again.
    void SetSaveChangePending() {
        timer_.Stop();
        timer_.Start();
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
    Timer& timer_;
    std::function<void()> storeSave_;
};

} // namespace vn
