#pragma once
// The system's reports of changes to other programs' windows (window events), as
// far as they can change a tracking tick's answer: a window made, destroyed,
// shown, hidden, retitled, minimised or restored. Each report about a top-level
// window itself counts as a change of that window (WindowChanges), so the next
// tick of its note asks at once instead of waiting for the sweep.
//
// Windows reports these for every program's windows; Wine reports only the
// creation of another program's windows (and focus changes, which the look
// already sees), so there the look and the sweep remain the only way.
#include <cstdint>
#include <functional>

#include "attach/window_changes.h"

namespace vn {

// Event numbers as the system defines them (winuser.h).
inline constexpr std::uint32_t kEventObjectCreate = 0x8000;
inline constexpr std::uint32_t kEventObjectDestroy = 0x8001;
inline constexpr std::uint32_t kEventObjectShow = 0x8002;
inline constexpr std::uint32_t kEventObjectHide = 0x8003;
inline constexpr std::uint32_t kEventObjectNameChange = 0x800C;
inline constexpr std::uint32_t kEventSystemMinimizeStart = 0x0016;
inline constexpr std::uint32_t kEventSystemMinimizeEnd = 0x0017;
// The report is about the window itself, not a part of it (OBJID_WINDOW, CHILDID_SELF).
inline constexpr std::int32_t kObjectWindow = 0;
inline constexpr std::int32_t kChildSelf = 0;

struct WindowEventRange {
    std::uint32_t first;
    std::uint32_t last;
};

// The events asked for, in as few ranges as leave out the busy ones between them
// (the pointer's and the caret's moves, focus and selection).
inline constexpr WindowEventRange kTrackedWindowEvents[] = {
    {kEventObjectCreate, kEventObjectHide},
    {kEventObjectNameChange, kEventObjectNameChange},
    {kEventSystemMinimizeStart, kEventSystemMinimizeEnd},
};

// Where a reported window stands by the time the report arrives: the system
// delivers the reports of other programs later, when this thread takes its
// messages, so the window may be gone. Own: one of the program's own windows,
// which Wine reports although the hook asks to leave them out.
enum class WindowStanding { TopLevel, Inner, Own, Gone };

// Passes one report on to `changes`. `standingOf` is asked only about a report
// of a tracked event about a window itself; a report about an inner window or
// one of the program's own is dropped, one about a window that is gone counts
// as its disappearance.
void TakeWindowEvent(WindowChanges& changes, std::uint32_t event, WindowId window, std::int32_t object,
                     std::int32_t child, const std::function<WindowStanding(WindowId)>& standingOf);

} // namespace vn
