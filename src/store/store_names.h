#pragma once
// The names of the data folder's store files, defined once for the program.
#include <string_view>

namespace vn {

inline constexpr std::u16string_view kStoreFolderName = u"Information";   // the store
inline constexpr std::u16string_view kTempExportFolderName = u"Temp Export"; // exchange scratch folder
inline constexpr std::u16string_view kIndexFileName = u"Jotlets.txt";

} // namespace vn
