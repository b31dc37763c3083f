#include "platform/guarded.h"

namespace vn {
namespace {
ApplicationExceptionHandler& Handler() {
    static ApplicationExceptionHandler handler;
    return handler;
}
} // namespace

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler) {
    Handler() = std::move(handler);
}

void HandleApplicationException(std::exception_ptr error) noexcept {
    try {
        if (Handler()) Handler()(error);
    } catch (...) {
        // The handler is the last stop; nothing may escape it.
    }
}

} // namespace vn
