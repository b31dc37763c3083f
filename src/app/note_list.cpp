#include "app/note_list.h"

#include <algorithm>

#include "platform/guarded.h"

namespace vn {

void NoteList::Add(Jotlet& note) {
    items_.push_back(&note);
    note.SetRemovalNotice([this](Jotlet& removed) { Removed(removed); });
}

void NoteList::Removed(Jotlet& note) {
    auto it = std::find(items_.begin(), items_.end(), &note);
    if (it != items_.end()) items_.erase(it);
    // Also for a note that DeleteJotlets already took out of the list: its record
    // leaves the store with the save this schedules.
    if (onRemoved_) onRemoved_(note);
}

void NoteList::DestroyAll() {
    while (!items_.empty()) {
        Jotlet* note = items_.back();
        items_.pop_back();
        note->SetRemovalNotice({});
        // One note that fails to go must not keep the others on screen.
        Guarded([note] { note->Hide(); });
        Guarded([note] { note->Destroy(); });
    }
}

} // namespace vn
