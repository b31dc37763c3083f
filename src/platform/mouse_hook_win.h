#pragma once
// The system-wide low-level mouse hook, installed for the life of this object. The
// system calls it on the installing thread while that thread waits for messages,
// for every mouse event on the desktop, so the listener must be quick and must
// never block.
#include <windows.h>

#include <functional>

#include "platform/unique_handle_win.h"

namespace vn {

class MouseHook {
public:
    // Receives the mouse message of each event (WM_LBUTTONUP, WM_MOUSEMOVE, ...) and
    // its data, after the event has been passed on to the next hook.
    using Listener = std::function<void(UINT message, const MSLLHOOKSTRUCT& event)>;

    // SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, own module, 0). One hook per
    // thread; when the system refuses, Installed() is false.
    explicit MouseHook(Listener listener);
    // UnhookWindowsHookEx.
    ~MouseHook();
    MouseHook(const MouseHook&) = delete;
    MouseHook& operator=(const MouseHook&) = delete;

    bool Installed() const noexcept { return static_cast<bool>(handle_); }

    // The hook procedure: calls the next hook first, whatever the code, then the
    // listener of this thread's hook inside the guarded trampoline, and returns the
    // next hook's result, so no event is swallowed.
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data) noexcept;

private:
    UniqueHook handle_;
    Listener listener_;
};

} // namespace vn
