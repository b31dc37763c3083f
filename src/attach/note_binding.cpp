#include "attach/note_binding.h"

#include <utility>

#include "attach/identity.h"
#include "attach/note_placement.h"
#include "platform/errors.h"

namespace vn {

NoteBinding::NoteBinding(WindowId target, std::u16string exeName, std::u16string caption, bool pending)
    : FWndParent(target),
      FWndParentExeName(std::move(exeName)),
      FWndParentCaption(std::move(caption)),
      FParentBindingPending(pending) {}

NoteBinding NoteBinding::ForLiveWindow(WindowId target, const WindowSystem& windows) {
    return NoteBinding(target, windows.GetWindowExeName(target), windows.GetWindowCaption(target), false);
}

NoteBinding NoteBinding::ForPickedWindow(WindowId target, const WindowSystem& windows) {
    return NoteBinding(target, windows.GetWindowExeName(target), windows.GetWindowCaption(target), true);
}

NoteBinding NoteBinding::ForStoredNote(std::u16string exeName, std::u16string caption) {
    return NoteBinding(kUnboundWindow, std::move(exeName), std::move(caption), true);
}

std::u16string NoteBinding::CaptionText() const { return FWndParentExeName + u" - " + FWndParentCaption; }

WindowId NoteBinding::NativeWindowOwner() const noexcept {
    return IsBound() && !RefusedByTarget() ? FWndParent : kNoWindow;
}

void NoteBinding::OwnedWindowRefused() noexcept {
    if (IsBound()) refusedTarget_ = FWndParent;
    settled_.reset();
}

void NoteBinding::Close() noexcept {
    FWndParent = kNoWindow;
    refusedTarget_ = kNoWindow;
    settled_.reset();
}

void NoteBinding::TimerTimer(bool selectingCaptureWindow, WindowSystem& windows, BindingNoteView& note) {
    WindowChanges unwatched;
    TimerTimer(selectingCaptureWindow, windows, note, unwatched);
}

bool NoteBinding::Settled(const BindingNoteView& note, const WindowChanges& changes) const {
    if (!settled_ || settled_->target != FWndParent || settled_->shown != note.IsShown() ||
        settled_->windowVisible != note.WindowVisible())
        return false;
    return IsBound() ? !changes.ChangedSince(FWndParent, settled_->at) : !changes.AnyChangedSince(settled_->at);
}

void NoteBinding::TimerTimer(bool selectingCaptureWindow, WindowSystem& windows, BindingNoteView& note,
                             WindowChanges& changes) {
    if (selectingCaptureWindow || IsClosed()) return;
    const WindowChanges::Stamp now = changes.Now();
    if (Settled(note, changes) && (!IsBound() || note.KeepAboveTarget(FWndParent))) return;
    // A tick that fails half-way (a refused window) has settled nothing.
    settled_.reset();
    if (IsBound() && TargetLost(windows)) {
        FWndParent = kUnboundWindow;
        refusedTarget_ = kNoWindow;
        note.Hide();
    }
    // A note that lost its target this tick may find the next matching window at once.
    if (FWndParent == kUnboundWindow) TryBind(windows, note);
    if (IsBound() && !note.IsShown() && !RefusedByTarget()) PlaceAndShow(windows, note);
    else if (IsBound() && note.IsShown()) note.FollowTarget(FWndParent);
    // A bound note still waiting (its target minimised or parked off screen, its
    // window refused or without room) asks again every tick.
    const bool shownOnTarget = IsBound() && note.IsShown() && !RefusedByTarget();
    const bool searchedInVain = FWndParent == kUnboundWindow && !note.IsShown();
    if (shownOnTarget || searchedInVain) settled_ = Outcome{now, FWndParent, note.IsShown(), note.WindowVisible()};
}

bool NoteBinding::TargetLost(const WindowSystem& windows) const {
    return !windows.IsWindow(FWndParent) || !windows.IsWindowVisible(FWndParent) ||
           !IdentityTextEquals(windows.GetWindowCaption(FWndParent), FWndParentCaption);
}

void NoteBinding::TryBind(const WindowSystem& windows, BindingNoteView& note) {
    // Picking never accepts a window without a caption; a stored note without one
    // would otherwise take whatever untitled window the title search returns first.
    if (FWndParentCaption.empty()) return;
    WindowId found = windows.FindWindowByTitle(FWndParentCaption);
    if (found == kNoWindow || found == kUnboundWindow) return;
    // No note sticks to one of the program's own windows (the All Notes window), as
    // no pick takes one: a record naming it waits instead.
    if (windows.IsOwnWindow(found)) return;
    if (!windows.IsWindowVisible(found)) return;
    if (!IdentityTextEquals(windows.GetWindowExeName(found), FWndParentExeName)) return;
    // The title search is the system's (it ignores letter case and does not trim);
    // a window the lost-target test would give up on the next tick is not bound.
    if (!IdentityTextEquals(windows.GetWindowCaption(found), FWndParentCaption)) return;
    FWndParent = found;
    note.RecreateNativeWindow();
}

void NoteBinding::PlaceAndShow(WindowSystem& windows, BindingNoteView& note) {
    if (windows.PlacementMinimized(FWndParent)) return;
    if (windows.IsIconic(FWndParent)) return;
    int left = note.Left();
    int top = note.Top();
    if (FParentBindingPending) {
        auto rect = windows.GetWindowRect(FWndParent);
        if (!rect || rect->top <= kOffScreenLimit || rect->left <= kOffScreenLimit) {
            windows.SetForegroundWindow(FWndParent);
            return;
        }
        const NotePosition position = NoteCornerPosition(*rect, windows.MonitorDpi(FWndParent));
        left = position.left;
        top = position.top;
    }
    try {
        note.CreateNativeWindowIfNeeded();
    } catch (const TSNCreateWindowHandleAccessDeniedException&) {
        OwnedWindowRefused();
        throw;
    }
    note.ApplyPlacement(left, top);
    note.UpdateLayout();
    note.Show();
    // Only a showing that happened ends the first placement: a refused or failed
    // one leaves it for the next target or the next tick.
    FParentBindingPending = false;
}

} // namespace vn
