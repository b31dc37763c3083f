#include "search/search_index.h"

#include <algorithm>

namespace vn {

SearchIndex::SearchIndex() = default;
SearchIndex::~SearchIndex() = default;

void SearchIndex::Set(uint64_t key, std::u16string_view caption, std::u16string_view owner,
                      std::u16string_view text) {
    std::string folded = FoldFieldsForSearch({caption, owner, text});
    folded.shrink_to_fit();
    auto found = slotOfKey_.find(key);
    if (found == slotOfKey_.end()) {
        uint32_t slot;
        if (freeSlots_.empty()) {
            slot = static_cast<uint32_t>(entries_.size());
            entries_.emplace_back();
        } else {
            slot = freeSlots_.back();
            freeSlots_.pop_back();
        }
        found = slotOfKey_.emplace(key, slot).first;
        entries_[slot].key = key;
        entries_[slot].order = nextOrder_++;
    }
    Entry& entry = entries_[found->second];
    entry.folded = std::move(folded);
    entry.version = nextVersion_++;
}

void SearchIndex::Remove(uint64_t key) {
    const auto found = slotOfKey_.find(key);
    if (found == slotOfKey_.end()) return;
    Entry& entry = entries_[found->second];
    entry = Entry();
    freeSlots_.push_back(found->second);
    slotOfKey_.erase(found);
}

void SearchIndex::Clear() {
    entries_.clear();
    freeSlots_.clear();
    slotOfKey_.clear();
    last_.reset();
}

bool SearchIndex::Contains(uint64_t key) const { return slotOfKey_.count(key) != 0; }

size_t SearchIndex::Size() const { return slotOfKey_.size(); }

std::vector<uint64_t> SearchIndex::Filter(const SearchQuery& query) const {
    std::vector<uint32_t> found;
    const bool narrow = last_ && query.Narrows(last_->query);
    auto look = [&](uint32_t slot) {
        const Entry& entry = entries_[slot];
        if (entry.version != 0 && query.MatchesFolded(entry.folded)) found.push_back(slot);
    };
    if (narrow) {
        // A slot set since the last filter may hold another note now: it is looked at
        // with the changed ones below, not as one of the earlier results.
        for (uint32_t slot : last_->found)
            if (slot < entries_.size() && entries_[slot].version <= last_->version) look(slot);
        for (uint32_t slot = 0; slot < entries_.size(); ++slot)
            if (entries_[slot].version > last_->version) look(slot);
    } else {
        for (uint32_t slot = 0; slot < entries_.size(); ++slot) look(slot);
    }
    std::vector<uint64_t> keys = Keys(found);
    last_.emplace(LastFilter{SearchQuery(query), nextVersion_ - 1, std::move(found)});
    return keys;
}

std::vector<uint64_t> SearchIndex::Keys(std::vector<uint32_t> slots) const {
    std::sort(slots.begin(), slots.end(),
              [&](uint32_t a, uint32_t b) { return entries_[a].order < entries_[b].order; });
    std::vector<uint64_t> keys;
    keys.reserve(slots.size());
    for (uint32_t slot : slots) keys.push_back(entries_[slot].key);
    return keys;
}

size_t SearchIndex::Bytes() const {
    // A node of the key map: the pair, the next pointer and the cached hash.
    constexpr size_t kMapNode = sizeof(std::pair<const uint64_t, uint32_t>) + 2 * sizeof(void*);
    size_t bytes = sizeof(*this) + entries_.capacity() * sizeof(Entry) + freeSlots_.capacity() * sizeof(uint32_t) +
                   slotOfKey_.size() * kMapNode + slotOfKey_.bucket_count() * sizeof(void*);
    // Short strings live inside the entry itself.
    const size_t inPlace = std::string().capacity();
    for (const Entry& entry : entries_)
        if (entry.folded.capacity() > inPlace) bytes += entry.folded.capacity() + 1;
    return bytes;
}

size_t SearchIndex::BytesPerNote() const { return Size() == 0 ? 0 : Bytes() / Size(); }

} // namespace vn
