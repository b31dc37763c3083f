#pragma once
// What the person typed into a search box, and whether a note matches it: every
// word must occur in the caption, the owner or the text, ignoring letter case and
// the accents of Latin letters.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vn {

struct SearchFields {
    std::u16string_view caption, owner, text;
};

class SearchQuery {
public:
    explicit SearchQuery(std::u16string_view typed);

    bool Empty() const { return words_.empty(); }
    bool Matches(const SearchFields& fields) const;
    // The first line of `text` holding one of the words; empty when none does.
    std::u16string_view FirstMatchingLine(std::u16string_view text) const;
    // Every place of `text` where a word matches: [begin, end) in UTF-16 units.
    std::vector<std::pair<size_t, size_t>> Highlights(std::u16string_view text) const;
    // The folded words, in the order typed.
    const std::vector<std::u16string>& Words() const noexcept { return words_; }

private:
    std::vector<std::u16string> words_;
};

// One UTF-16 unit folded for matching: lower case, Latin accents taken off
// (letters such as ß or æ fold to their own unit here and match as such).
char16_t FoldSearchUnit(char16_t c);
// A whole text folded unit by unit: positions stay those of the original.
std::u16string FoldSearchText(std::u16string_view text);

} // namespace vn
