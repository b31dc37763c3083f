#include "app/note_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/guarded.h"

namespace vn {

Jotlet& NoteList::Add(std::unique_ptr<Jotlet> note) { return Insert(items_.size(), std::move(note)); }

Jotlet& NoteList::Insert(size_t position, std::unique_ptr<Jotlet> note) {
    Jotlet& added = *note;
    const auto at = static_cast<std::ptrdiff_t>(std::min(position, items_.size()));
    items_.reserve(items_.size() + 1);
    listed_.insert(listed_.begin() + at, std::move(note));
    items_.insert(items_.begin() + at, &added);
    added.SetRemovalNotice([this](Jotlet& removed) { Removed(removed); });
    return added;
}

NoteList::Items::iterator NoteList::erase(Items::const_iterator at) {
    const auto position = std::distance(items_.cbegin(), at);
    closing_.push_back(std::move(listed_[static_cast<size_t>(position)]));
    listed_.erase(listed_.begin() + position);
    return items_.erase(at);
}

std::unique_ptr<Jotlet> NoteList::Take(std::vector<std::unique_ptr<Jotlet>>& from, Jotlet& note) {
    std::unique_ptr<Jotlet> owner;
    auto it = std::find_if(from.begin(), from.end(), [&](const auto& held) { return held.get() == &note; });
    if (it == from.end()) return owner;
    owner = std::move(*it);
    from.erase(it);
    return owner;
}

std::unique_ptr<Jotlet> NoteList::TakeOwner(Jotlet& note) {
    auto it = std::find(items_.begin(), items_.end(), &note);
    if (it == items_.end()) return Take(closing_, note);
    items_.erase(it);
    return Take(listed_, note);
}

void NoteList::Removed(Jotlet& note) {
    const std::unique_ptr<Jotlet> owner = TakeOwner(note);
    // Also for a note that DeleteJotlets already took out of the list: its record
    // leaves the store with the save this schedules.
    if (owner && onRemoved_) onRemoved_(note);
}

void NoteList::DestroyAll() {
    std::vector<std::unique_ptr<Jotlet>> closing = std::exchange(closing_, {});
    while (!items_.empty()) {
        std::unique_ptr<Jotlet> note = std::move(listed_.back());
        listed_.pop_back();
        items_.pop_back();
        ShutDown(std::move(note));
    }
    while (!closing.empty()) {
        std::unique_ptr<Jotlet> note = std::move(closing.back());
        closing.pop_back();
        ShutDown(std::move(note));
    }
}

void NoteList::ShutDown(std::unique_ptr<Jotlet> note) {
    note->SetRemovalNotice({});
    // One note that fails to go must not keep the others on screen.
    Guarded([&] { note->Hide(); });
    if (!note->HandlerRunning()) return;  // freed here
    Jotlet& running = *note;
    leaving_.push_back(std::move(note));
    running.SetRemovalNotice([this](Jotlet& closed) { Take(leaving_, closed); });
    Guarded([&] { running.Close(); });
}

} // namespace vn
