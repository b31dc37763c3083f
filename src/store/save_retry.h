#pragma once
// When a failed store save is tried again, and when the person is told.
//
// Saves are delayed: each change of the notes (re)arms the save timer for the
// usual 5 seconds, so a burst of typing leads to one save after its last
// change, failing or not. After a failed save the next one comes 5 s later,
// then 30 s after a second failure, then every 60 s, unless a change arms the
// usual timer first (never a save per keystroke: each change only restarts it).
//
// A failure episode runs from a failed save to the next save that succeeds.
// The person is told once per episode, when it starts ("cannot save ...:
// REASON"), and when it ends ("saved again"). While it goes on, a failure for a
// reason already told stays quiet; one for a reason not yet told in this
// episode is told once (the folder was in use, now the disk is full: the
// person has something new to do). An episode ended by a success starts afresh.
//
// The rule keeps no clock and runs no timer: the controller arms its timer for
// the waits it returns, and shows the notices.
#include <chrono>
#include <optional>
#include <set>
#include <string>

#include "store/save_outcome.h"

namespace vn {

struct SaveNotice {
    enum class Kind { CannotSave, SavedAgain } kind;
    SaveFailure reason = SaveFailure::Other; // of CannotSave
    bool operator==(const SaveNotice&) const = default;
};

// The text of a notice (save_texts.h).
std::u16string NoticeText(const SaveNotice& notice);

class SaveRetry {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr Ms kChangeDelay{5000};
    // The waits after the first, the second, and every later failure in a row.
    static constexpr Ms kRetryDelays[] = {Ms{5000}, Ms{30000}, Ms{60000}};

    // The notes changed: arm the save timer for this long, replacing any wait.
    Ms Changed();
    // The save timer went off and the notes were captured for a save.
    void SaveStarted();

    struct Next {
        std::optional<Ms> arm;            // arm the save timer for this long; none: leave it as it is
        std::optional<SaveNotice> notice; // tell the person
    };
    // The save started last has ended. A change while it ran has armed the
    // timer already: that save comes first, and a failure then waits for it.
    Next SaveFinished(const SaveOutcome& outcome);

    bool Failing() const { return failures_ > 0; }

private:
    int failures_ = 0;             // in a row
    bool changedSinceCapture_ = false;
    std::set<SaveFailure> told_;   // in this episode
};

} // namespace vn
