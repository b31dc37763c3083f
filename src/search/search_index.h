#pragma once
// The searchable text of every note, folded once, so that a keystroke filters
// thousands of notes without folding any of them again. Text that folds to Latin-1
// is kept one byte a character (half the memory, and the byte search is faster).
// A query that only narrows the last one (a word grown or added) is answered from
// the last result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/search_query.h"

namespace vn {

class SearchIndex {
public:
    void Set(uint64_t key, std::u16string_view caption, std::u16string_view owner, std::u16string_view text);
    void Remove(uint64_t key);
    // The keys of the entries matching `query`, in ascending key order; every key
    // for an empty query.
    std::vector<uint64_t> Filter(const SearchQuery& query) const;
    size_t size() const noexcept { return entries_.size(); }
    // Bytes the index holds for its entries, on average per entry.
    size_t BytesPerNote() const;

private:
    struct Entry {
        std::string narrow;   // the folded text, when every character is below 256
        std::u16string wide;  // otherwise
        bool Contains(const std::u16string& word, const std::string& narrowWord, bool wordIsNarrow) const;
    };
    const std::vector<uint64_t>& SortedKeys() const;

    std::unordered_map<uint64_t, Entry> entries_;
    uint64_t generation_ = 0;  // counts the changes
    mutable std::vector<uint64_t> sortedKeys_;
    mutable uint64_t sortedAt_ = ~uint64_t{0};
    mutable std::vector<std::u16string> lastWords_;
    mutable std::vector<uint64_t> lastKeys_;
    mutable uint64_t lastAt_ = ~uint64_t{0};
};

} // namespace vn
