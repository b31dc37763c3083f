#pragma once
// The Windows file system's one routine of its own (PlatformFileSystem in
// file_system.h is the rest).
#include <string>

namespace vn {

// DeleteDirectory: SHFileOperationW(FO_DELETE) of the folder (no trailing
// backslash), silently and for good; the result is ignored, so a missing folder
// is no error and whatever cannot be deleted stays.
void DeleteDirectory(const std::u16string& path);

} // namespace vn
