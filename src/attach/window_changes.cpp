#include "attach/window_changes.h"

#include <utility>

namespace vn {

void WindowChanges::StartWatching(Clock now, std::uint64_t sweepMs, LookAction look, std::uint64_t lookMs) {
    clock_ = std::move(now);
    sweepMs_ = sweepMs;
    sweptAt_ = clock_();
    look_ = std::move(look);
    lookMs_ = lookMs;
    lookedAt_.reset();
    topLevel_.clear();
    looked_ = false;
    watched_.clear();
    titlesReadAt_.reset();
    titles_.clear();
    watching_ = true;
    // What happened before the watch began was not seen.
    AllChanged();
}

void WindowChanges::StopWatching() noexcept {
    watching_ = false;
    windows_.clear();
    topLevel_.clear();
    watched_.clear();
}

WindowChanges::Stamp WindowChanges::Now() {
    if (!watching_ || looking_) return counter_;
    const std::uint64_t now = clock_();
    // A clock that went back (another steady clock after a restore, say) sweeps too.
    if (now < sweptAt_ || now - sweptAt_ >= sweepMs_) {
        sweptAt_ = now;
        AllChanged();
    }
    if (look_ && (!lookedAt_ || now < *lookedAt_ || now - *lookedAt_ >= lookMs_)) {
        lookedAt_ = now;
        looking_ = true;
        try {
            look_(*this);
        } catch (...) {
            // A look that failed saw nothing: everything counts as changed.
            looking_ = false;
            AllChanged();
            throw;
        }
        looking_ = false;
    }
    return counter_;
}

void WindowChanges::Look(const std::vector<WindowId>& topLevel, const std::vector<WindowId>& active,
                         const ReadState& read) {
    std::unordered_set<WindowId> now(topLevel.begin(), topLevel.end());
    if (looked_) {
        for (WindowId w : now)
            if (!topLevel_.contains(w)) WindowChanged(w);
        for (WindowId w : topLevel_)
            if (!now.contains(w)) WindowChanged(w);
    }
    topLevel_ = std::move(now);
    looked_ = true;

    for (auto it = watched_.begin(); it != watched_.end();)
        it = --it->second.looksLeft < 0 ? watched_.erase(it) : std::next(it);
    for (WindowId w : active)
        if (w != kNoWindow) watched_[w].looksLeft = kWatchedLooks;
    for (auto& [window, watched] : watched_) {
        std::optional<WatchedWindowState> state = read(window);
        // A window watched afresh counts as changed: nothing was read of it before.
        if (!watched.read || state != watched.state) WindowChanged(window);
        watched.read = true;
        watched.state = std::move(state);
    }
}

bool WindowChanges::TitlesDue() {
    if (!watching_ || titlesMs_ == 0) return false;
    const std::uint64_t now = clock_();
    if (titlesReadAt_ && now >= *titlesReadAt_ && now - *titlesReadAt_ < titlesMs_) return false;
    titlesReadAt_ = now;
    return true;
}

void WindowChanges::LookAtTitles(const std::vector<TopLevelWindow>& windows) {
    std::unordered_map<WindowId, std::u16string> now;
    for (const TopLevelWindow& w : windows) {
        // A window new to the list is seen by the list of top-level windows.
        const auto it = titles_.find(w.id);
        if (it != titles_.end() && it->second != w.title) WindowChanged(w.id);
        now.emplace(w.id, w.title);
    }
    titles_ = std::move(now);
}

void WindowChanges::WindowChanged(WindowId window) {
    any_ = ++counter_;
    windows_[window] = counter_;
}

void WindowChanges::AllChanged() {
    all_ = any_ = ++counter_;
    windows_.clear();
}

bool WindowChanges::ChangedSince(WindowId window, Stamp since) const {
    if (!watching_ || all_ > since) return true;
    const auto it = windows_.find(window);
    return it != windows_.end() && it->second > since;
}

bool WindowChanges::AnyChangedSince(Stamp since) const { return !watching_ || any_ > since; }

} // namespace vn
