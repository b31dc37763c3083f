#include "platform/file_system.h"

#include <filesystem>

#include "platform/errors.h"
#include "platform/text_codec.h"

namespace vn {

namespace {

std::string Expanded(const std::u16string& path) { return EncodeUtf8(AbsolutePath(path)); }

} // namespace

std::u16string AbsolutePath(const std::u16string& path) {
    try {
        std::error_code ec;
        std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
        if (!ec) return absolute.u16string();
    } catch (const std::exception&) {
        // Not convertible on this platform: keep it as given.
    }
    return path;
}

std::u16string ParentPath(std::u16string_view path) {
    size_t sep = path.find_last_of(u"\\/");
    return sep == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, sep));
}

void RaiseCannotOpenFile(const std::u16string& path, const std::string& systemMessage, FileFault fault) {
    throw FileError("Cannot open file \"" + Expanded(path) + "\". " + systemMessage, fault);
}

void RaiseCannotCreateFile(const std::u16string& path, const std::string& systemMessage, FileFault fault) {
    throw FileError("Cannot create file \"" + Expanded(path) + "\". " + systemMessage, fault);
}

} // namespace vn
