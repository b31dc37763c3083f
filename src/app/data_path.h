#pragma once
// Composition of the data folder path. The local application-data folder comes
// from the system; the data folder is that folder, with a trailing backslash,
// followed by "Vantory Note\". When the system query fails the first part is empty
// and the data folder is the relative path "Vantory Note\".
#include <string>
#include <vector>

namespace vn {

inline constexpr char16_t kDataFolderName[] = u"Vantory Note\\";

// Adds a trailing backslash unless the path already ends in one; empty stays empty.
std::u16string WithTrailingBackslash(std::u16string folder);

// The data folder below a local application-data folder as the system reported
// it (with or without a trailing backslash, or empty after a failed query).
std::u16string DataPathBelow(const std::u16string& localAppDataFolder);

// The folders to create, outermost first, so that `folder` exists afterwards:
// "C:\a\b\" gives "C:\a", "C:\a\b". A drive root ("C:\") or a share root
// ("\\server\share") is never listed, since it cannot be created; "/" counts as a
// separator; empty segments from doubled separators are skipped.
std::vector<std::u16string> FolderLevels(const std::u16string& folder);

} // namespace vn
