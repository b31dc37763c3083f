#include "attach/stacking_order_win.h"

#include "platform/guarded.h"

namespace vn {
namespace {

BOOL CALLBACK Collect(HWND window, LPARAM data) noexcept {
    auto& position = *reinterpret_cast<std::unordered_map<HWND, size_t>*>(data);
    return Guarded(FALSE, [&] {
        position.emplace(window, position.size());
        return TRUE;
    });
}

} // namespace

bool StackingOrder::IsAbove(HWND upper, HWND lower) {
    const std::uint64_t now = GetTickCount64();
    if (!taken_ || now < takenAt_ || now - takenAt_ > maxAgeMs_) {
        position_.clear();
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&position_));
        takenAt_ = now;
        taken_ = true;
    }
    const auto u = position_.find(upper);
    const auto l = position_.find(lower);
    // A window the order does not know yet (made since) counts as not above: the
    // note is put above its target once more, which does no harm.
    return u != position_.end() && l != position_.end() && u->second < l->second;
}

} // namespace vn
