#include "attach/window_picker_win.h"

#include "platform/guarded.h"

namespace vn {

LRESULT ForwardMouseHook(HHOOK hook, int code, WPARAM message, LPARAM data, WindowPicker& picker) noexcept {
    LRESULT result = CallNextHookEx(hook, code, message, data);
    // A negative code asks the hook to pass the event on without looking at it.
    if (code == HC_ACTION) Guarded([&] { picker.MouseHookEvent(static_cast<unsigned>(message)); });
    return result;
}

} // namespace vn
