#pragma once
// TFStickyNote: one note window. A borderless, round-cornered, pale-yellow window
// owned by its target window, with a title, the owner and time labels, five
// picture buttons, the white body area holding the rich-text editor, a resize grip
// and a tagline. It can be dragged, resized between fixed limits and shrunk to a
// 100 x 100 tile.
//
// The object outlives its native window: the native window is created when it is
// first needed and re-created when the note binds to a new target, keeping body,
// formatting, position, size and tile state. The controller's note list owns the
// note. A closed note asks its owner to free it (the removal notice) once the
// message loop turns again and none of the note's own handlers is running.
//
// The note's jobs, by file:
//   sticky_note_win.cpp         life, native window, showing and hiding, geometry
//   sticky_note_input_win.cpp   painting, and the mouse as NotePointer routes it
//   sticky_note_editor_win.cpp  the editor's events, its menu, the Font command, the checklist
//   sticky_note_views_win.cpp   the note as the store, the tracking tick and the placement see it
//   sticky_note_keys_win.cpp    the keyboard: the focus among the note's stops, its keys, move and size
//   sticky_note_access_win.cpp  the note as a screen reader sees it
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "attach/note_binding.h"
#include "note/checklist.h"
#include "note/editor_rules.h"
#include "note/jotlet.h"
#include "note/note_accessible_win.h"
#include "note/note_bounds.h"
#include "note/note_focus.h"
#include "note/note_companion_win.h"
#include "note/note_pointer.h"
#include "note/rich_edit_win.h"
#include "note/sticky_note_views_win.h"
#include "platform/scope_exit.h"
#include "platform/window_win.h"

namespace vn {

class NoteBackPanel;
class NoteCheckBoxGutter;
class NoteHost;
class NoteScrollBox;

class TFStickyNote final : public Window, public Jotlet {
public:
    // The tracking tick's interval.
    static constexpr UINT kTimerInterval = 500;

    // A note bound to the live window `AParentWnd`, its identity read from it.
    TFStickyNote(NoteHost& host, HWND AParentWnd);
    // An unbound note with a stored identity, waiting for its first placement.
    TFStickyNote(NoteHost& host, std::u16string AWndParentExe, std::u16string AWndParentCaption);
    ~TFStickyNote() override;

    // ---- binding ------------------------------------------------------------------
    // The target: a window handle, the unbound marker -1, or 0 once closed.
    HWND WndParent() const noexcept { return reinterpret_cast<HWND>(FBinding.WndParent()); }
    const std::u16string& WndParentExeName() const noexcept { return FBinding.WndParentExeName(); }
    const std::u16string& WndParentCaption() const noexcept { return FBinding.WndParentCaption(); }
    bool ParentBindingPending() const noexcept { return FBinding.ParentBindingPending(); }
    // The note's caption: executable name " - " caption (also its window text).
    const std::u16string& Caption() const noexcept { return FCaption; }

    // One tracking tick (the 500 ms `Timer` runs it).
    void TimerTimer();
    // Closes the note: it forgets its target, and once the message loop turns again
    // and none of its own handlers is running, its removal notice asks its owner to
    // free it. Safe to call twice.
    void Close() override;

    // ---- the controller's list ------------------------------------------------------
    void SetRemovalNotice(RemovalNotice notice) override { removalNotice_ = std::move(notice); }
    bool HandlerRunning() const noexcept override { return handlersRunning_ > 0; }
    // The note as the store writes and fills it: identity, labels, body, check states.
    StoreNote& Stored() noexcept override { return stored_; }
    // The note as the controller places it on the window just picked.
    NewNoteWindow& AsNewWindow() noexcept { return placed_; }

    // ---- window operations for the controller (Jotlet) -------------------------------
    WindowId NoteWindow() const noexcept override;
    WindowId TargetWindow() const noexcept override { return FBinding.WndParent(); }
    bool NoteWindowVisible() const override;
    bool NoteWindowEnabled() const override;
    void EnableNoteWindow(bool enabled) override;
    void ActivateNoteWindow() override;
    bool IsTile() const noexcept override { return FMinimized; }
    void BringToFront() override;
    void StickTo(WindowId target) override;

