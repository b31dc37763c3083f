#pragma once
// The controller's ordered list of live notes (FJotlets): the positions that index
// strings and the export dialog name, and the removal notices of the listed notes.
// The list does not own the notes; it frees the ones still listed at shutdown.
#include <cstddef>
#include <functional>
#include <vector>

#include "note/jotlet.h"

namespace vn {

class NoteList {
public:
    using Items = std::vector<Jotlet*>;

    // `onRemoved` runs after a listed (or just unlisted) note's window went.
    explicit NoteList(std::function<void(Jotlet& note)> onRemoved) : onRemoved_(std::move(onRemoved)) {}
    ~NoteList() { DestroyAll(); }
    NoteList(const NoteList&) = delete;
    NoteList& operator=(const NoteList&) = delete;

    // Appends a note and registers for its removal notice.
    void Add(Jotlet& note);
    // Frees every listed note from the last position down, its notice cancelled
    // first so that none of these destructions counts as a removal.
    void DestroyAll();

    // The ordered list, read as positions.
    const Items& items() const noexcept { return items_; }
    size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    Jotlet* operator[](size_t position) const { return items_[position]; }
    Items::const_iterator begin() const noexcept { return items_.begin(); }
    Items::const_iterator end() const noexcept { return items_.end(); }
    // Takes a note out of the list at once (its removal notice comes later).
    Items::iterator erase(Items::const_iterator at) { return items_.erase(at); }

private:
    void Removed(Jotlet& note);

    Items items_;
    std::function<void(Jotlet& note)> onRemoved_;
};

} // namespace vn
