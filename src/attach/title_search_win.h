#pragma once
// The shared title search over the real desktop: EnumWindows for the top-level
// windows, their titles as the system keeps them, the system's letter-case rule.
#include "attach/title_search.h"

namespace vn {

TitleSearch SystemTitleSearch(std::uint64_t maxAgeMs);

// Every top-level window in z-order, topmost first, with its title as the system
// keeps it.
std::vector<TopLevelWindow> ListTopLevelWindows();

} // namespace vn
