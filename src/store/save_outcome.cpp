#include "store/save_outcome.h"

namespace vn {

SaveFailure ClassifySaveFailure(const std::exception& error) {
    if (dynamic_cast<const IndexUnreadableError*>(&error)) return SaveFailure::IndexUnreadable;
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        switch (file->Fault()) {
        case FileFault::InUse: return SaveFailure::InUse;
        case FileFault::DiskFull: return SaveFailure::DiskFull;
        case FileFault::ReadOnly: return SaveFailure::ReadOnly;
        case FileFault::Unknown: break;
        }
    }
    return SaveFailure::Other;
}

} // namespace vn
