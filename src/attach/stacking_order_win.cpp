#include "attach/stacking_order_win.h"

#include "platform/guarded.h"

namespace vn {
namespace {

BOOL CALLBACK Collect(HWND window, LPARAM data) noexcept {
    auto& order = *reinterpret_cast<std::vector<HWND>*>(data);
    return Guarded(FALSE, [&] {
        order.push_back(window);
        return TRUE;
    });
}

} // namespace

void StackingOrder::Renew() {
    const std::uint64_t now = GetTickCount64();
    if (!taken_ || now < takenAt_ || now - takenAt_ > maxAgeMs_) {
        order_.clear();
        position_.clear();
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&order_));
        for (size_t i = 0; i < order_.size(); ++i) position_.emplace(order_[i], i);
        takenAt_ = now;
        taken_ = true;
    }
}

bool StackingOrder::Has(HWND window) {
    Renew();
    return position_.contains(window);
}

const std::vector<HWND>& StackingOrder::Windows() {
    Renew();
    return order_;
}

bool StackingOrder::IsAbove(HWND upper, HWND lower) {
    Renew();
    const auto u = position_.find(upper);
    const auto l = position_.find(lower);
    // A window the order does not know yet (made since) counts as not above: the
    // note is put above its target once more, which does no harm.
    return u != position_.end() && l != position_.end() && u->second < l->second;
}

} // namespace vn
