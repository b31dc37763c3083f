#include "attach/window_events.h"

namespace vn {

void TakeWindowEvent(WindowChanges& changes, std::uint32_t event, WindowId window, std::int32_t object,
                     std::int32_t child, const std::function<WindowStanding(WindowId)>& standingOf) {
    if (window == kNoWindow || object != kObjectWindow || child != kChildSelf) return;
    bool tracked = false;
    for (const WindowEventRange& range : kTrackedWindowEvents)
        tracked = tracked || (event >= range.first && event <= range.last);
    if (!tracked) return;
    switch (standingOf(window)) {
    case WindowStanding::TopLevel: changes.WindowChanged(window); break;
    case WindowStanding::Gone: changes.WindowGone(window); break;
    case WindowStanding::Inner:
    case WindowStanding::Own: break;
    }
}

} // namespace vn
