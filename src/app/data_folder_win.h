#pragma once
// The data folder: the user's local application-data folder followed by
// "Vantory Note\", always ending in a backslash. Every relative path in a stored
// record is resolved against it.
#include <string>

namespace vn {

std::u16string GetLocalDataPath();

} // namespace vn
