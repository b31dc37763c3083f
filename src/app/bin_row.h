#pragma once
// One note in the recycle bin as the All Notes window lists it.
#include <cstdint>
#include <string>

namespace vn {

struct BinRow {
    std::u16string caption, owner, timeLabel, text, deletedLabel;
    uint64_t id = 0;
};

} // namespace vn
