#include "exchange/export_target.h"

#include <exception>

#include "platform/file_system.h"
#include "store/store_names.h"

namespace vn {

namespace {
// Paths compare without regard to the case of a to z, with "/" taken as "\".
char16_t Fold(char16_t c) {
    if (c == u'/') return u'\\';
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool StartsWithFolder(std::u16string_view path, std::u16string_view folder) {
    if (path.size() <= folder.size()) return false;
    for (size_t i = 0; i < folder.size(); ++i)
        if (Fold(path[i]) != Fold(folder[i])) return false;
    return Fold(path[folder.size()]) == u'\\';
}
} // namespace

bool IsDataFolderTarget(std::u16string_view target, std::u16string_view dataFolder) {
    std::u16string base(dataFolder);
    if (!base.empty() && Fold(base.back()) != u'\\') base += u'\\';
    for (std::u16string_view folder : kOwnFolderNames) {
        if (StartsWithFolder(target, base + std::u16string(folder))) return true;
    }
    return false;
}

std::u16string PartialFileName(const std::u16string& target) { return target + u".part"; }

void ReplaceFileAtomically(FileSystem& files, const std::u16string& target,
                           const std::function<void(const std::u16string& path)>& write) {
    const std::u16string partial = PartialFileName(target);
    try {
        write(partial);
        files.Rename(partial, target);
    } catch (...) {
        // The error is what the user's operation reports; a leftover part file is not.
        try {
            files.RemoveFile(partial);
        } catch (...) {
        }
        throw;
    }
}

} // namespace vn
