#pragma once
// The system's window events about other programs' windows, heard for the life of
// this object and passed on to the tracking ticks' WindowChanges
// (attach/window_events.h says which).
//
// The hooks are out of context: the system queues each report and calls the
// procedure on the installing thread when that thread takes its messages (the
// program's message loop, or any modal loop), never in the middle of a tick. The
// program's own windows are left out (it knows what it does to them).
#include <windows.h>

#include <array>

#include "attach/window_events.h"
#include "platform/unique_handle_win.h"

namespace vn {

class WindowEvents {
public:
    // SetWinEventHook for each range of kTrackedWindowEvents. One per thread; when
    // the system refuses a range, Installed() is false (the ranges it took still
    // report).
    explicit WindowEvents(WindowChanges& changes);
    // UnhookWinEvent; on the installing thread, as the system requires.
    ~WindowEvents();
    WindowEvents(const WindowEvents&) = delete;
    WindowEvents& operator=(const WindowEvents&) = delete;

    bool Installed() const noexcept;

    // The hook procedure: passes the report to the WindowChanges of this thread's
    // object, inside the guarded trampoline; does nothing once the object is gone.
    static void CALLBACK WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                         DWORD thread, DWORD time) noexcept;

private:
    bool Owns(HWINEVENTHOOK hook) const noexcept;

    WindowChanges& changes_;
    std::array<UniqueWinEventHook, std::size(kTrackedWindowEvents)> hooks_;
};

// Where `window` stands now: gone, one of this program's own, top level (its
// parent is the desktop), or inside another window.
WindowStanding StandingOfWindow(WindowId window);

} // namespace vn
