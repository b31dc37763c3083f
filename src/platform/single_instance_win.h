#pragma once
// The single-instance guard: a named mutex that is never owned or waited on; only
// its existence is tested. The operating system closes the handle when the process
// ends, however it ends, so a crashed instance never blocks the next start.
#include <windows.h>

#include "platform/unique_handle_win.h"

namespace vn {

class SingleInstanceGuard {
public:
    // Opens the mutex `name` (MUTEX_MODIFY_STATE); if that fails for any reason,
    // creates it (not owned). A creation that reports an already existing mutex
    // means another instance got there between the two calls: it counts as running.
    explicit SingleInstanceGuard(const wchar_t* name);

    bool AnotherInstanceRuns() const noexcept { return anotherInstanceRuns_; }
    // True while this process keeps a handle to the mutex (a failed creation leaves none).
    bool Holds() const noexcept { return static_cast<bool>(handle_); }
    // Closes the handle; a new start proceeds once no process holds one.
    void Release() noexcept { handle_.reset(); }

private:
    UniqueKernelHandle handle_;
    bool anotherInstanceRuns_ = false;
};

} // namespace vn
