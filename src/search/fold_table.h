#pragma once
// The folding table of search (generated into fold_table.cpp by
// scripts/make_text_tables.py). A character below U+10000 is looked up as
// kBlocks[kPages[c >> 8]][c & 0xFF]:
//   0                      the character stays as it is;
//   kExpansion + i         it becomes kExpansions[i] (two or three units, 0-ended);
//   kCombiningMark         a combining mark: dropped after a Latin letter;
//   anything else          the one unit it becomes.
// ASCII is not in the table: its letters fold to lower case in the code.
#include <cstddef>
#include <cstdint>

namespace vn::fold {

inline constexpr uint16_t kExpansion = 0xD800;
inline constexpr uint16_t kCombiningMark = 0xDC00;

struct SupplementaryRun {
    char32_t first, last;
    int32_t offset;
};

extern const uint8_t kPages[256];
extern const uint16_t kBlocks[][256];
extern const char16_t kExpansions[][4];
extern const SupplementaryRun kSupplementary[];
extern const size_t kSupplementaryRuns;

} // namespace vn::fold
