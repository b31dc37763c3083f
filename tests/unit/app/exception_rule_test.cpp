#include "app/exception_rule.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/errors.h"

namespace vn {
namespace {

TEST(ExceptionRule, RecognisesTheAccessDeniedClassNameInAnyCaseAndPosition) {
    struct Case {
        const char* message;
        bool expected;
    } cases[] = {
        {"TSNCreateWindowHandleAccessDeniedException", true},
        {"tsncreatewindowhandleaccessdeniedexception", true},
        {"TSNCREATEWINDOWHANDLEACCESSDENIEDEXCEPTION", true},
        {"Capture failed: TsnCreateWindowHandleAccessDeniedException (target)", true},
        {"xTSNCreateWindowHandleAccessDeniedExceptionx", true},
        {"TSNCreateWindowHandleAccessDeniedExceptio", false},  // cut one short
        {"TSNCreateWindowHandle AccessDeniedException", false},
        {"System Error.  Code: 5.\nAccess is denied", false},
        {"", false},
        // Only A-Z fold: a dotless capital I must not pass for "i".
        {"TSNCreateW\xc4\xb0ndowHandleAccessDeniedException", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAccessDeniedMessage(c.message), c.expected) << c.message;
}

TEST(ExceptionRule, MessageOfAnExceptionIsItsTextOrEmpty) {
    auto from = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            return ExceptionMessage(std::current_exception());
        }
    };
    EXPECT_EQ(from(TSNCreateWindowHandleAccessDeniedException()), "TSNCreateWindowHandleAccessDeniedException");
    EXPECT_EQ(from(OSError(5, "Access is denied.")), "System Error.  Code: 5.\nAccess is denied.");
    EXPECT_EQ(from(std::runtime_error("plain")), "plain");
    EXPECT_EQ(from(42), "");
    EXPECT_EQ(ExceptionMessage(nullptr), "");
}

} // namespace
} // namespace vn
