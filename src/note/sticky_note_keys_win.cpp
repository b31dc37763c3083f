// The keyboard on a note: Tab and Shift+Tab through the picture buttons, the
// checklist and the body; Enter and Space on a button; the arrows among the boxes;
// Enter on a tile; Alt+F7 and Alt+F8 to move and size the window; the focus cues.
// The buttons are drawn on the note window, which holds the keyboard for them.
#include <optional>
#include <utility>

#include "note/note_checklist_win.h"
#include "note/note_chrome_win.h"
#include "note/sticky_note_win.h"

namespace vn {

using note::Control;
using note::FocusStop;
using note::KeyCommand;

static_assert(note::kKeyTab == VK_TAB && note::kKeyReturn == VK_RETURN && note::kKeyEscape == VK_ESCAPE &&
              note::kKeySpace == VK_SPACE && note::kKeyF7 == VK_F7 && note::kKeyF8 == VK_F8);

namespace {

note::KeyPress KeyPressOf(WPARAM key, LPARAM flags) {
    note::KeyPress k;
    k.key = static_cast<unsigned>(key);
    k.shift = GetKeyState(VK_SHIFT) < 0;
    k.ctrl = GetKeyState(VK_CONTROL) < 0;
    k.alt = (flags & (1 << 29)) != 0 || GetKeyState(VK_MENU) < 0;
    k.repeat = (flags & (1 << 30)) != 0;
    return k;
}

FocusStop StopOfPart(Control part) {
    switch (part) {
    case Control::ImgMinimize: return FocusStop::Minimize;
    case Control::ImgSave: return FocusStop::Save;
    case Control::ImgImport: return FocusStop::Import;
    case Control::ImgFont: return FocusStop::Font;
    case Control::ImgDelete: return FocusStop::Delete;
    default: return FocusStop::Body;
    }
}

} // namespace

Control TFStickyNote::FocusedPart() const {
    if (!HasHandle() || GetFocus() != Handle()) return Control::None;
    return FMinimized ? Control::ImgSmall : focusedPart_;
}

// ---- keys -------------------------------------------------------------------------------

bool TFStickyNote::NoteKeyDown(WPARAM key, LPARAM flags) {
    const note::KeyPress k = KeyPressOf(key, flags);
    if (keySizing_.Active() != note::KeyboardSizing::Mode::None) {
        if (k.key == note::kKeyReturn) EndKeyboardSizing(false);
        else if (k.key == note::kKeyEscape) EndKeyboardSizing(true);
        else Carry(keySizing_.Arrow(k.key, k.ctrl, bounds_));
        return true;  // no other key acts while the window is moved or sized
    }
    const FocusStop at = FMinimized ? FocusStop::Tile : StopOfPart(focusedPart_);
    return RunKey(at, k, -1);
}

bool TFStickyNote::EditorKeyDown(WPARAM key, LPARAM flags) {
    return RunKey(FocusStop::Body, KeyPressOf(key, flags), -1);
}

bool TFStickyNote::BoxKeyDown(int line, WPARAM key, LPARAM flags) {
    return RunKey(FocusStop::Checklist, KeyPressOf(key, flags), line);
}

bool TFStickyNote::RunKey(FocusStop at, const note::KeyPress& key, int line) {
    const KeyCommand command = note::CommandFor(at, key);
    if (command == KeyCommand::None) return false;
    const auto running = HandlerScope();
    ShowFocusCues();
    switch (command) {
    case KeyCommand::NextStop:
    case KeyCommand::PreviousStop:
        MoveFocusTo(note::NextStop(at, command == KeyCommand::PreviousStop, AnyBoxShown()));
        break;
    case KeyCommand::Press:
        // As a click on the button: Delete may close the note, Font opens a dialog.
        RunCommand(focusedPart_);
        if (FMinimized) NotifyFocus();  // Minimize: the tile has the keyboard now
        break;
    case KeyCommand::Restore:
        ImgSmallDblClick();
        FocusBody();
        break;
    case KeyCommand::PreviousBox:
    case KeyCommand::NextBox:
        if (const auto next = note::NextShownBox(BoxShown(), line, command == KeyCommand::NextBox ? 1 : -1))
            ::SetFocus(CheckBox(*next));
        break;
    case KeyCommand::BeginMove: BeginKeyboardSizing(note::KeyboardSizing::Mode::Move); break;
    case KeyCommand::BeginSize: BeginKeyboardSizing(note::KeyboardSizing::Mode::Size); break;
    case KeyCommand::None: break;
    }
    return true;
}

// ---- the focus among the stops -------------------------------------------------------------

note::BoxShown TFStickyNote::BoxShown() const {
    return [this](int line) {
        const note::CheckSlot& slot = FChechBoxes.Slot(line);
        return slot.made && slot.shown && CheckBox(line);
    };
}

bool TFStickyNote::AnyBoxShown() const { return note::FirstShownBox(BoxShown()).has_value(); }

void TFStickyNote::MoveFocusTo(FocusStop stop) {
    if (!HasHandle()) return;
    switch (stop) {
    case FocusStop::Body: FocusBody(); return;
    case FocusStop::Checklist:
        if (const std::optional<int> first = note::FirstShownBox(BoxShown())) ::SetFocus(CheckBox(*first));
        return;
    default: break;
    }
    SetFocusedPart(note::PartOf(stop));
    // The note window keeps the keyboard (KeepsKeyboard) and tells of the focus as it gets it.
    if (GetFocus() != Handle()) ::SetFocus(Handle());
    else NotifyFocus();
}

void TFStickyNote::TakeKeyboardFromBody() {
    // The system leaves the keyboard in a window that is hidden with its parent:
    // the keys would go on typing into the hidden body of a tile.
    if (HWND focus = GetFocus(); HasHandle() && focus && IsChild(Handle(), focus)) ::SetFocus(Handle());
}

void TFStickyNote::SetFocusedPart(Control part) {
    if (part == focusedPart_) return;
    const Control was = std::exchange(focusedPart_, part);
    PaintImageButton(was);
    PaintImageButton(part);
}

void TFStickyNote::FocusBody() {
    if (!HasHandle() || GetForegroundWindow() != Handle()) return;
    SetFocusedPart(Control::None);
    if (RichEdit.CanFocus()) RichEdit.SetFocus();
}

bool TFStickyNote::KeepsKeyboard() const {
    return focusedPart_ != Control::None || FMinimized || keySizing_.Active() != note::KeyboardSizing::Mode::None;
}

void TFStickyNote::KeyboardGained() {
    PaintImageButton(FMinimized ? Control::ImgSmall : focusedPart_);
    NotifyFocus();
}

void TFStickyNote::KeyboardLost(HWND to) {
    if (keySizing_.Active() != note::KeyboardSizing::Mode::None) {
        // Another window took the keyboard: the window stays where the keys put it.
        sizingReturnFocus_ = nullptr;
        Carry(keySizing_.Finish());
    }
    // Into the body or onto a box: no button has the focus any more. To another
    // window: the button gets it back when the note does.
    if (to && IsChild(Handle(), to)) SetFocusedPart(Control::None);
    else PaintImageButton(FMinimized ? Control::ImgSmall : focusedPart_);
}

void TFStickyNote::NotifyFocus() const {
    const Control part = FocusedPart();
    if (part != Control::None) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, static_cast<LONG>(part));
}

