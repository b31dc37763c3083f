#include "platform/mouse_hook_win.h"

#include "platform/guarded.h"

namespace vn {

HHOOK MouseHookHandle = nullptr;

namespace {
MouseHookListener& Listener() {
    static MouseHookListener listener;
    return listener;
}
} // namespace

void SetMouseHookListener(MouseHookListener listener) { Listener() = std::move(listener); }

bool InstallMouseHook() {
    if (!MouseHookHandle) MouseHookHandle = SetWindowsHookExW(WH_MOUSE_LL, &MouseHookProc, GetModuleHandleW(nullptr), 0);
    return MouseHookHandle != nullptr;
}

void RemoveMouseHook() noexcept {
    if (MouseHookHandle) UnhookWindowsHookEx(MouseHookHandle);
    MouseHookHandle = nullptr;
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data) noexcept {
    LRESULT result = CallNextHookEx(MouseHookHandle, code, message, data);
    if (code == HC_ACTION && data) {
        Guarded([&] {
            if (Listener()) Listener()(static_cast<UINT>(message), *reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
        });
    }
    return result;
}

} // namespace vn
