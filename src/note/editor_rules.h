#pragma once
// Rules of the note editor that need no window: which key releases refresh the
// checklist, how the wheel scrolls the body area, and where the font dialog goes.
// Key codes are the system's virtual-key values; the Windows layer checks each
// named value against the system's own macro.
#include <optional>

#include "note/note_layout.h"

namespace vn::note {

inline constexpr unsigned kKeyTab = 9;
inline constexpr unsigned kKeyReturn = 13;
inline constexpr unsigned kKeyShift = 16;
inline constexpr unsigned kKeyControl = 17;
inline constexpr unsigned kKeyAlt = 18;
inline constexpr unsigned kKeyEscape = 27;
inline constexpr unsigned kKeySpace = 32;
inline constexpr unsigned kKeyLeft = 37;
inline constexpr unsigned kKeyUp = 38;
inline constexpr unsigned kKeyRight = 39;
inline constexpr unsigned kKeyDown = 40;
inline constexpr unsigned kKeyC = 67;
inline constexpr unsigned kKeyV = 86;
inline constexpr unsigned kKeyX = 88;
inline constexpr unsigned kKeyF7 = 118;
inline constexpr unsigned kKeyF8 = 119;

struct KeyModifiers {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

// A release is special when Alt or Ctrl is held or the key is Shift, Ctrl, Alt or
// an arrow. A release that is not special refreshes the checklist; a special one only
// for Ctrl+V and Ctrl+X (a paste or a cut changed the lines). Shift is not looked at.
bool KeyReleaseRefreshesChecklist(unsigned key, KeyModifiers modifiers);

// The wheel in notches of 120 units: high-resolution wheels send smaller steps,
// which add up until they make a notch.
inline constexpr int kWheelNotch = 120;
inline constexpr int kWheelScrollPixels = 10;

class WheelNotches {
public:
    // Whole notches in `delta` and what was left over before (positive: away from
    // the user); the rest waits for the next delta. A turn back drops the rest.
    int Add(int delta);

private:
    int rest_ = 0;
};

// The body area's vertical scroll position after `notches` (positive: away from the
// user, up), 10 px each, clamped to 0 .. content height - visible height.
int WheelScrollPosition(int position, int notches, int contentHeight, int visibleHeight, int dpi = kBaseDpi);

// The font dialog's top-left corner on the monitor's work area: centred
// horizontally, its top a third of the free height down; a dialog larger than the
// area starts at its left or top edge.
Point FontDialogPosition(Rect workArea, Size dialog);

} // namespace vn::note
