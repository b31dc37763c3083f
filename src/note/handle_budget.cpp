#include "note/handle_budget.h"

#include <algorithm>

namespace vn::note {

GuiObjects HandleBudget::Used() const {
    const GuiObjects system = systemCount_ ? systemCount_() : GuiObjects{};
    return {std::max(system.user, taken_.user), std::max(system.gdi, taken_.gdi)};
}

bool HandleBudget::Take(GuiObjects cost) {
    const GuiObjects used = Used();
    const bool fits = used.user + cost.user <= quota_.user - kReserve.user &&
                      used.gdi + cost.gdi <= quota_.gdi - kReserve.gdi;
    if (!fits) return false;
    taken_.user += cost.user;
    taken_.gdi += cost.gdi;
    return true;
}

void HandleBudget::Give(GuiObjects cost) noexcept {
    taken_.user = std::max(0, taken_.user - cost.user);
    taken_.gdi = std::max(0, taken_.gdi - cost.gdi);
}

} // namespace vn::note
