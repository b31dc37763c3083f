#pragma once
// One deleted note as the All Notes window lists it in its recycle-bin mode.
#include <cstdint>
#include <string>

namespace vn {

struct BinRow {
    std::u16string caption;      // as on the note: "exe - window caption"
    std::u16string owner;        // the owner label
    std::u16string timeLabel;    // when the note was made, as on the note
    std::u16string text;         // the text the note shows
    std::u16string deletedLabel; // when it was deleted, local time in the user's format
    uint64_t id = 0;             // the bin entry (RecycleBin)
};

} // namespace vn
