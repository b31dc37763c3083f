// The note's editor: the key-release rule, the wheel, the Cut/Copy/Paste menu, the
// Font command, and the checklist gutter beside the editor.
#include "note/sticky_note_win.h"

#include "note/font_dialog_win.h"
#include "note/note_body_win.h"
#include "note/note_checklist_win.h"
#include "note/note_host.h"
#include "platform/unique_handle_win.h"

namespace vn {

// The key table names the system's virtual keys by value; these are the same keys.
static_assert(note::kKeyShift == VK_SHIFT && note::kKeyControl == VK_CONTROL && note::kKeyAlt == VK_MENU);
static_assert(note::kKeyLeft == VK_LEFT && note::kKeyUp == VK_UP && note::kKeyRight == VK_RIGHT &&
              note::kKeyDown == VK_DOWN);
static_assert(note::kKeyC == 'C' && note::kKeyV == 'V' && note::kKeyX == 'X');
static_assert(note::kWheelNotch == WHEEL_DELTA);

namespace {

// Items of the editor's context menu `ppmRichEdit`.
enum MenuItem : UINT { Cut1 = 1, Copy1, Paste1 };

} // namespace

bool TFStickyNote::MayTakeKeyboard() const { return HasHandle() && GetForegroundWindow() == Handle(); }

// ---- key releases ------------------------------------------------------------------------

void TFStickyNote::RichEditKeyUp(WORD key, bool shift, bool alt, bool ctrl) {
    if (note::KeyReleaseRefreshesChecklist(key, {shift, alt, ctrl})) UpdateCheckBoxes(false);
}

// ---- wheel ---------------------------------------------------------------------------------

void TFStickyNote::RichEditMouseWheel(int delta) {
    const int notches = wheel_.Add(delta);
    if (notches > 0) RichEditMouseWheelUp(notches);
    else if (notches < 0) RichEditMouseWheelDown(-notches);
}

void TFStickyNote::RichEditMouseWheelDown(int notches) { ScrollBodyByNotches(-notches); }

void TFStickyNote::RichEditMouseWheelUp(int notches) { ScrollBodyByNotches(notches); }

void TFStickyNote::ScrollBodyByNotches(int notches) {
    if (!ScrollBox->HasHandle()) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    // Without a vertical bar the body fits: there is nothing to scroll.
    if (!(GetWindowLongW(ScrollBox->Handle(), GWL_STYLE) & WS_VSCROLL) ||
        !GetScrollInfo(ScrollBox->Handle(), SB_VERT, &si))
        return;
    const note::Point now = ScrollBox->ScrollPosition();
    const int y = note::WheelScrollPosition(now.y, notches, si.nMax - si.nMin + 1, static_cast<int>(si.nPage),
                                            bounds_.Dpi());
    ScrollBox->ScrollTo({now.x, y});
}

// ---- context menu --------------------------------------------------------------------------

void TFStickyNote::RichEditContextMenu(POINT screen) {
    UniqueMenu ppmRichEdit(CreatePopupMenu());
    if (!ppmRichEdit) return;
    // No shortcut texts, always enabled.
    AppendMenuW(ppmRichEdit.get(), MF_STRING, Cut1, L"Cut");
    AppendMenuW(ppmRichEdit.get(), MF_STRING, Copy1, L"Copy");
    AppendMenuW(ppmRichEdit.get(), MF_STRING, Paste1, L"Paste");
    // A popup menu closes on a click elsewhere only when its owner is in front.
    SetForegroundWindow(Handle());
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(ppmRichEdit.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         screen.x, screen.y, 0, Handle(), nullptr));
    PostMessageW(Handle(), WM_NULL, 0, 0);
    switch (chosen) {
    case Cut1: Cut1Click(); break;
    case Copy1: Copy1Click(); break;
    case Paste1: Paste1Click(); break;
    default: break;
    }
}

// The commands go to this editor alone, as its own messages: keystrokes put into the
// system's input would reach whatever window has the keyboard by the time they are
// read. A cut or a paste changes the lines, as Ctrl+X and Ctrl+V would.
void TFStickyNote::Cut1Click() {
    RichEdit.Cut();
    UpdateCheckBoxes(false);
}

void TFStickyNote::Copy1Click() { RichEdit.Copy(); }

void TFStickyNote::Paste1Click() {
    RichEdit.Paste();
    UpdateCheckBoxes(false);
}

// ---- font ----------------------------------------------------------------------------------

void TFStickyNote::FontCommand() {
    const TextAttributes now = RichEdit.SelAttributes();
    FontChoice initial;
    initial.name = now.name;
    initial.sizePoints = now.sizePoints;
    initial.bold = (now.style & StyleBold) != 0;
    initial.italic = (now.style & StyleItalic) != 0;
    initial.underline = (now.style & StyleUnderline) != 0;
    initial.strikeOut = (now.style & StyleStrikeOut) != 0;
    initial.color = now.color;
    // The dialog belongs to the program, not to the note: the note may be closed while
    // it is open (Delete, a quit), and is freed only after this handler returned.
    const std::optional<FontChoice> chosen = ChooseFontDialog(companion_.Handle(), initial);
    if (!chosen || closing_) return;

    RichEdit.SetSelFontName(chosen->name);
    RichEdit.SetSelSize(chosen->sizePoints);
    RichEdit.SetSelStyle((chosen->bold ? StyleBold : 0u) | (chosen->italic ? StyleItalic : 0u) |
                         (chosen->underline ? StyleUnderline : 0u) | (chosen->strikeOut ? StyleStrikeOut : 0u));
    RichEdit.SetSelColor(chosen->color, false);
    // The person chose the font for this note: it takes the keyboard back from the
    // dialog, so the text typed next gets it.
    if (visible_ && HasHandle()) {
        SetForegroundWindow(Handle());
        if (RichEdit.CanFocus()) RichEdit.SetFocus();
    }
    UpdateCheckBoxes(false);
    host_.SetSaveChangePending();
}

// ---- checklist -----------------------------------------------------------------------------

void TFStickyNote::UpdateCheckBoxes(bool AParkBodyArea) {
    // Boxes live in the body area; a note without a window has none to place.
    if (!HasHandle() || !ScrollBox->HasHandle()) return;
    NoteChecklistEditor editor(RichEdit, [this] { return visible_ && MayTakeKeyboard(); });
    bool changed = false;
    try {
        // Boxes made now for slots that had none change the range as well.
        changed = gutter_->MissesBoxes();
        gutter_->MakeMissingBoxes();
        changed = FChechBoxes.UpdateCheckBoxes(editor, *gutter_, AParkBodyArea, bounds_.Dpi()) || changed;
    } catch (...) {
        ScrollBox->UpdateScrollRange();
        throw;
    }
    // The boxes count for the body area's scroll range like the editor (which updates
    // it when it changes size itself): boxes left where they were change nothing.
    if (changed) ScrollBox->UpdateScrollRange();
}

void TFStickyNote::ImportTimerTimer() {
    companion_.StopTimer(kImportTimer);
    if (FStartChValue.empty() || !HasHandle()) return;
    // No Enter and Backspace are typed to make the editor lay out its lines: the
    // walk reads their places from the control, and the body stays as loaded.
    UpdateCheckBoxes(true);
    FChechBoxes.ApplyStates(FStartChValue, *gutter_);
    FStartChValue.clear();
}

} // namespace vn
