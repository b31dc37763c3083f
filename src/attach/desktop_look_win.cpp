#include "attach/desktop_look_win.h"

#include <windows.h>

#include "attach/identity_win.h"
#include "attach/stacking_order_win.h"
#include "attach/title_search_win.h"
#include "attach/window_system_win.h"

namespace vn {

std::optional<WatchedWindowState> ReadWatchedWindowState(WindowId window) {
    const HWND h = ToHwnd(window);
    // One read of the style answers both the visibility of a top-level window and
    // its minimised state; a style of 0 with an error means the window is gone.
    SetLastError(ERROR_SUCCESS);
    const auto style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    if (style == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
    return WatchedWindowState{(style & WS_VISIBLE) != 0, (style & WS_MINIMIZE) != 0, ReadWindowText(h)};
}

void LookAtDesktop(WindowChanges& changes, StackingOrder& order) {
    order.Forget();
    std::vector<WindowId> topLevel;
    for (HWND h : order.Windows()) topLevel.push_back(ToWindowId(h));
    const HWND foreground = GetForegroundWindow();
    // A dialog of the person's program, or a note they type in, is owned by the
    // window whose note is to follow.
    const HWND owner = foreground ? GetAncestor(foreground, GA_ROOTOWNER) : nullptr;
    changes.Look(topLevel, {ToWindowId(foreground), owner != foreground ? ToWindowId(owner) : kNoWindow},
                 &ReadWatchedWindowState);
    if (changes.TitlesDue()) changes.LookAtTitles(ListTopLevelWindows());
}

} // namespace vn
