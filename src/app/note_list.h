#pragma once
// The controller's ordered list of live notes (FJotlets): the positions that index
// strings and the export dialog name. The list owns its notes. A note taken out of the
// list (DeleteJotlets) is held among the closing notes until its removal notice, which
// a closed note sends once none of its own handlers is running; the list frees it
// then, as it frees a listed note whose notice comes, and frees the rest at shutdown.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "note/jotlet.h"

namespace vn {

class NoteList {
public:
    using Items = std::vector<Jotlet*>;

    // `onRemoved` runs when a listed (or just unlisted) note's removal notice came,
    // just before the note is freed.
    explicit NoteList(std::function<void(Jotlet& note)> onRemoved) : onRemoved_(std::move(onRemoved)) {}
    ~NoteList() { DestroyAll(); }
    NoteList(const NoteList&) = delete;
    NoteList& operator=(const NoteList&) = delete;

    // Appends a note, takes it over and registers for its removal notice.
    Jotlet& Add(std::unique_ptr<Jotlet> note);
    // The same at a position (at most size(): the end); the later notes move up one.
    Jotlet& Insert(size_t position, std::unique_ptr<Jotlet> note);
    // Frees every note, the listed ones from the last position down, then the closing
    // ones, each notice cancelled first so that none of these counts as a removal. A
    // note whose own handler is running (the shutdown came from inside its dialog) is
    // closed instead, and freed once that handler has returned, or with the list.
    void DestroyAll();

    // The ordered list, read as positions.
    const Items& items() const noexcept { return items_; }
    size_t size() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }
    Jotlet* operator[](size_t position) const { return items_[position]; }
    Items::const_iterator begin() const noexcept { return items_.begin(); }
    Items::const_iterator end() const noexcept { return items_.end(); }
    // Takes a note out of the list at once; it is held among the closing notes until
    // its removal notice.
    Items::iterator erase(Items::const_iterator at);

private:
    void Removed(Jotlet& note);
    // The note's owner, out of the list or the closing notes; null when it is not ours.
    std::unique_ptr<Jotlet> TakeOwner(Jotlet& note);
    static std::unique_ptr<Jotlet> Take(std::vector<std::unique_ptr<Jotlet>>& from, Jotlet& note);
    void ShutDown(std::unique_ptr<Jotlet> note);

    Items items_;
    // The owners of items_, in the same order.
    std::vector<std::unique_ptr<Jotlet>> listed_;
    std::vector<std::unique_ptr<Jotlet>> closing_;
    // Notes the shutdown closed while a handler of theirs ran: freed when they ask, or
    // with the list.
    std::vector<std::unique_ptr<Jotlet>> leaving_;
    std::function<void(Jotlet& note)> onRemoved_;
};

} // namespace vn
