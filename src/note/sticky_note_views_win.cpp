// The note as the store, the tracking tick and the placement on a picked window see
// it. The store engine (store/note_store.h) reads and writes the files; the note only
// hands over and takes texts and bytes.
#include "note/sticky_note_views_win.h"

#include "attach/note_placement_win.h"
#include "attach/window_system_win.h"
#include "note/note_host.h"
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

// ---- the store ----------------------------------------------------------------------------

std::u16string StoredStickyNote::ExeName() const { return note_.WndParentExeName(); }

std::u16string StoredStickyNote::Caption() const { return note_.WndParentCaption(); }

std::u16string StoredStickyNote::OwnerLabel() const { return note_.OwnerText(); }

std::u16string StoredStickyNote::TimeLabel() const { return note_.TimeText(); }

void StoredStickyNote::SetOwnerLabel(const std::u16string& text) { note_.SetOwnerText(text); }

void StoredStickyNote::SetTimeLabel(const std::u16string& text) { note_.SetTimeText(text); }

std::string StoredStickyNote::SaveBody() { return note_.Editor().SaveRtf(); }

void StoredStickyNote::LoadBody(const BodyFile& body) { note_.Editor().LoadBody(body); }

std::u16string StoredStickyNote::CheckStateString() const { return note_.CheckStateString(); }

void StoredStickyNote::SetPendingCheckStates(const std::u16string& states) { note_.SetPendingCheckStates(states); }

void StoredStickyNote::RestoreLayoutAfterFill() {
    note_.FMinimized = false;
    note_.UpdateLayout();
}

// ---- the tracking tick --------------------------------------------------------------------

bool TrackedStickyNote::IsShown() const { return note_.IsShown(); }

void TrackedStickyNote::Hide() { note_.Hide(); }

int TrackedStickyNote::Left() const { return note_.Left(); }

int TrackedStickyNote::Top() const { return note_.Top(); }

void TrackedStickyNote::RecreateNativeWindow() { note_.RecreateNativeWindow(); }

void TrackedStickyNote::CreateNativeWindowIfNeeded() { note_.HandleNeeded(); }

void TrackedStickyNote::ApplyPlacement(int left, int top) {
    // Only the tracking tick places a note this way: its target appeared, often while
    // the person types in it. The note shows without taking the activation, the
    // focus or the foreground from them.
    HWND h = note_.HandleNeeded();
    note_.appearsByItself_ = true;
    ApplyNoteStyleMask(h);
    SetWindowPos(h, nullptr, left, top, 0, 0, kShowAtPositionFlags | SWP_NOACTIVATE);
}

void TrackedStickyNote::UpdateLayout() { note_.UpdateLayout(); }

void TrackedStickyNote::Show() { note_.Show(); }

void TrackedStickyNote::FollowTarget(WindowId target) {
    if (note_.HasHandle()) FollowOwner(note_.Handle(), ToHwnd(target), note_.host_.Stacking());
}

bool TrackedStickyNote::WindowVisible() const { return note_.HasHandle() && IsWindowVisible(note_.Handle()); }

bool TrackedStickyNote::KeepAboveTarget(WindowId target) {
    return KeepAboveOwnerWhileThere(note_.HasHandle() ? note_.Handle() : nullptr, ToHwnd(target),
                                    note_.host_.Stacking());
}

// ---- the placement on a picked window -----------------------------------------------------

void PlacedStickyNote::SetPosition(int left, int top) { note_.SetPosition(left, top); }

void PlacedStickyNote::CreateNativeWindowIfNeeded() { note_.HandleNeeded(); }

void PlacedStickyNote::ShowAboveTarget(WindowId target) {
    // The person picked the target: the note is activated as usual.
    note_.appearsByItself_ = false;
    ShowNoteAboveTarget(note_.HandleNeeded(), ToHwnd(target));
}

void PlacedStickyNote::Discard() { note_.Close(); }

} // namespace vn
