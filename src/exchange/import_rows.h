#pragma once
// The rows of the import dialog: one per line of the unpacked index file, in file
// order, with the record each line holds and whether the row can make a note at all.
#include <string>
#include <vector>

#include "exchange/import_record.h"

namespace vn {

struct ImportRow {
    std::u16string title; // the name part, as stored (executable "|" caption)
    ImportRecord record;  // what "Stick to Window" hands to picking; its labels are the other cells
    // The line has a value part with at least owner, time and a body path, and that
    // path names a file directly inside the Temp Export folder.
    bool canStick = false;
};

std::vector<ImportRow> ImportRowsOf(const std::vector<std::u16string>& lines);

} // namespace vn
