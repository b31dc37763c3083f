#pragma once
// An imported record: one line of an unpacked archive's index file, read once when
// the import dialog lists it. The dialog shows its labels and decides by it whether
// the row can make a note; picking carries it to the captured window, whose new
// note is filled from it (ExchangeFolder::FillStickyNote) without reading it again.
#include <optional>
#include <string>
#include <string_view>

namespace vn {

struct ImportRecord {
    std::u16string valuePart;                // as the line holds it: the text picking carries
    std::u16string ownerLabel, timeLabel;    // items 0 and 1, or empty
    std::optional<std::u16string> bodyField; // item 2 as written, when the record has one
    std::u16string checkStates;              // item 3, or empty: nothing pending
};

// A whole index line, read as the store reads its own lines (a caption holding "="
// or "|" stays whole). A line without "=" has no value part and no items.
ImportRecord ReadImportLine(std::u16string_view line);
// A value part on its own (InfoString), as picking is handed one.
ImportRecord ReadImportValuePart(std::u16string_view valuePart);

// The record's body file when it lies directly in the exchange folder ("Temp
// Export\<name>"): only such a body is ever read for an import.
std::optional<std::u16string> ImportBodyFile(const ImportRecord& record);

} // namespace vn
