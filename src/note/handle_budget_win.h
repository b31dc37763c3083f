#pragma once
// The system's side of the handle budget: the process's quotas and its counts.
#include "note/handle_budget.h"

namespace vn {

// The per-process quotas as this system sets them (the registry's
// GDIProcessHandleQuota and USERProcessHandleQuota), or the defaults.
note::GuiObjects SystemGuiQuota();
// GetGuiResources for this process: zeros where the system does not count.
note::GuiObjects SystemGuiObjects();

} // namespace vn
