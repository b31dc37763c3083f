#pragma once
// Every note's searchable fields, folded once when they change, so that a keystroke
// in the search box only compares: the notes of 5,000 are filtered in a few
// milliseconds. A query that only grew (another letter, another word) looks only at
// the notes the previous one found, plus those set since.
//
// Not safe for use from several threads at once; Filter keeps what it found for the
// next query and so changes the index's cache.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/search_query.h"

namespace vn {

class SearchIndex {
public:
    SearchIndex();
    ~SearchIndex();

    // Adds the note under `key` or replaces what was there.
    void Set(uint64_t key, std::u16string_view caption, std::u16string_view owner, std::u16string_view text);
    void Remove(uint64_t key);
    void Clear();
    bool Contains(uint64_t key) const;
    size_t Size() const;

    // The keys of the notes the query matches, in the order they were first set
    // (a key set again after its removal goes to the end); every key for an
    // empty query.
    std::vector<uint64_t> Filter(const SearchQuery& query) const;

    // Memory the folded fields cost, with the index's own bookkeeping.
    size_t Bytes() const;
    // Bytes() over the notes held (0 when there are none).
    size_t BytesPerNote() const;

private:
    struct Entry {
        uint64_t key = 0;
        uint64_t order = 0;    // when the key was first set
        uint64_t version = 0;  // when it was last set
        std::string folded;    // FoldFieldsForSearch
    };
    struct LastFilter {
        SearchQuery query;
        uint64_t version;              // entries set after it are looked at again
        std::vector<uint32_t> found;   // slots
    };

    std::vector<uint64_t> Keys(std::vector<uint32_t> slots) const;

    std::vector<Entry> entries_;       // slots; a removed one is free for reuse
    std::vector<uint32_t> freeSlots_;
    std::unordered_map<uint64_t, uint32_t> slotOfKey_;
    uint64_t nextVersion_ = 1;
    uint64_t nextOrder_ = 1;
    mutable std::optional<LastFilter> last_;
};

} // namespace vn
