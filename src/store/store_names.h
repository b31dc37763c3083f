#pragma once
// The names of the data folder's folders and of the index file, defined once for
// the program: the store (store/) and the exchange (exchange/) both use them.
#include <array>
#include <string_view>

namespace vn {

inline constexpr std::u16string_view kStoreFolderName = u"Information";       // the store
inline constexpr std::u16string_view kStagingFolderName = u"Information.new"; // the next store, while a save runs
inline constexpr std::u16string_view kBackupFolderName = u"Information.old";  // the previous store, while it is swapped
inline constexpr std::u16string_view kTempExportFolderName = u"Temp Export";  // the exchange folder
inline constexpr std::u16string_view kBinFolderName = u"Recycle Bin";         // deleted notes (recycle_bin.h)
inline constexpr std::u16string_view kIndexFileName = u"Jotlets.txt";

// Every folder the program keeps in the data folder. Whatever lies inside one of
// them may be replaced or deleted by the next save, export or import.
inline constexpr std::array<std::u16string_view, 5> kOwnFolderNames{
    kStoreFolderName, kStagingFolderName, kBackupFolderName, kTempExportFolderName, kBinFolderName};

} // namespace vn