    // ---- content --------------------------------------------------------------------
    vn::RichEdit& Editor() noexcept { return RichEdit; }
    const std::u16string& TitleText() const noexcept { return lTitle; }
    const std::u16string& OwnerText() const noexcept { return lOwner; }
    void SetOwnerText(std::u16string text);
    const std::u16string& TimeText() const noexcept { return lTime; }
    void SetTimeText(std::u16string text);
    // Check states waiting for the note's first showing, in the check-state string format.
    const std::u16string& PendingCheckStates() const noexcept { return FStartChValue; }
    void SetPendingCheckStates(std::u16string states) { FStartChValue = std::move(states); }
    // The check-state string a save writes: the pending states while there are any,
    // else one "0" or "1" per body line from the check boxes.
    std::u16string CheckStateString() const;
    // The gutter's slots, and the native box of a line (null while there is none).
    const note::CheckBoxes& CheckBoxSlots() const noexcept { return FChechBoxes; }
    HWND CheckBox(int line) const;
    // The checklist walk: after key releases and font changes, and with the body area
    // parked when stored states are applied.
    void UpdateCheckBoxes(bool AParkBodyArea);

    // ---- window state -------------------------------------------------------------
    // The note's shown flag: the system hiding the window with its minimised owner
    // does not clear it.
    bool IsShown() const noexcept { return visible_; }
    int Left() const noexcept { return bounds_.Left(); }
    int Top() const noexcept { return bounds_.Top(); }
    int Width() const noexcept { return bounds_.Width(); }
    int Height() const noexcept { return bounds_.Height(); }
    bool Minimized() const noexcept { return FMinimized; }
    bool AlphaBlend() const noexcept { return alphaBlend_; }
    // The DPI the note is shown at: its monitor's.
    int Dpi() const noexcept { return bounds_.Dpi(); }
    void SetPosition(int left, int top);
    // The framework's show and hide: the show and hide handlers run.
    void Show();
    void Hide() override;
    // The layout refresh: part visibility for the tile state, body area height
    // H - 156, backing panel, editor size.
    void UpdateLayout();

    // ---- keyboard -------------------------------------------------------------------
    // The part drawn on the window that has the keyboard focus: a picture button, the
    // tile picture of a tile, or None (the focus is in the body, on a box, elsewhere).
    note::Control FocusedPart() const;

    // ---- native window ------------------------------------------------------------
    // The native window, created now if needed (owned by the target while bound).
    HWND HandleNeeded();
    // The window goes, if there is one; the note keeps everything it shows and the
    // next window, made when needed, is owned by the current target.
    void RecreateNativeWindow();

