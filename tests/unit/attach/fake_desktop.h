#pragma once
// An in-memory desktop for the binding and picking logic: top-level windows in
// z-order (first = topmost), with titles, executable names, visibility, minimised
// state, rectangles and a foreground window.
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "attach/identity.h"
#include "attach/window_system.h"

namespace vn::test {

struct FakeWindow {
    WindowId id = kNoWindow;
    std::u16string title;  // raw text; captions are read trimmed
    std::u16string exeName;
    bool visible = true;
    bool placementMinimized = false;
    bool iconic = false;
    std::optional<ScreenRect> rect = ScreenRect{100, 200, 900, 700};
    bool own = false;
    int monitorDpi = 96;
};

class FakeDesktop : public WindowSystem {
public:
    // Opens a window on top of the others.
    WindowId Open(std::u16string title, std::u16string exeName, ScreenRect rect = {100, 200, 900, 700}) {
        FakeWindow w;
        w.id = nextId_;
        nextId_ += 0x10;
        w.title = std::move(title);
        w.exeName = std::move(exeName);
        w.rect = rect;
        windows_.insert(windows_.begin(), w);
        return w.id;
    }
    // Opens a window below all the others.
    WindowId OpenBelow(std::u16string title, std::u16string exeName) {
        WindowId id = Open(std::move(title), std::move(exeName));
        std::rotate(windows_.begin(), windows_.begin() + 1, windows_.end());
        return id;
    }
    FakeWindow& operator[](WindowId id) {
        auto it = Find(id);
        if (it == windows_.end()) throw std::logic_error("no such fake window");
        return *it;
    }
    void Destroy(WindowId id) {
        windows_.erase(Find(id));
        if (foreground_ == id) foreground_ = kNoWindow;
    }
    // Minimised windows are parked far off screen by the system.
    void Minimize(WindowId id) {
        auto& w = (*this)[id];
        restoreRect_ = w.rect;
        w.placementMinimized = true;
        w.iconic = true;
        w.rect = ScreenRect{-32000, -32000, -31840, -31973};
    }
    void Restore(WindowId id) {
        auto& w = (*this)[id];
        w.placementMinimized = false;
        w.iconic = false;
        w.rect = restoreRect_;
    }
    void SetForeground(WindowId id) { foreground_ = id; }
    const std::vector<WindowId>& ForegroundRequests() const { return foregroundRequests_; }

    bool IsWindow(WindowId id) const override { return Find(id) != windows_.end(); }
    bool IsWindowVisible(WindowId id) const override {
        auto it = Find(id);
        return it != windows_.end() && it->visible;
    }
    bool IsIconic(WindowId id) const override {
        auto it = Find(id);
        return it != windows_.end() && it->iconic;
    }
    bool PlacementMinimized(WindowId id) const override {
        auto it = Find(id);
        return it != windows_.end() && it->placementMinimized;
    }
    int MonitorDpi(WindowId id) const override {
        auto it = Find(id);
        return it == windows_.end() ? 96 : it->monitorDpi;
    }
    std::optional<ScreenRect> GetWindowRect(WindowId id) const override {
        auto it = Find(id);
        return it == windows_.end() ? std::nullopt : it->rect;
    }
    // Like the system's search: the first window in z-order, hidden ones included,
    // whose raw title matches.
    WindowId FindWindowByTitle(const std::u16string& title) const override {
        ++titleSearches;
        for (const auto& w : windows_)
            if (w.title == title) return w.id;
        return kNoWindow;
    }
    std::u16string GetWindowCaption(WindowId id) const override {
        auto it = Find(id);
        return it == windows_.end() ? std::u16string() : TrimCaption(it->title);
    }
    std::u16string GetWindowExeName(WindowId id) const override {
        ++exeQueries;
        auto it = Find(id);
        return it == windows_.end() ? std::u16string() : it->exeName;
    }
    WindowId GetForegroundWindow() const override { return foreground_; }
    void SetForegroundWindow(WindowId id) override {
        foregroundRequests_.push_back(id);
        if (IsWindow(id)) foreground_ = id;
    }
    bool IsOwnWindow(WindowId id) const override {
        auto it = Find(id);
        return it != windows_.end() && it->own;
    }

    mutable int titleSearches = 0;
    mutable int exeQueries = 0;

private:
    std::vector<FakeWindow>::iterator Find(WindowId id) {
        return std::find_if(windows_.begin(), windows_.end(), [&](const FakeWindow& w) { return w.id == id; });
    }
    std::vector<FakeWindow>::const_iterator Find(WindowId id) const {
        return std::find_if(windows_.begin(), windows_.end(), [&](const FakeWindow& w) { return w.id == id; });
    }

    std::vector<FakeWindow> windows_;
    WindowId nextId_ = 0x1000;
    WindowId foreground_ = kNoWindow;
    std::vector<WindowId> foregroundRequests_;
    std::optional<ScreenRect> restoreRect_;
};

} // namespace vn::test
