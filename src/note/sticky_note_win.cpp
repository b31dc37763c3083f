#include "note/sticky_note_win.h"

#include <utility>

#include "attach/identity_win.h"
#include "attach/note_placement_win.h"
#include "attach/window_system_win.h"
#include "note/handle_budget.h"
#include "note/note_body_win.h"
#include "note/note_checklist_win.h"
#include "note/note_chrome_win.h"
#include "note/note_host.h"
#include "note/note_time_win.h"
#include "platform/dpi_win.h"
#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {

constexpr wchar_t kClassName[] = L"TFStickyNote";
// The form's own styles: a borderless popup that clips its children. The note's
// style mask then takes the popup away (an owned, overlapped window).
constexpr DWORD kFormStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

} // namespace

TFStickyNote::TFStickyNote(NoteHost& host, HWND AParentWnd)
    : TFStickyNote(host, NoteBinding::ForLiveWindow(ToWindowId(AParentWnd), TheWindowSystem())) {}

TFStickyNote::TFStickyNote(NoteHost& host, std::u16string AWndParentExe, std::u16string AWndParentCaption)
    : TFStickyNote(host, NoteBinding::ForStoredNote(std::move(AWndParentExe), std::move(AWndParentCaption))) {}

TFStickyNote::TFStickyNote(NoteHost& host, NoteBinding binding)
    : host_(host),
      FBinding(std::move(binding)),
      companion_(host.NoteCompanion(), {[this](UINT_PTR id) {
                                              if (id == kTrackingTimer) TimerTimer();
                                              else if (id == kImportTimer) ImportTimerTimer();
                                          },
                                          [this] { ReleaseTurn(); }}),
      pRchEdtBack1(std::make_unique<NoteBackPanel>()),
      ScrollBox(std::make_unique<NoteScrollBox>()),
      RichEdit(vn::RichEdit::Events{
          [this] { RichEditChange(); },
          [this](int width, int height) { RichEditResizeRequest(width, height); },
          [this](WORD key, bool shift, bool alt, bool ctrl) { RichEditKeyUp(key, shift, alt, ctrl); },
          [this](WPARAM key, LPARAM flags) { return EditorKeyDown(key, flags); },
          [this](int delta) { RichEditMouseWheel(delta); },
          // The menu runs a modal loop: a release arriving in it waits, as in the window's.
          [this](POINT screen) {
              const auto running = HandlerScope();
              RichEditContextMenu(screen);
          },
          // Made when something reads the body of a note without a window and must be
          // made then (a save reads it), so it is counted but never refused.
          [this](bool made) {
              if (made) host_.Budget().Count(note::kHiddenEditorCost);
              else host_.Budget().Give(note::kHiddenEditorCost);
          },
      }),
      gutter_(std::make_unique<NoteCheckBoxGutter>(RichEdit, FChechBoxes, host.Budget())) {
    gutter_->SetKeyDown([this](int line, WPARAM key, LPARAM flags) { return BoxKeyDown(line, key, flags); });
    companion_.StartTimer(kTrackingTimer, kTimerInterval);
    UpdateCaption();
    FormCreate();
}

TFStickyNote::~TFStickyNote() {
    companion_.StopTimer(kTrackingTimer);
    companion_.StopTimer(kImportTimer);
    DestroyNativeWindow();
}

HWND TFStickyNote::CheckBox(int line) const { return gutter_->Box(line); }

void TFStickyNote::UpdateCaption() {
    FCaption = FBinding.CaptionText();
    if (HasHandle()) SetWindowTextW(Handle(), W(FCaption));
}

void TFStickyNote::FormCreate() {
    SetAlphaBlend(false);
    FMinimized = false;
    lTitle = FCaption;
    lOwner = GetLocalComputerName();
    lTime = NoteTimeNow();
    MeasureLabels();
    FStartChValue.clear();
    // The buttons start in their normal pictures (no button is under the mouse).
    pointer_.Reset();
    // The tile picture is read with the note's first window (LoadTilePicture, until it has been read):
    // a stored note waiting for its target costs no picture, so a thousand of them
    // start in a moment.
}

void TFStickyNote::LoadTilePicture() {
    // The note is complete without its tile picture; the failure goes to the
    // application's handler like any other.
    Guarded([&] { host_.Chrome().LoadTilePicture(); });
}

// ---- native window ------------------------------------------------------------------

