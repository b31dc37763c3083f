#include "platform/folder_path.h"

namespace vn {
namespace {
bool IsSeparator(char16_t c) noexcept { return c == u'\\' || c == u'/'; }

// Length of the part of `path` that names a root and cannot be created:
// "C:" or "C:\", "\\server\share", "\\?\C:\", or a leading "\" of a rooted path.
std::u16string::size_type RootLength(const std::u16string& path) {
    using size_type = std::u16string::size_type;
    if (path.size() >= 4 && path.compare(0, 4, u"\\\\?\\") == 0) {
        size_type rest = RootLength(path.substr(4));
        return 4 + rest;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share: two segments after the leading pair.
        size_type i = 2;
        for (int segment = 0; segment < 2; ++segment) {
            while (i < path.size() && !IsSeparator(path[i])) ++i;
            if (segment == 0 && i < path.size()) ++i;
        }
        return i;
    }
    if (path.size() >= 2 && path[1] == u':') return (path.size() >= 3 && IsSeparator(path[2])) ? 3 : 2;
    if (!path.empty() && IsSeparator(path[0])) return 1;
    return 0;
}
} // namespace

std::u16string WithTrailingBackslash(std::u16string folder) {
    if (!folder.empty() && folder.back() != u'\\') folder.push_back(u'\\');
    return folder;
}

std::vector<std::u16string> FolderLevels(const std::u16string& folder) {
    std::vector<std::u16string> levels;
    auto i = RootLength(folder);
    while (i < folder.size()) {
        while (i < folder.size() && IsSeparator(folder[i])) ++i;
        if (i >= folder.size()) break;
        while (i < folder.size() && !IsSeparator(folder[i])) ++i;
        levels.push_back(folder.substr(0, i));
    }
    return levels;
}

} // namespace vn
