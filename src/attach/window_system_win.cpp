#include "attach/window_system_win.h"

#include "attach/identity_win.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace vn {

bool Win32WindowSystem::IsWindow(WindowId window) const { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsWindowVisible(WindowId window) const { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsIconic(WindowId window) const { return ::IsIconic(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::PlacementMinimized(WindowId window) const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);  // 44
    if (!::GetWindowPlacement(ToHwnd(window), &placement)) return false;
    return placement.showCmd == SW_SHOWMINIMIZED;
}

std::optional<ScreenRect> Win32WindowSystem::GetWindowRect(WindowId window) const {
    RECT r{};
    if (!::GetWindowRect(ToHwnd(window), &r)) return std::nullopt;
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

int Win32WindowSystem::MonitorDpi(WindowId window) const { return DpiOfMonitorOf(ToHwnd(window)); }

WindowId Win32WindowSystem::FindWindowByTitle(const std::u16string& title) const {
    return ToWindowId(::FindWindowW(nullptr, W(title)));
}

std::u16string Win32WindowSystem::GetWindowCaption(WindowId window) const { return vn::GetWindowCaption(ToHwnd(window)); }

std::u16string Win32WindowSystem::GetWindowExeName(WindowId window) const {
    return vn::GetWindowExeName(ToHwnd(window));
}

WindowId Win32WindowSystem::GetForegroundWindow() const { return ToWindowId(::GetForegroundWindow()); }

void Win32WindowSystem::SetForegroundWindow(WindowId window) { ::SetForegroundWindow(ToHwnd(window)); }

bool Win32WindowSystem::IsOwnWindow(WindowId window) const { return vn::IsOwnWindow(ToHwnd(window)); }

WindowSystem& TheWindowSystem() {
    static Win32WindowSystem system;
    return system;
}

} // namespace vn
