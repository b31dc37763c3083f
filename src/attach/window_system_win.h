#pragma once
// The window-system seam over the real Win32 calls.
#include <windows.h>

#include "attach/window_system.h"

namespace vn {

inline WindowId ToWindowId(HWND window) noexcept { return reinterpret_cast<WindowId>(window); }
inline HWND ToHwnd(WindowId window) noexcept { return reinterpret_cast<HWND>(window); }

class Win32WindowSystem final : public WindowSystem {
public:
    bool IsWindow(WindowId window) const override;
    bool IsWindowVisible(WindowId window) const override;
    bool IsIconic(WindowId window) const override;
    bool PlacementMinimized(WindowId window) const override;
    std::optional<ScreenRect> GetWindowRect(WindowId window) const override;
    int MonitorDpi(WindowId window) const override;
    WindowId FindWindowByTitle(const std::u16string& title) const override;
    std::u16string GetWindowCaption(WindowId window) const override;
    std::u16string GetWindowExeName(WindowId window) const override;
    WindowId GetForegroundWindow() const override;
    void SetForegroundWindow(WindowId window) override;
    bool IsOwnWindow(WindowId window) const override;
};

// The one instance the program uses (it has no state).
WindowSystem& TheWindowSystem();

} // namespace vn
