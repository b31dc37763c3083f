#pragma once
// The tracking ticks' look at the real desktop (WindowChanges::Look): the top-level
// windows from the shared stacking order, the foreground window and the window
// that owns it, and the visibility, minimised state and title of the windows the
// look watches, each read with one question to the window server; now and then the
// titles of all top-level windows.
#include "attach/window_changes.h"

namespace vn {

class StackingOrder;

// Reads the order afresh.
void LookAtDesktop(WindowChanges& changes, StackingOrder& order);

// The state of `window` as a look reads it; nothing when it is gone.
std::optional<WatchedWindowState> ReadWatchedWindowState(WindowId window);

} // namespace vn
