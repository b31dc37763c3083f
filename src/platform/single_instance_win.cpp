#include "platform/single_instance_win.h"

namespace vn {

SingleInstanceGuard::SingleInstanceGuard(const wchar_t* name) {
    handle_.reset(OpenMutexW(MUTEX_MODIFY_STATE, FALSE, name));
    if (handle_) {
        anotherInstanceRuns_ = true;
        return;
    }
    SetLastError(ERROR_SUCCESS);
    handle_.reset(CreateMutexW(nullptr, FALSE, name));
    anotherInstanceRuns_ = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace vn
