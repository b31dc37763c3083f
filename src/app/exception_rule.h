#pragma once
// What the application-wide exception handler makes of an exception. One failure
// is expected and explained to the user: a note window the system refused to
// create as an owned window of a target with higher rights. Its message is the
// exception class name, which may come in any letter case or inside a longer text
// (a wrapper may have prefixed it). Everything else is dropped silently.
#include <exception>
#include <string>
#include <string_view>

namespace vn {

inline constexpr std::string_view kAccessDeniedExceptionName = "TSNCreateWindowHandleAccessDeniedException";

// True when `message` contains the access-denied class name, ignoring the case of A-Z.
bool IsAccessDeniedMessage(std::string_view message) noexcept;

// The message of an exception: what() of a std::exception, empty for anything else.
std::string ExceptionMessage(std::exception_ptr error) noexcept;

} // namespace vn
