#include "app/note_search_texts.h"

#include "search/note_text.h"

namespace vn {

uint64_t NoteSearchTexts::KeyOf(const Jotlet& note) {
    auto [at, added] = keys_.try_emplace(&note, nextKey_);
    if (added) {
        notes_.emplace(nextKey_, Known{const_cast<Jotlet*>(&note), {}});
        ++nextKey_;
    }
    return at->second;
}

Jotlet* NoteSearchTexts::NoteOf(uint64_t key) const {
    auto at = notes_.find(key);
    return at == notes_.end() ? nullptr : at->second.note;
}

void NoteSearchTexts::Changed(Jotlet& note) {
    const uint64_t key = KeyOf(note);
    if (pending_.insert(key).second) queue_.push_back(key);
}

void NoteSearchTexts::Forget(const Jotlet& note) {
    auto at = keys_.find(&note);
    if (at == keys_.end()) return;
    const uint64_t key = at->second;
    keys_.erase(at);
    notes_.erase(key);
    pending_.erase(key);
    index_.Remove(key);
    // The queue drops the key when it comes to it.
}

size_t NoteSearchTexts::ReadPending(const std::function<bool()>& more, const std::function<void(uint64_t key)>& read) {
    size_t count = 0;
    while (!queue_.empty() && more()) {
        const uint64_t key = queue_.front();
        queue_.pop_front();
        if (!pending_.erase(key)) continue;  // forgotten meanwhile
        Known& known = notes_.at(key);
        StoreNote& stored = known.note->Stored();
        try {
            known.text = std::make_shared<const std::u16string>(NoteTextFromBody(stored.SaveBody(), codePage_));
        } catch (const std::exception&) {
            // The body could not be read now (no control could be made): the old text stays.
        }
        index_.Set(key, stored.ExeName() + u" - " + stored.Caption(), stored.OwnerLabel(),
                   known.text ? std::u16string_view(*known.text) : std::u16string_view());
        ++count;
        if (read) read(key);
    }
    return count;
}

SharedText NoteSearchTexts::Text(uint64_t key) const {
    auto at = notes_.find(key);
    return at == notes_.end() ? nullptr : at->second.text;
}

size_t NoteSearchTexts::BytesPerNote() const {
    if (notes_.empty()) return 0;
    size_t bytes = 0;
    for (const auto& [key, known] : notes_) bytes += sizeof(key) + sizeof(known) + (known.text ? sizeof(*known.text) + known.text->capacity() * 2 : 0);
    // The two maps' nodes: a key, a pointer and the bucket, roughly.
    bytes += notes_.size() * 4 * sizeof(void*);
    return bytes / notes_.size() + index_.BytesPerNote();
}

} // namespace vn
