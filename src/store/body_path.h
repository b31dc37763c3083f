#pragma once
// Where a record's body file may be: a file directly in one folder of the data
// folder. The store load takes bodies only from "Information\", an import only
// from "Temp Export\"; any other body field is never read, so a record cannot
// pull an arbitrary file the user can read into a note (and from there into
// saves and exports).
#include <optional>
#include <string>
#include <string_view>

namespace vn {

// The file name in `field` when the field is `folderName`, one "\" and a plain
// file name: "Information\3.txt" gives "3.txt". Nothing for paths that climb
// (".."), are absolute, carry a drive or a UNC prefix, go into a subfolder or an
// alternate data stream (":"), use "/", end in a dot or a space, hold characters
// Windows refuses in names, or name a device (CON, NUL.txt, COM1 ...).
// Folder names compare without regard to ASCII letter case, as Windows does.
std::optional<std::u16string> BodyFileInFolder(std::u16string_view field, std::u16string_view folderName);

// A file name as Windows compares it: ASCII letters in lower case.
std::u16string FoldedFileName(std::u16string name);

} // namespace vn
