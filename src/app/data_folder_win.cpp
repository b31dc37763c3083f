#include "app/data_folder_win.h"

#include "app/data_path.h"
#include "platform/known_folder_win.h"

namespace vn {

// The data folder itself is not created here: it comes into being with the first
// of its subfolders.
std::u16string GetLocalDataPath() { return DataPathBelow(GetLocalAppDataFolder()); }

} // namespace vn
