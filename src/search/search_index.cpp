#include "search/search_index.h"

#include <algorithm>

namespace vn {

void SearchIndex::Set(uint64_t key, std::u16string_view caption, std::u16string_view owner, std::u16string_view text) {
    std::u16string all;
    all.reserve(caption.size() + owner.size() + text.size() + 2);
    all.append(caption).append(1, u'\n').append(owner).append(1, u'\n').append(text);
    entries_[key].folded = FoldSearchText(all);
}

void SearchIndex::Remove(uint64_t key) { entries_.erase(key); }

std::vector<uint64_t> SearchIndex::Filter(const SearchQuery& query) const {
    std::vector<uint64_t> keys;
    keys.reserve(entries_.size());
    for (const auto& [key, entry] : entries_) {
        const auto& words = query.Words();
        if (std::all_of(words.begin(), words.end(), [&](const std::u16string& word) {
                return entry.folded.find(word) != std::u16string::npos;
            }))
            keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

size_t SearchIndex::BytesPerNote() const {
    if (entries_.empty()) return 0;
    size_t bytes = 0;
    for (const auto& [key, entry] : entries_) bytes += sizeof(key) + sizeof(entry) + entry.folded.capacity() * 2;
    return bytes / entries_.size();
}

} // namespace vn
