#include "app/exception_rule.h"

#include <algorithm>

namespace vn {
namespace {
char FoldAscii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

bool IsAccessDeniedMessage(std::string_view message) noexcept {
    auto it = std::search(message.begin(), message.end(), kAccessDeniedExceptionName.begin(),
                          kAccessDeniedExceptionName.end(),
                          [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
    return it != message.end();
}

std::string ExceptionMessage(std::exception_ptr error) noexcept {
    if (!error) return {};
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        try {
            return e.what();
        } catch (...) {
            return {};
        }
    } catch (...) {
        return {};
    }
}

} // namespace vn