// ---- focus cues ------------------------------------------------------------------------------

// The note keeps the state of its cues itself and answers WM_QUERYUISTATE with it
// (not every system keeps it for a window that is no dialog); the boxes ask the note.
// The change still goes through WM_UPDATEUISTATE, so that the system's own handling
// passes it on to the children.
void TFStickyNote::HideFocusCues() {
    if (HasHandle()) SendMessageW(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

void TFStickyNote::ShowFocusCues() {
    if (!HasHandle() || FocusCuesShown()) return;
    SendMessageW(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) InvalidateRect(focus, nullptr, TRUE);
}

void TFStickyNote::FocusCuesChanged(WPARAM change) {
    const WORD action = LOWORD(change);
    if (!(HIWORD(change) & UISF_HIDEFOCUS) || (action != UIS_SET && action != UIS_CLEAR)) return;
    const bool hide = action == UIS_SET;
    if (hide == hideFocusCues_) return;
    hideFocusCues_ = hide;
    PaintImageButton(FMinimized ? Control::ImgSmall : focusedPart_);
}

LRESULT TFStickyNote::FocusCueState() const { return hideFocusCues_ ? UISF_HIDEFOCUS : 0; }

bool TFStickyNote::FocusCuesShown() const { return HasHandle() && !hideFocusCues_; }

void TFStickyNote::DrawFocusCue(HDC dc) const {
    const Control part = FocusedPart();
    if (part == Control::None || !FocusCuesShown()) return;
    // A dotted rectangle just inside the picture, as a push button draws its own.
    constexpr int kInset = 3;
    const note::Rect r = bounds_.Layout().Of(part);
    const RECT cue{r.left + kInset, r.top + kInset, r.Right() - kInset, r.Bottom() - kInset};
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &cue);
}

// ---- move and size ---------------------------------------------------------------------------

void TFStickyNote::BeginKeyboardSizing(note::KeyboardSizing::Mode mode) {
    if (!HasHandle() || keySizing_.Active() != note::KeyboardSizing::Mode::None) return;
    HWND focus = GetFocus();
    Carry(keySizing_.Begin(mode, bounds_));
    // The note window takes the arrows, Enter and Esc until the move or size ends.
    sizingReturnFocus_ = focus;
    if (focus != Handle()) ::SetFocus(Handle());
}

void TFStickyNote::EndKeyboardSizing(bool cancel) {
    HWND back = std::exchange(sizingReturnFocus_, nullptr);
    Carry(cancel ? keySizing_.Cancel(bounds_) : keySizing_.Finish());
    if (back && back != Handle() && IsWindow(back) && IsChild(Handle(), back)) ::SetFocus(back);
}

} // namespace vn
