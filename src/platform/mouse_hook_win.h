#pragma once
// The system-wide low-level mouse hook. The system calls it on the installing
// thread while that thread waits for messages, for every mouse event on the
// desktop, so the listener must be quick and must never block.
#include <windows.h>

#include <functional>

namespace vn {

// The handle of the installed hook, or null.
extern HHOOK MouseHookHandle;

// Receives the mouse message of each event (WM_LBUTTONUP, WM_MOUSEMOVE, ...) and
// its data, after the event has been passed on to the next hook.
using MouseHookListener = std::function<void(UINT message, const MSLLHOOKSTRUCT& event)>;
void SetMouseHookListener(MouseHookListener listener);

// SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, own module, 0); the result is
// kept in MouseHookHandle. Returns false when the system refused.
bool InstallMouseHook();
// UnhookWindowsHookEx and MouseHookHandle := null.
void RemoveMouseHook() noexcept;

// Calls the next hook first, whatever the code, then the listener inside the
// guarded trampoline, and returns the next hook's result: no event is swallowed.
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data) noexcept;

} // namespace vn
