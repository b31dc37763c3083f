#pragma once
// A note's binding to its target window: the identity it looks for, the window it
// is bound to, and the 500 ms tracking tick that binds, unbinds, places and shows
// the note. The note window owns one NoteBinding and implements BindingNoteView;
// its `Timer` handler calls TimerTimer.
#include <optional>
#include <string>

#include "attach/window_changes.h"
#include "attach/window_system.h"

namespace vn {

// The note window as the tracking tick drives it.
class BindingNoteView {
public:
    virtual ~BindingNoteView() = default;

    // The note's shown flag (the framework's visible property). The system hiding
    // an owned window while its owner is minimised does not clear it.
    virtual bool IsShown() const = 0;
    virtual void Hide() = 0;
    // The note's own position, used when it comes back after its first placement.
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    // The note was just bound to a new target: destroy its native window if it has
    // one, keeping body, formatting, check states, position, size and tile state;
    // the next window is created when needed, owned by NativeWindowOwner().
    virtual void RecreateNativeWindow() = 0;
    // Obtains the native window, creating it owned by NativeWindowOwner() if it does
    // not exist. Raises TSNCreateWindowHandleAccessDeniedException when the system
    // refuses the owner (ERROR_ACCESS_DENIED), OSError for any other refusal.
    virtual void CreateNativeWindowIfNeeded() = 0;
    // Style AND kNoteStyleMask once more on the existing window, then
    // SetWindowPos(note, NULL, left, top, 0, 0, kShowAtPositionFlags).
    virtual void ApplyPlacement(int left, int top) = 0;
    virtual void UpdateLayout() = 0;
    // The framework's show; the note's show handler runs.
    virtual void Show() = 0;
    // Called on every full tick of a shown, bound note: where the window system does not
    // hide an owned window with its minimised owner or keep it above its owner, the
    // note does it itself, leaving its shown flag as it is.
    virtual void FollowTarget(WindowId /*target*/) {}
    // Whether the note's window is on screen. Not the shown flag: the system may hide
    // and show the window by itself (with its minimised owner, say).
    virtual bool WindowVisible() const { return IsShown(); }
    // Called instead of the tick's questions while nothing was seen of the shown
    // note's target (WindowChanges): checks what the desktop's list answers for all
    // notes at once. False when the target is gone from it (its program ended
    // without destroying it, say); otherwise the note is kept above it.
    virtual bool KeepAboveTarget(WindowId /*target*/) { return true; }
};

class NoteBinding {
public:
    // Build the binding before anything can create the note's native window, so
    // that a window made while the note is built is already owned by its target.
    //
    // A note made for a live window: bound to it, identity read from it, no first
    // placement pending (the controller places it).
    static NoteBinding ForLiveWindow(WindowId target, const WindowSystem& windows);
    // A note moved onto a live window the person picked: bound to it, identity read
    // from it, and placed at its corner by the next tick, as a stored note that found
    // its window.
    static NoteBinding ForPickedWindow(WindowId target, const WindowSystem& windows);
    // A stored note: unbound, identity taken as given (no trimming), first
    // placement next to its target pending.
    static NoteBinding ForStoredNote(std::u16string exeName, std::u16string caption);

    WindowId WndParent() const noexcept { return FWndParent; }
    const std::u16string& WndParentExeName() const noexcept { return FWndParentExeName; }
    const std::u16string& WndParentCaption() const noexcept { return FWndParentCaption; }
    bool ParentBindingPending() const noexcept { return FParentBindingPending; }
    bool IsBound() const noexcept { return FWndParent != kUnboundWindow && FWndParent != kNoWindow; }
    bool IsClosed() const noexcept { return FWndParent == kNoWindow; }

    // The note's caption and title line: executable name " - " caption.
    std::u16string CaptionText() const;

    // The owner for the note's native window whenever it is created: the target
    // while bound and not refused by it; otherwise kNoWindow, meaning the note's
    // default owner (one of the program's hidden windows) or, once closed, none.
    WindowId NativeWindowOwner() const noexcept;

    // The current target refused the note as an owned window (access denied).
    // The note is not shown on that target again and its native window, when
    // something else needs one (a save), is created without the target as owner.
    // Forgotten when the note loses that target. The tick records it itself; any
    // other path that needs the native window (a save reading the body) should, on
    // the refusal, call this, report the exception to the application's handler
    // (the balloon) and create the window again, now without the target as owner.
    void OwnedWindowRefused() noexcept;
    bool RefusedByTarget() const noexcept { return IsBound() && refusedTarget_ == FWndParent; }

    // One tracking tick. Does nothing while the controller is picking a window or
    // once the note is closed. Exceptions of the note's window creation propagate
    // (the access-denied one after the refusal has been recorded).
    //
    // A tick that settled the note (shown on its target, or unbound after a search
    // that found nothing) leaves it as it is while `changes` has seen nothing since
    // about that target (for an unbound note: about any window) and the note's
    // shown flag, window and target are what that tick left; a shown note is only
    // kept above its target then (BindingNoteView::KeepAboveTarget).
    void TimerTimer(bool selectingCaptureWindow, WindowSystem& windows, BindingNoteView& note,
                    WindowChanges& changes);
    // The same asking everything every tick, as without a watch of the desktop.
    void TimerTimer(bool selectingCaptureWindow, WindowSystem& windows, BindingNoteView& note);

    // The note is being closed: it forgets its target for good.
    void Close() noexcept;

private:
    NoteBinding(WindowId target, std::u16string exeName, std::u16string caption, bool pending);

    bool Settled(const BindingNoteView& note, const WindowChanges& changes) const;
    bool TargetLost(const WindowSystem& windows) const;
    void TryBind(const WindowSystem& windows, BindingNoteView& note);
    void PlaceAndShow(WindowSystem& windows, BindingNoteView& note);

    WindowId FWndParent;
    std::u16string FWndParentExeName;
    std::u16string FWndParentCaption;
    bool FParentBindingPending;
    WindowId refusedTarget_ = kNoWindow;
    // What the last full tick left, from the stamp it took before asking: the note
    // shown on `target`, or unbound (`target` the unbound marker) and not shown, and
    // whether its window was on screen.
    struct Outcome {
        WindowChanges::Stamp at;
        WindowId target;
        bool shown;
        bool windowVisible;
    };
    std::optional<Outcome> settled_;
};

} // namespace vn
