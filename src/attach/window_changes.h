#pragma once
// What changed about the desktop's windows, for the tracking ticks to skip the
// questions whose answers cannot have changed.
//
// A shown note's tick asks whether its target still exists, is visible, keeps its
// caption and is not minimised, and an unbound note's tick searches the top-level
// windows for its target. Each question about another program's window is a round
// trip to the window server (under Wine some 30 us of the program's time), and a
// hundred shown notes asking twice a second kept the program several per cent of a
// core busy while nothing happened. The system's change reports cannot replace the
// questions: Wine reports only the creation of another program's windows and its
// focus changes, not their destruction, showing, hiding, retitling or minimising.
//
// So the ticks look at the desktop cheaply once a round (Look) and ask a window's
// questions only when the look saw something about it:
//   - the list of top-level windows, read in one call: a window that appeared or
//     went counts as changed (a program that ends without destroying its windows
//     included);
//   - the foreground window and the window that owns it, and for a while after they
//     lose the foreground: their visibility, minimised state and title are read
//     (two questions each), and a difference counts as changed. A person hides,
//     minimises and retitles (by opening or saving a document) the window they
//     work in, so a note follows within a tick;
//   - every so often (ReadTitlesEvery) the titles of all top-level windows, one
//     question each: a window retitled in the background (a document opened in a
//     window the person is not using, say) counts as changed then;
//   - every `sweepMs` everything counts as changed: what else happens to windows
//     in the background (a program hiding or minimising a window the person is not
//     using) is seen by the next sweep.
// Reports from elsewhere (WindowChanged, AllChanged) count the same.
//
// Stamps order the changes: a tick takes Now() before it asks, and a change seen
// while it asks is newer than its stamp.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "attach/title_search.h"
#include "attach/window_system.h"

namespace vn {

// What a look reads of a window it watches.
struct WatchedWindowState {
    bool visible = false;
    bool minimized = false;
    std::u16string title;
    bool operator==(const WatchedWindowState&) const = default;
};

class WindowChanges {
public:
    using Stamp = std::uint64_t;
    // Milliseconds of a steady clock.
    using Clock = std::function<std::uint64_t()>;
    // Takes one look at the desktop (calls Look).
    using LookAction = std::function<void(WindowChanges&)>;
    // The state of a window; nothing when it is gone.
    using ReadState = std::function<std::optional<WatchedWindowState>(WindowId)>;

    // How many looks a window stays watched after it was last active.
    static constexpr int kWatchedLooks = 10;

    // Not watching: every question answers "changed", and every tick asks everything.
    WindowChanges() = default;

    // From now on `look` runs at the first Now() of a round (when the last look is at
    // least `lookMs` old), and every `sweepMs` everything counts as changed.
    void StartWatching(Clock now, std::uint64_t sweepMs, LookAction look, std::uint64_t lookMs);
    // Every question answers "changed" again.
    void StopWatching() noexcept;
    bool Watching() const noexcept { return watching_; }

    // The stamp of this moment; takes the round's look and runs the sweep when due.
    Stamp Now();

    // One look: `topLevel` every top-level window now, `active` the foreground
    // window and its owner (kNoWindow where there is none), `read` the state of a
    // window being watched.
    void Look(const std::vector<WindowId>& topLevel, const std::vector<WindowId>& active, const ReadState& read);

    // Every `ms` a look also reads the titles of all top-level windows (TitlesDue).
    void ReadTitlesEvery(std::uint64_t ms) noexcept { titlesMs_ = ms; }
    // Whether this look is to read every title: true once a period.
    bool TitlesDue();
    // The titles of all top-level windows: a window whose title differs from the one
    // the last read saw counts as changed.
    void LookAtTitles(const std::vector<TopLevelWindow>& windows);

    // Something about `window` changed (it may be gone by now).
    void WindowChanged(WindowId window);
    // Anything may have changed.
    void AllChanged();

    // Whether anything about `window` (or everything) changed after `since`.
    bool ChangedSince(WindowId window, Stamp since) const;
    // Whether anything about any window changed after `since`.
    bool AnyChangedSince(Stamp since) const;

private:
    struct Watched {
        int looksLeft = 0;
        bool read = false;
        std::optional<WatchedWindowState> state;  // nothing: gone
    };

    bool watching_ = false;
    Clock clock_;
    std::uint64_t sweepMs_ = 0;
    std::uint64_t sweptAt_ = 0;
    LookAction look_;
    std::uint64_t lookMs_ = 0;
    std::optional<std::uint64_t> lookedAt_;
    bool looking_ = false;

    Stamp counter_ = 0;
    Stamp all_ = 0;  // the last "everything changed"
    Stamp any_ = 0;  // the last change of any kind
    // The last change of each window since the last "everything changed", which
    // covers (and so drops) the older ones.
    std::unordered_map<WindowId, Stamp> windows_;
    // The top-level windows of the last look; empty before the first.
    std::unordered_set<WindowId> topLevel_;
    bool looked_ = false;
    std::unordered_map<WindowId, Watched> watched_;
    std::uint64_t titlesMs_ = 0;
    std::optional<std::uint64_t> titlesReadAt_;
    std::unordered_map<WindowId, std::u16string> titles_;
};

} // namespace vn
