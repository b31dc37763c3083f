#pragma once
// Entry names of archives from elsewhere, reduced to a safe relative path.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

struct ZipEntryPath {
    std::vector<std::u16string> components;  // never "." or ".."; empty only for a folder entry of
                                             // the target folder itself ("./", as bsdtar writes)
    bool isFolder = false;                   // the name ended in a separator
};

// The path components of an entry name, or nothing when the name could land
// outside the target folder or is not a valid file name on Windows. The rule is
// the same on every platform, so an archive behaves alike wherever it is opened.
// Both "/" and "\" separate components: older Windows tools write backslashes.
std::optional<ZipEntryPath> ZipCleanEntryName(std::u16string_view name);

} // namespace vn
