#pragma once
// The rows of the import dialog: one per line of the unpacked index file, in file
// order, with the cell texts and whether the row can make a note at all.
#include <string>
#include <string_view>
#include <vector>

namespace vn {

struct ImportRow {
    std::u16string title;      // the name part, as stored (executable "|" caption)
    std::u16string owner;      // item 0 of the value part, or empty
    std::u16string time;       // item 1 of the value part, or empty
    std::u16string valuePart;  // what "Stick to Window" hands to picking
    // The line has a value part with at least owner, time and a body path, and that
    // path names a file directly inside the Temp Export folder.
    bool canStick = false;
};

std::vector<ImportRow> ImportRowsOf(const std::vector<std::u16string>& lines);

// True when `bodyPath` (a record's body file, relative to the data folder) names a
// file directly inside `folder`: "folder\name" with a plain file name. Refused:
// other folders, "..", "." and empty names, roots, drives, device-style and
// alternate-stream names, forward slashes.
bool IsConfinedBodyPath(std::u16string_view bodyPath, std::u16string_view folder);

} // namespace vn
