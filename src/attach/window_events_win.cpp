#include "attach/window_events_win.h"

#include "attach/window_system_win.h"
#include "platform/guarded.h"

namespace vn {

static_assert(kEventObjectCreate == EVENT_OBJECT_CREATE && kEventObjectDestroy == EVENT_OBJECT_DESTROY &&
              kEventObjectShow == EVENT_OBJECT_SHOW && kEventObjectHide == EVENT_OBJECT_HIDE &&
              kEventObjectNameChange == EVENT_OBJECT_NAMECHANGE &&
              kEventSystemMinimizeStart == EVENT_SYSTEM_MINIMIZESTART &&
              kEventSystemMinimizeEnd == EVENT_SYSTEM_MINIMIZEEND);
static_assert(kObjectWindow == OBJID_WINDOW && kChildSelf == CHILDID_SELF);

namespace {
// The system hands the procedure no context of its own; out-of-context reports
// arrive on the installing thread, so this thread's object is where they go.
thread_local WindowEvents* installedEvents = nullptr;
} // namespace

WindowStanding StandingOfWindow(WindowId window) {
    const HWND h = ToHwnd(window);
    if (!IsWindow(h)) return WindowStanding::Gone;
    DWORD process = 0;
    GetWindowThreadProcessId(h, &process);
    if (process == GetCurrentProcessId()) return WindowStanding::Own;
    return GetAncestor(h, GA_PARENT) == GetDesktopWindow() ? WindowStanding::TopLevel : WindowStanding::Inner;
}

WindowEvents::WindowEvents(WindowChanges& changes) : changes_(changes) {
    if (installedEvents) return;  // one per thread: the procedure finds only one
    bool any = false;
    for (size_t i = 0; i < hooks_.size(); ++i) {
        hooks_[i].reset(SetWinEventHook(kTrackedWindowEvents[i].first, kTrackedWindowEvents[i].last, nullptr,
                                        &WindowEventProc, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
        any = any || static_cast<bool>(hooks_[i]);
    }
    if (any) installedEvents = this;
}

WindowEvents::~WindowEvents() {
    if (installedEvents == this) installedEvents = nullptr;
}

bool WindowEvents::Installed() const noexcept {
    for (const auto& hook : hooks_)
        if (!hook) return false;
    return true;
}

bool WindowEvents::Owns(HWINEVENTHOOK hook) const noexcept {
    for (const auto& mine : hooks_)
        if (mine && mine.get() == hook) return true;
    return false;
}

void CALLBACK WindowEvents::WindowEventProc(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                            DWORD, DWORD) noexcept {
    WindowEvents* events = installedEvents;
    // A report the system queued for a hook that is gone by now is dropped.
    if (!events || !events->Owns(hook)) return;
    Guarded([&] { TakeWindowEvent(events->changes_, event, ToWindowId(window), object, child, &StandingOfWindow); });
}

} // namespace vn
