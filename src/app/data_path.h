#pragma once
// Composition of the data folder path. The local application-data folder comes
// from the system; the data folder is that folder, with a trailing backslash,
// followed by "Vantory Note\". When the system query fails the first part is empty
// and the data folder is the relative path "Vantory Note\".
#include <string>

namespace vn {

inline constexpr char16_t kDataFolderName[] = u"Vantory Note\\";

// The data folder below a local application-data folder as the system reported
// it (with or without a trailing backslash, or empty after a failed query).
std::u16string DataPathBelow(const std::u16string& localAppDataFolder);

} // namespace vn
