#include "platform/dpi_win.h"

#include <atomic>

#include "platform/gdi_win.h"

namespace vn {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
// shcore.dll, Windows 8.1 and later; 0 is MDT_EFFECTIVE_DPI.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <class Fn>
Fn User32Function(const char* name) noexcept {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// 0: not pinned.
std::atomic<int> pinnedDpi{0};

int ScreenDpi() noexcept {
    static const GetDpiForSystemFn forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    if (forSystem) {
        const UINT dpi = forSystem();
        if (dpi > 0) return static_cast<int>(dpi);
    }
    WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

} // namespace

int SystemDpi() noexcept {
    if (const int pinned = pinnedDpi.load(std::memory_order_relaxed)) return pinned;
    return ScreenDpi();
}

int DpiOfWindow(HWND hwnd) noexcept {
    if (const int pinned = pinnedDpi.load(std::memory_order_relaxed)) return pinned;
    static const GetDpiForWindowFn forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && forWindow) {
        const UINT dpi = forWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

void PinDpiForTests(std::optional<int> dpi) noexcept {
    pinnedDpi.store(dpi && *dpi > 0 ? *dpi : 0, std::memory_order_relaxed);
}

int SystemMetricForDpi(int index, int dpi) noexcept {
    static const GetSystemMetricsForDpiFn forDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi && !pinnedDpi.load(std::memory_order_relaxed)) return forDpi(index, static_cast<UINT>(dpi));
    // Without it (or with a pinned DPI the system does not know of), the metric at
    // the system DPI, brought to `dpi`.
    const int system = ScreenDpi();
    return MulDiv(GetSystemMetrics(index), dpi > 0 ? dpi : kBaseDpi, system);
}

namespace {

int DpiOfMonitor(HMONITOR monitor) noexcept {
    if (const int pinned = pinnedDpi.load(std::memory_order_relaxed)) return pinned;
    static const GetDpiForMonitorFn forMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && x > 0) return static_cast<int>(x);
    return ScreenDpi();
}

} // namespace

int DpiOfMonitorAt(int x, int y) noexcept { return DpiOfMonitor(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST)); }

int DpiOfMonitorOf(HWND hwnd) noexcept {
    return DpiOfMonitor(hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) : nullptr);
}

} // namespace vn
