#include "platform/known_folder_win.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/folder_path.h"
#include "platform/text_win.h"

namespace vn {
namespace {
bool IsFolder(const std::u16string& path) {
    DWORD attributes = GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool CreateFolderTree(const std::u16string& folder) {
    for (const auto& level : FolderLevels(folder)) {
        // A level that already exists (or is being made by someone else) is fine.
        if (!CreateDirectoryW(W(level), nullptr) && !IsFolder(level)) return false;
    }
    return folder.empty() || IsFolder(folder);
}

std::u16string GetLocalAppDataFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};  // 261 units, as the query expects
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
        // The plain query also fails when the folder is merely missing (it checks that
        // the folder exists). Taking that for "no folder" would put the notes in the
        // current directory, so ask again for the path without the check and create it.
        buffer[0] = L'\0';
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                    SHGFP_TYPE_CURRENT, buffer)) ||
            buffer[0] == L'\0')
            return {};
    }
    std::u16string folder = WithTrailingBackslash(U16(buffer));
    CreateFolderTree(folder);
    return folder;
}

std::u16string GetDocumentsFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer)) ||
        buffer[0] == L'\0' || !IsFolder(U16(buffer)))
        return {};
    return WithTrailingBackslash(U16(buffer));
}

} // namespace vn
