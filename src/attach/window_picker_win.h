#pragma once
// The low-level mouse hook's body for picking. The controller's hook procedure is
//   LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data) {
//       return ForwardMouseHook(MouseHookHandle, code, message, data, picker);
//   }
#include <windows.h>

#include "attach/window_picker.h"

namespace vn {

// Calls the next hook first, whatever the code, then lets the picker see the event
// (inside the guarded trampoline); returns the next hook's result, so no event is
// ever swallowed.
LRESULT ForwardMouseHook(HHOOK hook, int code, WPARAM message, LPARAM data, WindowPicker& picker) noexcept;

} // namespace vn
