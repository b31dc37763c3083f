#pragma once
// The per-user folders the program keeps its data in.
#include <string>

namespace vn {

// The local application-data folder (CSIDL_LOCAL_APPDATA) with a trailing
// backslash, created with all missing levels; empty when the system cannot name it.
std::u16string GetLocalAppDataFolder();

// The user's Documents folder with a trailing backslash, created when missing;
// empty when there is none.
std::u16string GetDocumentsFolder();

// Creates `folder` and every missing folder above it. True when it exists afterwards.
bool CreateFolderTree(const std::u16string& folder);

} // namespace vn
