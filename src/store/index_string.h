#pragma once
// Index strings name list positions of the note list: decimal numbers joined by
// "|" (0|3|4). They are cut like a record's name part; position p is selected
// when the decimal text of p, without leading zeros, equals an item exactly, so
// "03", " 3" or "+3" select nothing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

class IndexSelection {
public:
    explicit IndexSelection(std::u16string_view indexString);
    bool Selects(size_t position) const;
    // Selected positions below `count`, highest first: the order in which both
    // the saves and the deletion walk the note list.
    std::vector<size_t> PositionsDescending(size_t count) const;

private:
    std::vector<size_t> positions_; // sorted, unique
};

// The exact decimal text of a position, as index strings and body file names use it.
std::u16string DecimalText(size_t value);

// `DeleteJotlets`: for each selected position from the last down to 0, ask the
// note there to close, then take it out of the list at once, so the positions
// still to visit keep their meaning.
template <class List, class Close>
void DeleteJotlets(std::u16string_view indexString, List& list, Close close) {
    for (size_t p : IndexSelection(indexString).PositionsDescending(list.size())) {
        auto note = list[p];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(p));
        close(note);
    }
}

} // namespace vn
