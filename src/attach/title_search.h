#pragma once
// The title search of the tracking ticks, answered from one list of the top-level
// windows for all notes.
//
// Every unbound note asks, twice a second, for the first top-level window with
// its target's title. The system's search reads the title of every top-level
// window for each question, which with a thousand stored notes keeps the program
// busy all the time. This search reads the list once and answers every note from
// it until the list is older than its maximum age, so a note learns of a new or
// retitled window at most that much later. Each answer is the one the system's
// search would have given on that list: the first window in z-order, hidden ones
// included, whose title equals the text under the system's letter-case rule.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "attach/window_system.h"

namespace vn {

struct TopLevelWindow {
    WindowId id = kNoWindow;
    std::u16string title;
};

class TitleSearch {
public:
    // Top-level windows in z-order, topmost first, with their titles.
    using ListWindows = std::function<std::vector<TopLevelWindow>()>;
    // The system's title comparison (it ignores letter case).
    using SameTitle = std::function<bool(std::u16string_view, std::u16string_view)>;
    // Milliseconds of a steady clock.
    using Clock = std::function<std::uint64_t()>;

    TitleSearch(ListWindows list, SameTitle same, Clock now, std::uint64_t maxAgeMs);

    WindowId Find(const std::u16string& title);

private:
    ListWindows list_;
    SameTitle same_;
    Clock now_;
    std::uint64_t maxAgeMs_;
    std::vector<TopLevelWindow> windows_;
    std::uint64_t takenAt_ = 0;
    bool taken_ = false;
};

// A window system that forwards every query to `inner` except the title search,
// which `search` answers.
class WindowSystemWithTitleSearch final : public WindowSystem {
public:
    WindowSystemWithTitleSearch(WindowSystem& inner, TitleSearch search)
        : inner_(inner), search_(std::move(search)) {}

    bool IsWindow(WindowId window) const override { return inner_.IsWindow(window); }
    bool IsWindowVisible(WindowId window) const override { return inner_.IsWindowVisible(window); }
    bool IsIconic(WindowId window) const override { return inner_.IsIconic(window); }
    bool PlacementMinimized(WindowId window) const override { return inner_.PlacementMinimized(window); }
    std::optional<ScreenRect> GetWindowRect(WindowId window) const override { return inner_.GetWindowRect(window); }
    WindowId FindWindowByTitle(const std::u16string& title) const override { return search_.Find(title); }
    std::u16string GetWindowCaption(WindowId window) const override { return inner_.GetWindowCaption(window); }
    std::u16string GetWindowExeName(WindowId window) const override { return inner_.GetWindowExeName(window); }
    WindowId GetForegroundWindow() const override { return inner_.GetForegroundWindow(); }
    void SetForegroundWindow(WindowId window) override { inner_.SetForegroundWindow(window); }
    bool IsOwnWindow(WindowId window) const override { return inner_.IsOwnWindow(window); }

private:
    WindowSystem& inner_;
    mutable TitleSearch search_;  // its list is a cache: searching does not change the desktop
};

} // namespace vn
