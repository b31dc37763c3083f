#pragma once
// The file an export writes: where it may go, and how it replaces an existing one.
#include <functional>
#include <string>
#include <string_view>

namespace vn {

class FileSystem;

// True when `target` (a full path) lies inside one of the data folder's own folders
// (kOwnFolderNames: the store, its staging and backup folders, the exchange folder):
// an archive there would be deleted or packed into itself by the program's next
// save, export or import.
bool IsDataFolderTarget(std::u16string_view target, std::u16string_view dataFolder);

// The temporary file next to `target` that an export writes first.
std::u16string PartialFileName(const std::u16string& target);

// Writes the archive with `write(path)` into a temporary file in the target's folder
// and replaces `target` with it only when writing succeeded. A failure removes the
// temporary file and goes on; the old target stays exactly as it was.
void ReplaceFileAtomically(FileSystem& files, const std::u16string& target,
                           const std::function<void(const std::u16string& path)>& write);

} // namespace vn
