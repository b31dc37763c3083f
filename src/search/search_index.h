#pragma once
// The searchable text of every note, folded once, so that a keystroke filters
// thousands of notes without folding any of them again.
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
        std::u16string folded;  // caption \n owner \n text, folded
    };
    std::unordered_map<uint64_t, Entry> entries_;
};

} // namespace vn
