#pragma once
// The program's "high contrast on" flag: read from the system at start and again
// whenever the setting or the system colours change, and the colours it implies
// (platform/palette.h chooses them). A change repaints every window of the program
// at once, so every note and every open dialog takes the new colours together.
#include <windows.h>

#include <optional>

#include "platform/palette.h"

namespace vn {

// True while the program paints in the system's high-contrast colours.
bool HighContrastOn() noexcept;

// Reads the system's setting (SPI_GETHIGHCONTRAST) into the flag, unless a test has
// pinned it.
void ReadHighContrast() noexcept;

// Pins the flag for tests: the test runs cannot switch the system's setting. Null
// lets the flag follow the system again at the next read.
void PinHighContrastForTests(std::optional<bool> on) noexcept;

// The system's current colours of the high-contrast roles.
SystemColors CurrentSystemColors() noexcept;
// The COLOR_* index of a system colour role.
int SystemColorIndex(SystemColor color) noexcept;

// The chrome colour of `part` in the current mode (none: draw the part's picture).
std::optional<COLORREF> ChromeColorNow(ChromePart part) noexcept;

// True for the messages that may switch the flag or change the system colours:
// WM_SYSCOLORCHANGE, and WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST.
bool IsContrastChange(UINT message, WPARAM wParam) noexcept;

// Rereads the flag and the system colours; when either changed, repaints every
// top-level window of the calling thread that the program made, with all of their
// children. Every program window calls it on a contrast change
// (platform/window_win.cpp): the system sends the change to each top-level window,
// and the first of them repaints them all.
void RefreshForContrastChange() noexcept;

// Sent to every top-level window of the program before the repaint of a contrast
// change, for windows that hand colours to their controls (a list view keeps its own).
UINT ContrastChangedMessage() noexcept;

inline COLORREF ToColorRef(Rgb c) noexcept { return RGB(c.r, c.g, c.b); }

} // namespace vn
