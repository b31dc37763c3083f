#pragma once
// The DPI the program's windows are shown at. The program is per-monitor DPI aware
// (v2, in its manifest): a window takes the DPI of the monitor it is on and hears of
// a change in WM_DPICHANGED. The newer functions are looked up at run time, so the
// program still starts on systems without them (there the system DPI is every
// window's DPI).
#include <windows.h>

#include <optional>

#include "platform/dpi_scale.h"

namespace vn {

// The DPI of `hwnd`'s monitor as the window sees it; the system DPI where the system
// has no per-window DPI, or for no window.
int DpiOfWindow(HWND hwnd) noexcept;

// The system DPI (that of the primary monitor at log-on).
int SystemDpi() noexcept;

// Pins the DPI every query above returns, for tests: the test runs cannot change the
// DPI of a running Wine. Null follows the system again.
void PinDpiForTests(std::optional<int> dpi) noexcept;

// A system metric (SM_CXSMICON, SM_CXVSCROLL, ...) at `dpi`.
int SystemMetricForDpi(int index, int dpi) noexcept;

// `value` (at 96 DPI) at the DPI of `hwnd`.
inline int ScaleForWindow(HWND hwnd, int value) noexcept { return ScaleForDpi(value, DpiOfWindow(hwnd)); }

// The DPI of the monitor nearest to a point, or of the monitor a window is on
// (mostly), whatever the window's own DPI awareness: a window of another program
// that is not DPI aware says 96 of itself on any monitor. The system DPI where the
// system has no per-monitor DPI; the pinned DPI while there is one.
int DpiOfMonitorAt(int x, int y) noexcept;
int DpiOfMonitorOf(HWND hwnd) noexcept;

} // namespace vn