HWND TFStickyNote::HandleNeeded() {
    if (HasHandle()) return Handle();
    LoadTilePicture();
    HWND owner = nullptr;  // a closed note's window has no owner
    if (!FBinding.IsClosed()) {
        const WindowId target = FBinding.NativeWindowOwner();
        owner = target == kNoWindow ? companion_.Handle() : ToHwnd(target);
    }
    RegisterClass(kClassName, CS_DBLCLKS | kNoteClassStyleAdd, nullptr, nullptr, LoadCursorW(nullptr, IDC_ARROW));

    // The window is made at the scale of the monitor it appears on.
    TakeDpi(DpiOfMonitorAt(bounds_.Left(), bounds_.Top()));
    // Near the process's limit the note makes no window rather than a broken one: it
    // stays in the list and in the store, and a later tick makes it once there is room.
    if (!host_.Budget().TakeNoteWindow()) throw note::NoRoomForWindow();
    windowBudgetTaken_ = true;
    const DWORD fault = creationFault_ ? creationFault_() : 0;
    DWORD error = fault;
    HWND h = nullptr;
    if (!fault) {
        h = CreateNative(NoteCreationExStyle(kFormExStyle), kClassName, W(FCaption), NoteCreationStyle(kFormStyle),
                         bounds_.Left(), bounds_.Top(), bounds_.Width(), bounds_.Height(), owner, nullptr, false);
        if (!h) error = LastCreateError();
    }
    if (!h) {
        GiveBackWindowBudget();
        // The system refuses an owned window of a process with higher rights this way.
        if (error == ERROR_ACCESS_DENIED) throw TSNCreateWindowHandleAccessDeniedException();
        throw OSError(error, Utf8(SystemErrorMessage(error)));
    }
    try {
        // The system gives a window that is neither popup nor child a caption bar when
        // it is created; the style mask takes it away again.
        ApplyNoteStyleMask(h);
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (alphaBlend_) {
            SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
            SetLayeredWindowAttributes(h, 0, 255, LWA_ALPHA);
        }
        CreateChildren();
        // The system decides: on a monitor of another scale the window takes that.
        ApplyDpi(DpiOfWindow(h), nullptr);
        HideFocusCues();
    } catch (...) {
        DestroyNativeWindow();
        throw;
    }
    host_.NoteWindowMade(*this);
    return h;
}

