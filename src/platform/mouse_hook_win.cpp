#include "platform/mouse_hook_win.h"

#include "platform/guarded.h"

namespace vn {

namespace {
// The system hands a hook procedure no context of its own. A low-level hook is
// called on the thread that installed it, so the installed object of this thread
// is how the procedure finds its listener.
thread_local MouseHook* installedHook = nullptr;
} // namespace

MouseHook::MouseHook(Listener listener) : listener_(std::move(listener)) {
    if (installedHook) return;  // one per thread: a second one would steal the first one's events
    handle_.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseHookProc, GetModuleHandleW(nullptr), 0));
    if (handle_) installedHook = this;
}

MouseHook::~MouseHook() {
    if (installedHook == this) installedHook = nullptr;
}

LRESULT CALLBACK MouseHook::MouseHookProc(int code, WPARAM message, LPARAM data) noexcept {
    // The hook handle argument of CallNextHookEx is ignored by the system.
    LRESULT result = CallNextHookEx(nullptr, code, message, data);
    MouseHook* hook = installedHook;
    if (code == HC_ACTION && data && hook && hook->listener_) {
        Guarded([&] { hook->listener_(static_cast<UINT>(message), *reinterpret_cast<const MSLLHOOKSTRUCT*>(data)); });
    }
    return result;
}

} // namespace vn
