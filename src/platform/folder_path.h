#pragma once
// Windows folder paths as plain text: trailing separators and the levels a folder
// tree is made of. Portable, so the rules are tested natively.
#include <string>
#include <vector>

namespace vn {

// Adds a trailing backslash unless the path already ends in one; empty stays empty.
std::u16string WithTrailingBackslash(std::u16string folder);

// The folders to create, outermost first, so that `folder` exists afterwards:
// "C:\a\b\" gives "C:\a", "C:\a\b". A drive root ("C:\") or a share root
// ("\\server\share") is never listed, since it cannot be created; "/" counts as a
// separator; empty segments from doubled separators are skipped.
std::vector<std::u16string> FolderLevels(const std::u16string& folder);

} // namespace vn
