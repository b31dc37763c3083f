#include "exchange/zip_files.h"

#include <filesystem>

#include "exchange/zip_text.h"
#include "platform/errors.h"

namespace vn {

namespace {

std::string Expanded(const std::u16string& path) {
    try {
        std::error_code ec;
        std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
        if (!ec) return ZipUtf8(absolute.u16string());
    } catch (const std::exception&) {
        // Not convertible on this platform: show it as given.
    }
    return ZipUtf8(path);
}

} // namespace

void RaiseCannotOpenFile(const std::u16string& path, const std::string& systemMessage) {
    throw Error("Cannot open file \"" + Expanded(path) + "\". " + systemMessage);
}

void RaiseCannotCreateFile(const std::u16string& path, const std::string& systemMessage) {
    throw Error("Cannot create file \"" + Expanded(path) + "\". " + systemMessage);
}

} // namespace vn