void TFStickyNote::CreateChildren() {
    const note::Rect body = bounds_.Layout().body;
    pRchEdtBack1->Create(Handle(), body);
    ScrollBox->Create(Handle(), body);
    // The body area lies above its backing panel.
    SetWindowPos(ScrollBox->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A new body area starts scrolled to its top-left corner, so the editor does too.
    const note::Size editor = bounds_.EditorSize();
    const note::Rect at = bounds_.Metrics().editorInitialBounds;
    RichEdit.Create(ScrollBox->Handle(), at.left, at.top, editor.width, editor.height);
    // The boxes come back as they were: made, ticked, shown and placed.
    gutter_->Attach(ScrollBox->Handle());
    LayoutChildren();
    ScrollBox->UpdateScrollRange();
}

void TFStickyNote::DestroyNativeWindow() {
    RichEdit.Destroy();
    DestroyHandle();
    gutter_->Detach();
}

void TFStickyNote::RecreateNativeWindow() {
    if (HasHandle()) DestroyNativeWindow();
}

void TFStickyNote::OnNativeDestroyed() {
    // The window may also go with its owner; the note keeps everything it holds and
    // makes a new window when one is needed.
    pointer_.Reset();
    focusedPart_ = note::Control::None;
    keySizing_ = {};
    sizingReturnFocus_ = nullptr;
    gutter_->Detach();
    access_.Disconnect();
    GiveBackWindowBudget();
}

void TFStickyNote::GiveBackWindowBudget() noexcept {
    if (!windowBudgetTaken_) return;
    windowBudgetTaken_ = false;
    host_.Budget().Give(note::kNoteWindowCost);
}

// ---- binding and life -----------------------------------------------------------------

void TFStickyNote::TimerTimer() {
    FBinding.TimerTimer(host_.SelectingCaptureWindow(), host_.TrackingWindows(), tracked_, host_.Changes());
    // Boxes the handle budget had no room for come as soon as there is.
    if (visible_ && gutter_->MissesBoxes()) {
        gutter_->MakeMissingBoxes();
        if (ScrollBox->HasHandle()) ScrollBox->UpdateScrollRange();
    }
}

void TFStickyNote::Close() {
    if (closing_) return;
    closing_ = true;
    FBinding.Close();
    companion_.PostRelease();
}

ScopeExit<TFStickyNote::HandlerReturned> TFStickyNote::HandlerScope() {
    ++handlersRunning_;
    return OnScopeExit(HandlerReturned{this});
}

void TFStickyNote::HandlerReturned::operator()() const noexcept {
    if (--note->handlersRunning_ == 0 && note->releaseWaiting_) {
        note->releaseWaiting_ = false;
        Guarded([this] { note->companion_.PostRelease(); });
    }
}

void TFStickyNote::ReleaseTurn() {
    // A modal loop run from one of this note's own handlers (the export dialog behind
    // its Save button) may deliver the release while that handler is still on the
    // stack: the note then goes out of sight at once, and its notice waits for the
    // handler to return (HandleMessage posts the release again).
    if (handlersRunning_ > 0) {
        releaseWaiting_ = true;
        if (HasHandle()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    // The owner frees the note on this notice: nothing of it is touched afterwards.
    if (RemovalNotice notice = std::exchange(removalNotice_, {})) notice(*this);
}

// ---- showing and hiding ---------------------------------------------------------------

void TFStickyNote::Show() {
    HWND h = HandleNeeded();
    const bool wasShown = visible_;
    visible_ = true;
    if (!IsWindowVisible(h)) ShowWindow(h, appearsByItself_ ? SW_SHOWNA : SW_SHOW);
    if (!wasShown) FormShow();
    appearsByItself_ = false;
}

void TFStickyNote::Hide() {
    const bool wasShown = visible_;
    visible_ = false;
    if (HasHandle()) ShowWindow(Handle(), SW_HIDE);
    if (wasShown) FormHide();
}

void TFStickyNote::FormShow() {
    UpdateWindowRegion();
    SetAlphaBlend(true);
    // Check states still pending are applied by the checklist once it has its boxes;
    // otherwise the editor takes the keyboard, unless the note appeared by itself.
    if (!FStartChValue.empty()) companion_.StartTimer(kImportTimer, kImportTimerInterval);
    else if (!appearsByItself_ && RichEdit.CanFocus()) RichEdit.SetFocus();
    if (FMinimized) {
        SetSize(bounds_.Metrics().tileSize);
        UpdateWindowRegion();
        RepaintNow();
    }
}

void TFStickyNote::FormHide() { SetAlphaBlend(false); }

void TFStickyNote::SetAlphaBlend(bool on) {
    if (on == alphaBlend_) return;
    alphaBlend_ = on;
    if (!HasHandle()) return;
    HWND h = Handle();
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    if (on) {
        SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, 255, LWA_ALPHA);
    } else {
        SetWindowLongW(h, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

// ---- geometry ---------------------------------------------------------------------------

void TFStickyNote::MeasureLabels() {
    const int dpi = bounds_.Dpi();
    bounds_.SetLabelExtents(host_.Chrome().MeasureLabel(lOwner, dpi), host_.Chrome().MeasureLabel(lTime, dpi));
}

void TFStickyNote::SetPosition(int left, int top) {
    bounds_.Move(left, top);
    if (HasHandle())
        SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFStickyNote::SetSize(int width, int height) {
    bounds_.Resize(width, height);
    if (HasHandle())
        SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- display scale ------------------------------------------------------------------------

void TFStickyNote::TakeDpi(int dpi) {
    const int from = bounds_.Dpi();
    bounds_.SetDpi(dpi);
    dpi = bounds_.Dpi();
    FRequestedSize = {ScaleForDpi(UnscaleForDpi(FRequestedSize.x, from), dpi),
                      ScaleForDpi(UnscaleForDpi(FRequestedSize.y, from), dpi)};
    MeasureLabels();
    gutter_->SetDpi(dpi);
    ScrollBox->SetLineStep(bounds_.Metrics().scrollLine);
    // The editor draws its text at the system DPI; at another it is zoomed.
    RichEdit.SetDisplayZoom(dpi, SystemDpi());
}

void TFStickyNote::ApplyDpi(int dpi, const RECT* suggested) {
    const bool changed = dpi > 0 && dpi != bounds_.Dpi();
    if (changed) TakeDpi(dpi);
    if (!HasHandle() || (!changed && !suggested)) return;
    // The suggested rectangle places the window; its size is the note's own at the
    // new scale (the same up to rounding), so that going back and forth between
    // monitors never changes it.
    const int left = suggested ? suggested->left : bounds_.Left();
    const int top = suggested ? suggested->top : bounds_.Top();
    SetWindowPos(Handle(), nullptr, left, top, bounds_.Width(), bounds_.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (!changed) return;
    LayoutChildren();
    UpdateWindowRegion();
    if (ScrollBox->HasHandle()) {
        // The editor goes back to its place at the top of the body area, at the new scale.
        ScrollBox->ScrollTo({0, 0});
        const note::Rect at = bounds_.Metrics().editorInitialBounds;
        RichEdit.SetBounds(at.left, at.top, RichEdit.Width(), RichEdit.Height());
        ResizeRichEdit();
        UpdateCheckBoxes(false);
    }
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TFStickyNote::RepaintNow() {
    if (HasHandle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TFStickyNote::UpdateWindowRegion() {
    if (!HasHandle()) return;
    const note::NoteMetrics m = bounds_.Metrics();
    const int e = note::RegionEllipse(bounds_.WindowSize(), m.dpi);
    UniqueRegion region(
        CreateRoundRectRgn(0, 0, bounds_.Width() + m.regionOversize, bounds_.Height() + m.regionOversize, e, e));
    // On success the system owns the region; on failure it stays ours to delete.
    if (region && SetWindowRgn(Handle(), region.get(), TRUE)) region.release();
}

void TFStickyNote::LayoutChildren() {
    if (!HasHandle() || !ScrollBox->HasHandle()) return;
    const note::Rect body = bounds_.Layout().body;
    const int show = FMinimized ? SW_HIDE : SW_SHOWNA;
    SetWindowPos(pRchEdtBack1->Handle(), nullptr, body.left, body.top, body.width, body.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ScrollBox->SetBounds(body);
    ShowWindow(pRchEdtBack1->Handle(), show);
    ShowWindow(ScrollBox->Handle(), show);
}

void TFStickyNote::UpdateLayout() {
    bounds_.SetBodyRefreshed();
    LayoutChildren();
    ResizeRichEdit();
    if (HasHandle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TFStickyNote::ResizeRichEdit() {
    // A tile's body area has no room at all; the editor keeps its size until the
    // note is restored and the layout refresh sizes it again.
    if (FMinimized) return;
    const note::Size editor = bounds_.SizeEditor({FRequestedSize.x, FRequestedSize.y});
    RichEdit.SetBounds(RichEdit.Left(), RichEdit.Top(), editor.width, editor.height);
    ScrollBox->UpdateScrollRange();
}

// ---- editor -----------------------------------------------------------------------------

void TFStickyNote::RichEditChange() {
    host_.NoteTextChanged(*this);
    host_.SetSaveChangePending();
}

void TFStickyNote::RichEditResizeRequest(int width, int height) {
    FRequestedSize = {width, height};
    ResizeRichEdit();
}

// ---- labels -----------------------------------------------------------------------------

void TFStickyNote::SetOwnerText(std::u16string text) {
    lOwner = std::move(text);
    MeasureLabels();
    if (HasHandle()) InvalidateRect(Handle(), nullptr, FALSE);
    NoteAccessibleLink::NameChanged(Handle(), note::Control::lOwner);
}

void TFStickyNote::SetTimeText(std::u16string text) {
    lTime = std::move(text);
    MeasureLabels();
    if (HasHandle()) InvalidateRect(Handle(), nullptr, FALSE);
    NoteAccessibleLink::NameChanged(Handle(), note::Control::lTime);
}

// ---- window operations for the controller (Jotlet) --------------------------------------

WindowId TFStickyNote::NoteWindow() const noexcept { return ToWindowId(Handle()); }

bool TFStickyNote::NoteWindowVisible() const { return HasHandle() && IsWindowVisible(Handle()); }

bool TFStickyNote::NoteWindowEnabled() const { return HasHandle() && IsWindowEnabled(Handle()); }

void TFStickyNote::EnableNoteWindow(bool enabled) {
    if (HasHandle() && NoteWindowEnabled() != enabled) EnableWindow(Handle(), enabled);
}

void TFStickyNote::ActivateNoteWindow() {
    if (HasHandle()) SetForegroundWindow(Handle());
}

void TFStickyNote::BringToFront() {
    if (closing_) return;
    if (FBinding.IsBound()) {
        const HWND target = WndParent();
        if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
        SetForegroundWindow(target);
        // A note waiting for its restored window shows now, not at its next tick.
        if (!visible_) TimerTimer();
    }
    if (FMinimized) ImgSmallDblClick();
    ActivateNoteWindow();
    // Shown from the keyboard (All Notes), the note is ready to be typed into.
    FocusBody();
}

// The note's window goes (the next one is owned by the new target) and the tick places
// and shows it on the new window at once; a target that refuses it or no room for
// a window leaves it waiting there, as for a stored note, and never discards it.
void TFStickyNote::StickTo(WindowId target) {
    if (closing_) return;
    Hide();
    FBinding = NoteBinding::ForPickedWindow(target, TheWindowSystem());
    UpdateCaption();
    lTitle = FCaption;
    RecreateNativeWindow();
    FBinding.TimerTimer(false, host_.TrackingWindows(), tracked_);
}

} // namespace vn
