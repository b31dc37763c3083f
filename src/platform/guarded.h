#pragma once
// Every call the system makes into the program (window procedures, timers, the
// mouse hook, enumeration callbacks) enters through Guarded: a C++ exception must
// never unwind through a system frame.
#include <exception>
#include <functional>
#include <utility>

namespace vn {

using ApplicationExceptionHandler = std::function<void(std::exception_ptr)>;

// Installs the application-wide handler; an empty handler drops everything.
void SetApplicationExceptionHandler(ApplicationExceptionHandler handler);

// Hands an exception to the application-wide handler. Never throws: a handler
// that throws itself is ignored.
void HandleApplicationException(std::exception_ptr error) noexcept;

// Runs f; an exception goes to the application-wide handler and `fallback` is returned.
template <class R, class F>
R Guarded(R fallback, F&& f) noexcept {
    try {
        return std::forward<F>(f)();
    } catch (...) {
        HandleApplicationException(std::current_exception());
        return fallback;
    }
}

template <class F>
void Guarded(F&& f) noexcept {
    try {
        std::forward<F>(f)();
    } catch (...) {
        HandleApplicationException(std::current_exception());
    }
}

} // namespace vn
