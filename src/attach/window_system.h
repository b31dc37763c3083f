#pragma once
// What the binding and picking logic needs of the window system, with no Windows
// types: window ids are the handle values, rectangles plain structs. The Windows
// build implements it in window_system_win.cpp; tests use an in-memory desktop.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/dpi_scale.h"

namespace vn {

using WindowId = std::uintptr_t;

// No window (a null handle). A closed note's target is this.
inline constexpr WindowId kNoWindow = 0;
// The unbound marker of a note's target (-1, all bits set).
inline constexpr WindowId kUnboundWindow = ~WindowId{0};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual bool IsWindow(WindowId window) const = 0;
    virtual bool IsWindowVisible(WindowId window) const = 0;
    virtual bool IsIconic(WindowId window) const = 0;
    // True when the window's placement says it is shown minimised; false also when
    // the placement cannot be read.
    virtual bool PlacementMinimized(WindowId window) const = 0;
    // Screen rectangle; nothing when it cannot be read.
    virtual std::optional<ScreenRect> GetWindowRect(WindowId window) const = 0;
    // The system's own title search: the first top-level window whose title
    // matches `title`, or kNoWindow.
    virtual WindowId FindWindowByTitle(const std::u16string& title) const = 0;
    // Trimmed caption; empty for no window.
    virtual std::u16string GetWindowCaption(WindowId window) const = 0;
    // Executable file name of the owning process; empty when not found.
    virtual std::u16string GetWindowExeName(WindowId window) const = 0;
    virtual WindowId GetForegroundWindow() const = 0;
    virtual void SetForegroundWindow(WindowId window) = 0;
    virtual bool IsOwnWindow(WindowId window) const = 0;
    // The DPI of the monitor the window is on (mostly); 96 where nothing else is known.
    virtual int MonitorDpi(WindowId window) const {
        (void)window;
        return kBaseDpi;
    }
};

} // namespace vn
