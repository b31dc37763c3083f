#pragma once
// The texts that tell a person about saving: the warning of a failure episode,
// its end, and the question when the shutdown save fails. REASON is one plain
// phrase per SaveFailure.
#include <string>
#include <string_view>

#include "store/save_outcome.h"

namespace vn {

inline constexpr std::u16string_view SaveFailurePhrase(SaveFailure reason) {
    switch (reason) {
    case SaveFailure::InUse: return u"the folder is in use by another program";
    case SaveFailure::DiskFull: return u"the disk is full";
    case SaveFailure::ReadOnly: return u"the folder is read-only";
    case SaveFailure::IndexUnreadable: return u"the list of notes cannot be read";
    case SaveFailure::Other: break;
    }
    return u"an unexpected error occurred";
}

// The warning at the start of a failure episode (save_retry.h).
inline std::u16string CannotSaveText(SaveFailure reason) {
    return u"Vantory Note cannot save your notes right now: " + std::u16string(SaveFailurePhrase(reason)) +
           u". They are kept, and saved as soon as it can.";
}

// The first save that succeeds after failures.
inline constexpr char16_t kSavedAgainText[] = u"Your notes are saved again.";

// The question when the shutdown save fails (answers Retry, Quit Anyway, Cancel).
inline std::u16string UnsavedAtQuitText(SaveFailure reason) {
    return u"Your latest changes could not be saved: " + std::u16string(SaveFailurePhrase(reason)) + u".";
}

} // namespace vn
