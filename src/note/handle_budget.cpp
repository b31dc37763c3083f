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
    Count(cost);
    return true;
}

bool HandleBudget::TakeNoteWindow() {
    const bool fits = Take(kNoteWindowCost);
    if (fits) {
        shortage_ = false;
    } else if (!shortage_) {
        shortage_ = true;
        shortageTold_ = false;
    }
    return fits;
}

bool HandleBudget::ShortageToTell() noexcept {
    if (!shortage_ || shortageTold_) return false;
    shortageTold_ = true;
    return true;
}

void HandleBudget::Count(GuiObjects cost) noexcept {
    taken_.user += cost.user;
    taken_.gdi += cost.gdi;
}

void HandleBudget::Give(GuiObjects cost) noexcept {
    taken_.user = std::max(0, taken_.user - cost.user);
    taken_.gdi = std::max(0, taken_.gdi - cost.gdi);
}

} // namespace vn::note
