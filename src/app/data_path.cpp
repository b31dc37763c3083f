#include "app/data_path.h"

#include "platform/folder_path.h"

namespace vn {

std::u16string DataPathBelow(const std::u16string& localAppDataFolder) {
    return WithTrailingBackslash(localAppDataFolder) + kDataFolderName;
}

} // namespace vn
