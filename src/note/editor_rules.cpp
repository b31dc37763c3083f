#include "note/editor_rules.h"

#include <algorithm>

namespace vn::note {
namespace {

constexpr unsigned kSpecialKeys[] = {kKeyShift, kKeyControl, kKeyAlt, kKeyLeft, kKeyUp, kKeyRight, kKeyDown};
// Ctrl combinations whose release still refreshes: they change the lines.
constexpr unsigned kRefreshingCtrlKeys[] = {kKeyV, kKeyX};

template <size_t N>
bool In(const unsigned (&table)[N], unsigned key) {
    return std::find(std::begin(table), std::end(table), key) != std::end(table);
}

} // namespace

bool KeyReleaseRefreshesChecklist(unsigned key, KeyModifiers modifiers) {
    const bool special = modifiers.alt || modifiers.ctrl || In(kSpecialKeys, key);
    if (!special) return true;
    return modifiers.ctrl && In(kRefreshingCtrlKeys, key);
}

int WheelNotches::Add(int delta) {
    if ((rest_ > 0 && delta < 0) || (rest_ < 0 && delta > 0)) rest_ = 0;
    const long long sum = static_cast<long long>(rest_) + delta;
    const long long notches = sum / kWheelNotch;  // towards zero, the rest keeps its sign
    rest_ = static_cast<int>(sum - notches * kWheelNotch);
    return static_cast<int>(notches);
}

int WheelScrollPosition(int position, int notches, int contentHeight, int visibleHeight, int dpi) {
    const long long wanted =
        static_cast<long long>(position) - static_cast<long long>(notches) * ScaleForDpi(kWheelScrollPixels, dpi);
    const long long limit = std::max(0, contentHeight - visibleHeight);
    return static_cast<int>(std::clamp<long long>(wanted, 0, limit));
}

Point FontDialogPosition(Rect workArea, Size dialog) {
    const int freeWidth = std::max(0, workArea.width - dialog.width);
    const int freeHeight = std::max(0, workArea.height - dialog.height);
    return {workArea.left + freeWidth / 2, workArea.top + freeHeight / 3};
}

} // namespace vn::note
