#include "store/save_retry.h"

#include <algorithm>
#include <iterator>

#include "store/save_texts.h"

namespace vn {

std::u16string NoticeText(const SaveNotice& notice) {
    return notice.kind == SaveNotice::Kind::SavedAgain ? std::u16string(kSavedAgainText) : CannotSaveText(notice.reason);
}

SaveRetry::Ms SaveRetry::Changed() {
    changedSinceCapture_ = true;
    return kChangeDelay;
}

void SaveRetry::SaveStarted() { changedSinceCapture_ = false; }

SaveRetry::Next SaveRetry::SaveFinished(const SaveOutcome& outcome) {
    Next next;
    if (outcome.saved) {
        if (failures_ > 0) next.notice = SaveNotice{SaveNotice::Kind::SavedAgain};
        failures_ = 0;
        told_.clear();
        return next;
    }
    ++failures_;
    if (told_.insert(outcome.reason).second) next.notice = SaveNotice{SaveNotice::Kind::CannotSave, outcome.reason};
    if (!changedSinceCapture_) {
        const size_t step = std::min<size_t>(static_cast<size_t>(failures_), std::size(kRetryDelays)) - 1;
        next.arm = kRetryDelays[step];
    }
    return next;
}

} // namespace vn