    // Makes native window creation fail with `errorCode` (0: succeed) without asking
    // the system: the access-denied refusal cannot be produced on demand.
    void SetCreationFaultForTesting(std::function<DWORD()> fault) { creationFault_ = std::move(fault); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNativeDestroyed() override;

private:
    friend class StoredStickyNote;
    friend class TrackedStickyNote;
    friend class PlacedStickyNote;

    TFStickyNote(NoteHost& host, NoteBinding binding);

    // The note's timers on the shared helper window: the tracking tick, and
    // `ImportTimer`, one shot at the message loop's next turn after a showing.
    static constexpr UINT_PTR kTrackingTimer = 1;
    static constexpr UINT_PTR kImportTimer = 2;
    static constexpr UINT kImportTimerInterval = 1;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormHide();
    void TitleShapeMouseMove(note::Point to);
    void ImgSizeMouseDown();
    void ImgSizeMouseMove(note::Size size);
    void ImgSizeMouseUp();
    void ImgSaveMouseEnter(note::Control button);
    void ImgSaveMouseLeave(note::Control button);
    void ImgSaveMouseDown();
    void ImgImportMouseDown();
    void ImgFontMouseDown();
    void ImgDeleteMouseDown();
    void ImgMinimizeMouseDown();
    void ImgSmallDblClick();
    void RichEditChange();
    void RichEditResizeRequest(int width, int height);
    void RichEditKeyUp(WORD key, bool shift, bool alt, bool ctrl);
    void RichEditMouseWheel(int delta);
    void RichEditMouseWheelDown(int notches);
    void RichEditMouseWheelUp(int notches);
    void RichEditContextMenu(POINT screen);
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void ImportTimerTimer();

    // Operations.
    void UpdateCaption();
    // True while the note is the foreground window: only then may the walk or a
    // showing move the keyboard focus into it.
    bool MayTakeKeyboard() const;
    void ScrollBodyByNotches(int notches);
    void UpdateWindowRegion();
    void PaintImageButton(note::Control button);
    void ResizeRichEdit();
    void FontCommand();
    void SetAlphaBlend(bool on);
    void SetSize(int width, int height);
    void SetSize(note::Size size) { SetSize(size.width, size.height); }
    // The note is shown at `dpi` from now on (WM_DPICHANGED, or a window made on a
    // monitor of another scale): size, parts, fonts, pictures, the editor's zoom and
    // the check boxes follow. `suggested` is the system's rectangle for the window.
    void ApplyDpi(int dpi, const RECT* suggested);
    // The part of it that needs no window.
    void TakeDpi(int dpi);
    void RepaintNow();
    void LayoutChildren();
    void CreateChildren();
    void DestroyNativeWindow();
    // The release that Close posted: the removal notice goes out unless one of the
    // note's own handlers is still running.
    void ReleaseTurn();
    // Counts one of the note's own handlers as running until the scope ends; a release
    // that came meanwhile goes out again once the last of them has returned.
    struct HandlerReturned {
        TFStickyNote* note;
        void operator()() const noexcept;
    };
    ScopeExit<HandlerReturned> HandlerScope();
    void MeasureLabels();
    void LoadTilePicture();
    void GiveBackWindowBudget() noexcept;

    // The keyboard (sticky_note_keys_win.cpp). A key going down on the note window,
    // the editor or a box: true when the note took it.
    bool NoteKeyDown(WPARAM key, LPARAM flags);
    bool EditorKeyDown(WPARAM key, LPARAM flags);
    bool BoxKeyDown(int line, WPARAM key, LPARAM flags);
    bool RunKey(note::FocusStop at, const note::KeyPress& key, int line);
    void MoveFocusTo(note::FocusStop stop);
    void SetFocusedPart(note::Control part);
    void FocusBody();
    void TakeKeyboardFromBody();
    note::BoxShown BoxShown() const;
    bool AnyBoxShown() const;
    // Whether the note window keeps the keyboard when it gets it, instead of passing
    // it on to the editor.
    bool KeepsKeyboard() const;
    void KeyboardGained();
    void KeyboardLost(HWND to);
    void NotifyFocus() const;
    // The keyboard cues: hidden for a new window, shown from the first key that moves
    // the focus or acts on the note.
    void HideFocusCues();
    void ShowFocusCues();
    bool FocusCuesShown() const;
    // WM_UPDATEUISTATE and WM_CHANGEUISTATE as they come; WM_QUERYUISTATE's answer.
    void FocusCuesChanged(WPARAM change);
    LRESULT FocusCueState() const;
    void DrawFocusCue(HDC dc) const;
    void BeginKeyboardSizing(note::KeyboardSizing::Mode mode);
    void EndKeyboardSizing(bool cancel);

    // Carries out what the mouse rule asks for one mouse event.
    void Carry(const note::PointerActions& actions);
    void RunCommand(note::Control button);
    void DrawFace(HDC dc, const RECT& area);
    // Screen readers: the drawn parts as they are now, and a part pressed through them.
    note::NoteAccessView AccessView() const;
    void PressPart(note::Control part);

    NoteHost& host_;
    NoteBinding FBinding;
    std::u16string FCaption;
    RemovalNotice removalNotice_;
    bool closing_ = false;
    // The note's own handlers running right now (nested by modal loops): its window's
    // messages and its editor's menu. A release that came meanwhile waits for them.
    int handlersRunning_ = 0;
    bool releaseWaiting_ = false;

    // Labels and pending check states.
    std::u16string lTitle;
    std::u16string lOwner;
    std::u16string lTime;
    std::u16string FStartChValue;
    note::CheckBoxes FChechBoxes;
    note::WheelNotches wheel_;
    // Set by the tracking tick's placement: the note shows because its target
    // appeared, and leaves focus and foreground where they are.
    bool appearsByItself_ = false;

    note::NoteBounds bounds_;
    note::NotePointer pointer_;
    // The picture button with the keyboard focus while the note window holds it.
    note::Control focusedPart_ = note::Control::None;
    note::KeyboardSizing keySizing_;
    bool hideFocusCues_ = true;
    // Where the keyboard goes back to once a keyboard move or size ends.
    HWND sizingReturnFocus_ = nullptr;

    note::Point FRequestedSize;
    bool FMinimized = false;
    bool visible_ = false;
    bool alphaBlend_ = false;

    NoteCompanionWindow::Member companion_;
    StoredStickyNote stored_{*this};
    TrackedStickyNote tracked_{*this};
    PlacedStickyNote placed_{*this};
    // The note's window is counted in the host's handle budget.
    bool windowBudgetTaken_ = false;
    std::unique_ptr<NoteBackPanel> pRchEdtBack1;
    std::unique_ptr<NoteScrollBox> ScrollBox;
    vn::RichEdit RichEdit;
    std::unique_ptr<NoteCheckBoxGutter> gutter_;

    std::function<DWORD()> creationFault_;
    NoteAccessibleLink access_{{[this] { return AccessView(); },
                                [this] { return note::NoteAccessibleName(WndParentCaption()); }}};
};

} // namespace vn
