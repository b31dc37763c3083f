#pragma once
// The delayed store save and its retries. Every change restarts the controller's
// one-shot SaveTimer, so a burst of changes leads to one save, 5 seconds after its
// last change. The save itself has two halves: the capture, which this class starts
// when the timer goes off, and the write, which runs on the data folder's writer
// (data_folder_writer.h) and reports its outcome back here. A failed save arms the
// timer again for the retry's wait (store/save_retry.h), and the notices of a
// failure episode come back to the controller to be shown.
//
// One store save is in flight at a time: a timer that goes off while one is being
// written waits the usual delay again, so the note typed into meanwhile is saved by
// the save after it.
#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <utility>

#include "platform/timer.h"
#include "store/save_retry.h"

namespace vn {

// SaveTimer's first interval: the store is written this long after the last change.
inline constexpr std::chrono::milliseconds kSaveTimerInterval = SaveRetry::kChangeDelay;

class DelayedSave {
public:
    // `startSave` captures the notes and hands the write to the writer, which calls
    // SaveFinished with its outcome later. It may raise (a body that cannot be
    // taken): that save failed. It returns false when it started nothing (a save
    // that waits for something else, which saves when it ends).
    DelayedSave(Timer& timer, std::function<bool()> startSave) : timer_(timer), startSave_(std::move(startSave)) {}

    // SetSaveChangePending: the save comes 5 s from now, whatever wait ran before.
    void SetSaveChangePending() { timer_.Start(retry_.Changed()); }

    // The timer went off: a one-shot, so it stops; then the save starts, unless
    // one is still being written.
    std::optional<SaveNotice> SaveTimerTimer() {
        timer_.Stop();
        if (inFlight_) {
            timer_.Start(SaveRetry::kChangeDelay);
            return std::nullopt;
        }
        return SaveNow();
    }

    // Starts a save now (the shutdown's, or one asked for outside the timer).
    std::optional<SaveNotice> SaveNow() {
        timer_.Stop();
        retry_.SaveStarted();
        inFlight_ = true;
        try {
            if (!startSave_()) inFlight_ = false;
        } catch (const std::exception& e) {
            return SaveFinished(SaveOutcome::Failed(e));
        }
        return std::nullopt;
    }

    // The save started last reached its end: what to tell the person, if anything.
    std::optional<SaveNotice> SaveFinished(const SaveOutcome& outcome) {
        inFlight_ = false;
        SaveRetry::Next next = retry_.SaveFinished(outcome);
        if (next.arm && !stopped_) timer_.Start(*next.arm);
        return next.notice;
    }

    // Shutdown, after the final save: no save may follow it.
    void Stop() {
        stopped_ = true;
        timer_.Stop();
    }

    bool InFlight() const { return inFlight_; }
    bool Failing() const { return retry_.Failing(); }

private:
    Timer& timer_;
    std::function<bool()> startSave_;
    SaveRetry retry_;
    bool inFlight_ = false;
    bool stopped_ = false;
};

} // namespace vn
