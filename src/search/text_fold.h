#pragma once
// What search compares: text folded so that case never matters, in every script
// that has it, and Latin letters lose their accents and strokes ("Übersicht" and
// "ubersicht", "Łódź" and "lodz", "Straße" and "strasse", "Æble" and "aeble").
// A table does the folding (fold_table.h), not the removal of marks: ł, ø, đ, ß
// and æ carry no mark to remove.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

std::u16string FoldForSearch(std::u16string_view text);

// The folded text with, for each of its units, the range of the original text it
// came from: a highlight found in the folded text is drawn on the original.
struct FoldedWithOrigins {
    std::u16string text;
    std::vector<uint32_t> begins; // per unit of text
    std::vector<uint32_t> ends;   // per unit of text; a dropped mark widens the unit before it
};
FoldedWithOrigins FoldWithOrigins(std::u16string_view text);

} // namespace vn
