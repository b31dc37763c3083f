#pragma once
// The search text of every listed note, kept up to date: read from the note's body
// once after start-up (a little at a time, while the program has nothing else to do)
// and again after every change of it, and fed to the search index. Each note gets a
// key of its own for as long as it lives, which the All Notes window names it by.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "app/all_notes_rows.h"
#include "note/jotlet.h"
#include "platform/text_codec.h"
#include "search/search_index.h"

namespace vn {

class NoteSearchTexts {
public:
    explicit NoteSearchTexts(const CodePage& codePage) : codePage_(codePage) {}

    // The note's key, given the first time it is asked for.
    uint64_t KeyOf(const Jotlet& note);
    // The note with that key, while it is known; null otherwise.
    Jotlet* NoteOf(uint64_t key) const;
    // The note's text (or its caption or owner) is to be read again.
    void Changed(Jotlet& note);
    // The note is gone: its key, text and index entry go with it.
    void Forget(const Jotlet& note);

    // Reads pending notes, oldest change first, while `more()` says there is time;
    // `read(key)` hears of each note read. Returns how many were read. A note whose
    // body cannot be read keeps the text it had.
    size_t ReadPending(const std::function<bool()>& more, const std::function<void(uint64_t key)>& read);
    size_t Pending() const noexcept { return pending_.size(); }

    // The text as last read; null until it is.
    SharedText Text(uint64_t key) const;
    const SearchIndex& Index() const noexcept { return index_; }
    // What the search text costs per note: the text and its index entry.
    size_t BytesPerNote() const;

private:
    struct Known {
        Jotlet* note;
        SharedText text;
    };
    const CodePage& codePage_;
    uint64_t nextKey_ = 1;
    std::unordered_map<const Jotlet*, uint64_t> keys_;
    std::unordered_map<uint64_t, Known> notes_;
    std::deque<uint64_t> queue_;
    std::unordered_set<uint64_t> pending_;
    SearchIndex index_;
};

} // namespace vn
