#include "search/search_index.h"

#include <algorithm>

namespace vn {
namespace {

bool Narrow(std::u16string_view text, std::string& out) {
    out.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0xFF) return false;
        out[i] = static_cast<char>(text[i]);
    }
    return true;
}

// Every old word lies inside a new one: whatever matches now matched then.
bool Narrows(const std::vector<std::u16string>& now, const std::vector<std::u16string>& before) {
    return std::all_of(before.begin(), before.end(), [&](const std::u16string& old) {
        return std::any_of(now.begin(), now.end(), [&](const std::u16string& word) {
            return word.find(old) != std::u16string::npos;
        });
    });
}

} // namespace

bool SearchIndex::Entry::Contains(const std::u16string& word, const std::string& narrowWord, bool wordIsNarrow) const {
    if (wide.empty()) return wordIsNarrow && narrow.find(narrowWord) != std::string::npos;
    return wide.find(word) != std::u16string::npos;
}

void SearchIndex::Set(uint64_t key, std::u16string_view caption, std::u16string_view owner, std::u16string_view text) {
    std::u16string all;
    all.reserve(caption.size() + owner.size() + text.size() + 2);
    all.append(caption).append(1, u'\n').append(owner).append(1, u'\n').append(text);
    const std::u16string folded = FoldSearchText(all);
    Entry entry;
    if (!Narrow(folded, entry.narrow)) {
        entry.narrow.clear();
        entry.wide = folded;
    }
    entry.narrow.shrink_to_fit();
    entries_[key] = std::move(entry);
    ++generation_;
}

void SearchIndex::Remove(uint64_t key) {
    if (entries_.erase(key)) ++generation_;
}

const std::vector<uint64_t>& SearchIndex::SortedKeys() const {
    if (sortedAt_ != generation_) {
        sortedKeys_.clear();
        sortedKeys_.reserve(entries_.size());
        for (const auto& entry : entries_) sortedKeys_.push_back(entry.first);
        std::sort(sortedKeys_.begin(), sortedKeys_.end());
        sortedAt_ = generation_;
    }
    return sortedKeys_;
}

std::vector<uint64_t> SearchIndex::Filter(const SearchQuery& query) const {
    const std::vector<std::u16string>& words = query.Words();
    const bool narrowing = lastAt_ == generation_ && Narrows(words, lastWords_);
    const std::vector<uint64_t>& candidates = narrowing ? lastKeys_ : SortedKeys();
    std::vector<std::string> narrowWords(words.size());
    std::vector<char> wordIsNarrow(words.size());
    for (size_t i = 0; i < words.size(); ++i) wordIsNarrow[i] = Narrow(words[i], narrowWords[i]);
    std::vector<uint64_t> keys;
    keys.reserve(candidates.size());
    for (uint64_t key : candidates) {
        const Entry& entry = entries_.at(key);
        bool all = true;
        for (size_t i = 0; all && i < words.size(); ++i) all = entry.Contains(words[i], narrowWords[i], wordIsNarrow[i]);
        if (all) keys.push_back(key);
    }
    lastWords_ = words;
    lastKeys_ = keys;
    lastAt_ = generation_;
    return keys;
}

size_t SearchIndex::BytesPerNote() const {
    if (entries_.empty()) return 0;
    size_t bytes = 0;
    for (const auto& [key, entry] : entries_)
        bytes += sizeof(key) + sizeof(entry) + entry.narrow.capacity() + entry.wide.capacity() * 2;
    return bytes / entries_.size();
}

} // namespace vn
