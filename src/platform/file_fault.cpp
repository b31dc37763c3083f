#include "platform/file_fault.h"

namespace vn {

FileFault FaultOfAccessDenied(const AccessProbe& probe) {
    if (probe.readOnlyAttribute) return FileFault::ReadOnly;
    if (probe.target == ProbeOpen::Denied || probe.folder == ProbeOpen::Denied) return FileFault::ReadOnly;
    // Nothing could be looked at: no ground for either answer.
    if (probe.target == ProbeOpen::Missing && probe.folder == ProbeOpen::Missing) return FileFault::Unknown;
    return FileFault::InUse;
}

} // namespace vn
