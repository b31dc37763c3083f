// The note as the store sees it: identity, labels, body and check states. The
// store engine (store/note_store.h) reads and writes the files; the note only
// hands over and takes texts and bytes.
#include "note/sticky_note_win.h"

#include "store/check_states.h"

namespace vn {

std::u16string TFStickyNote::CheckStateString() const {
    // Pending states are written as they were read, so a note that was not shown
    // during a run keeps its ticks; asking for the line count would also make the
    // editor read a body that nobody has looked at. A body nobody has read has had
    // no boxes: its states are the ones read, also when there were none.
    if (!FStartChValue.empty() || RichEdit.BodyUnread()) return FStartChValue;
    return CheckStatesToWrite(FStartChValue, RichEdit.LineCount(), [this](int line) { return FChechBoxes.Ticked(line); });
}

std::u16string TFStickyNote::StoredNote::ExeName() const { return note_.FBinding.WndParentExeName(); }

std::u16string TFStickyNote::StoredNote::Caption() const { return note_.FBinding.WndParentCaption(); }

std::u16string TFStickyNote::StoredNote::OwnerLabel() const { return note_.lOwner; }

std::u16string TFStickyNote::StoredNote::TimeLabel() const { return note_.lTime; }

void TFStickyNote::StoredNote::SetOwnerLabel(const std::u16string& text) { note_.SetOwnerText(text); }

void TFStickyNote::StoredNote::SetTimeLabel(const std::u16string& text) { note_.SetTimeText(text); }

std::string TFStickyNote::StoredNote::SaveBody() { return note_.RichEdit.SaveRtf(); }

void TFStickyNote::StoredNote::LoadBody(const BodyFile& body) { note_.RichEdit.LoadBody(body); }

std::u16string TFStickyNote::StoredNote::CheckStateString() const { return note_.CheckStateString(); }

void TFStickyNote::StoredNote::SetPendingCheckStates(const std::u16string& states) {
    note_.FStartChValue = states;
}

void TFStickyNote::StoredNote::RestoreLayoutAfterFill() {
    note_.FMinimized = false;
    note_.UpdateLayout();
}

} // namespace vn
