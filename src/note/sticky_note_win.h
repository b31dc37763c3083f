#pragma once
// TFStickyNote: one note window. A borderless, round-cornered, pale-yellow window
// owned by its target window, with a title, the owner and time labels, five
// picture buttons, the white body area holding the rich-text editor, a resize grip
// and a tagline. It can be dragged, resized between fixed limits and shrunk to a
// 100 x 100 tile.
//
// The object lives on the heap and outlives its native window: the native window
// is created when it is first needed and re-created when the note binds to a new
// target, keeping body, formatting, position, size and tile state. A closed note
// frees itself on the next turn of the message loop; the controller frees the
// others at shutdown (Jotlet::Destroy, after cancelling the removal notice).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "note/jotlet.h"
#include "attach/note_binding.h"
#include "attach/note_placement.h"
#include "note/checklist.h"
#include "note/editor_rules.h"
#include "note/note_bounds.h"
#include "note/note_companion_win.h"
#include "note/note_drag.h"
#include "note/note_host.h"
#include "note/note_hover.h"
#include "note/note_resize.h"
#include "note/rich_edit_win.h"
#include "platform/window_win.h"
#include "store/store_note.h"

namespace vn {

class NoteBackPanel;
class NoteCheckBoxGutter;
class NoteChrome;
class NoteHost;
class NoteScrollBox;

class TFStickyNote final : public Window, public BindingNoteView, public NewNoteWindow, public Jotlet {
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
    // Closes the note: it forgets its target and frees itself once the message loop
    // turns again (the removal notice is sent then). Safe to call twice.
    void Close() override;

    // ---- the controller's list ------------------------------------------------------
    // Called once when the note is freed, whoever frees it; empty cancels it.
    void SetRemovalNotice(RemovalNotice notice) override { removalNotice_ = std::move(notice); }
    // Frees the note now (its window with it); from inside one of the note's own
    // handlers, as soon as that handler has returned.
    void Destroy() override { Release(); }
    // The note as the store writes and fills it: identity, labels, body, check states.
    StoreNote& Stored() noexcept override { return stored_; }

    // ---- window operations for the controller (Jotlet) -------------------------------
    WindowId NoteWindow() const noexcept override;
    WindowId TargetWindow() const noexcept override { return FBinding.WndParent(); }
    bool NoteWindowVisible() const override;
    bool NoteWindowEnabled() const override;
    void EnableNoteWindow(bool enabled) override;
    void ActivateNoteWindow() override;

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
    bool IsShown() const override { return visible_; }
    int Left() const override { return bounds_.Left(); }
    int Top() const override { return bounds_.Top(); }
    int Width() const noexcept { return bounds_.Width(); }
    int Height() const noexcept { return bounds_.Height(); }
    bool Minimized() const noexcept { return FMinimized; }
    bool AlphaBlend() const noexcept { return alphaBlend_; }
    void SetPosition(int left, int top) override;
    // The framework's show and hide: the show and hide handlers run.
    void Show() override;
    void Hide() override;
    // The layout refresh: part visibility for the tile state, body area height
    // H - 156, backing panel, editor size.
    void UpdateLayout() override;

    // ---- native window ------------------------------------------------------------
    // The native window, created now if needed (owned by the target while bound).
    HWND HandleNeeded();
    void CreateNativeWindowIfNeeded() override { HandleNeeded(); }
    void RecreateNativeWindow() override;
    void ApplyPlacement(int left, int top) override;
    void ShowAboveTarget(WindowId target) override;
    void FollowTarget(WindowId target) override;
    bool KeepAboveTarget(WindowId target) override;
    bool WindowVisible() const override { return HasHandle() && IsWindowVisible(Handle()); }
    void Discard() override { Close(); }

    // Makes native window creation fail with `errorCode` (0: succeed) without asking
    // the system: the access-denied refusal cannot be produced on demand.
    void SetCreationFaultForTesting(std::function<DWORD()> fault) { creationFault_ = std::move(fault); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNativeDestroyed() override;

private:
    // The store's view of the note (a StoreNote of its own, as the note already has a
    // Caption of another meaning than the store's).
    class StoredNote final : public StoreNote {
    public:
        explicit StoredNote(TFStickyNote& note) : note_(note) {}
        std::u16string ExeName() const override;
        std::u16string Caption() const override;
        std::u16string OwnerLabel() const override;
        std::u16string TimeLabel() const override;
        void SetOwnerLabel(const std::u16string& text) override;
        void SetTimeLabel(const std::u16string& text) override;
        std::string SaveBody() override;
        void LoadBody(const BodyFile& body) override;
        std::u16string CheckStateString() const override;
        void SetPendingCheckStates(const std::u16string& states) override;
        void RestoreLayoutAfterFill() override;

    private:
        TFStickyNote& note_;
    };

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
    // A press at `pressed` (screen) on a drag area or on the grip.
    void TitleShapeMouseDown(note::Point pressed);
    void TitleShapeMouseMove();
    void TitleShapeMouseUp();
    void ImgSizeMouseDown(note::Point pressed);
    void ImgSizeMouseMove();
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
    void PaintImageButton(note::Control button, bool hover);
    void ResizeRichEdit();
    void FontCommand();
    void SetAlphaBlend(bool on);
    void SetSize(int width, int height);
    void RepaintNow();
    void LayoutChildren();
    void CreateChildren();
    void DestroyNativeWindow();
    void Release();
    void MeasureLabels();
    void LoadTilePictureOnce();
    void GiveBackWindowBudget() noexcept;

    // Mouse routing (the parts are drawn, not windows of their own).
    void OnMousePress(UINT message, LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void OnMouseRelease();
    void OnCaptureLost();
    void UpdateHover(note::Control under);
    note::Control ControlAt(LPARAM lParam) const;
    void DrawFace(HDC dc, const RECT& area);

    NoteHost& host_;
    NoteBinding FBinding;
    std::u16string FCaption;
    RemovalNotice removalNotice_;
    bool closing_ = false;
    // Messages of this note's window being handled right now (nested by modal loops),
    // and a release that arrived meanwhile.
    int messageDepth_ = 0;
    bool releaseDeferred_ = false;

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
    note::NoteDrag drag_;
    note::NoteResize resize_;
    note::NoteHover hover_;

    note::Point FRequestedSize;
    bool FMinimized = false;
    bool visible_ = false;
    bool alphaBlend_ = false;

    NoteCompanionWindow::Member companion_;
    StoredNote stored_{*this};
    // The note's window is counted in the host's handle budget.
    bool windowBudgetTaken_ = false;
    std::unique_ptr<NoteBackPanel> pRchEdtBack1;
    std::unique_ptr<NoteScrollBox> ScrollBox;
    vn::RichEdit RichEdit;
    std::unique_ptr<NoteCheckBoxGutter> gutter_;

    std::function<DWORD()> creationFault_;
};

} // namespace vn
