#pragma once
// The shared title search over the real desktop: EnumWindows for the top-level
// windows, their titles as the system keeps them, the system's letter-case rule.
#include "attach/title_search.h"

namespace vn {

TitleSearch SystemTitleSearch(std::uint64_t maxAgeMs);

} // namespace vn
