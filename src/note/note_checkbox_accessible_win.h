#pragma once
// The check boxes of the gutter as a screen reader sees them: the system describes a
// box (place, focus, tick), but a box has no caption, so its name comes from its
// line. The object knows only the box's window and asks for the name at each
// question; once the box has gone it answers CO_E_OBJNOTCONNECTED.
#include <windows.h>


namespace vn {

// Sent to a box to read its name: lParam points at the std::u16string that receives
// it. A box of the gutter answers 1; a box that has gone answers nothing.
inline constexpr UINT kCheckBoxNameMessage = WM_APP + 0x42;

// The answer to a box's WM_GETOBJECT; 0 (the system's own answer) for any object but
// the client, or when no object can be made.
LRESULT CheckBoxAccessibleObject(HWND box, WPARAM wParam, LPARAM lParam);

// BM_SETCHECK for a subclassed box, announced to readers when the tick changes.
// Wine's button announces no tick at all; where the system announces its own, a
// reader that gets the same state twice has nothing new to say.
LRESULT SetCheckAnnounced(HWND box, WPARAM wParam, LPARAM lParam);

} // namespace vn
