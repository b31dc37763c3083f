#include "attach/title_search.h"

#include <utility>

#include "attach/window_changes.h"

namespace vn {

TitleSearch::TitleSearch(ListWindows list, SameTitle same, Clock now, std::uint64_t maxAgeMs)
    : list_(std::move(list)), same_(std::move(same)), now_(std::move(now)), maxAgeMs_(maxAgeMs) {}

WindowId TitleSearch::Find(const std::u16string& title) {
    const std::uint64_t now = now_();
    // A clock that went back (another steady clock after a restore, say) also renews.
    if (!taken_ || now < takenAt_ || now - takenAt_ > maxAgeMs_) {
        windows_ = list_();
        takenAt_ = now;
        taken_ = true;
    }
    // The system's comparison is ordinal, one code unit against one: titles of other
    // lengths never match, and a thousand notes' searches skip most windows so.
    for (const TopLevelWindow& w : windows_)
        if (w.title.size() == title.size() && same_(w.title, title)) return w.id;
    return kNoWindow;
}

WindowId WindowSystemWithTitleSearch::FindWindowByTitle(const std::u16string& title) const {
    if (changes_ && changes_->LatestChange() != listedAfter_) {
        search_.Forget();
        listedAfter_ = changes_->LatestChange();
    }
    return search_.Find(title);
}

} // namespace vn
