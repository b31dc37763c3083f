#include "note/note_checklist_win.h"

#include <commctrl.h>

#include <string>

#include "note/note_accessibility.h"
#include "note/note_checkbox_accessible_win.h"
#include "note/note_metrics.h"
#include "note/rich_edit_win.h"
#include "platform/guarded.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

namespace vn {
namespace {
constexpr UINT_PTR kBoxSubclassId = 1;
} // namespace

HWND NoteCheckBoxGutter::MakeBox(int line, int top) {
    if (!budget_.Take(note::kCheckBoxCost)) return nullptr;
    // A plain two-state box that ticks itself on a click or the Space key; it is a
    // tab stop like the editor.
    const DWORD style = WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;
    const note::NoteMetrics m = note::NoteMetricsAt(dpi_);
    HWND box = CreateWindowExW(0, L"BUTTON", L"", style, m.checkBoxLeft, editor_.Top() + top, m.checkBoxSize,
                               m.checkBoxSize, bodyArea_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + line)), Window::Instance(),
                               nullptr);
    if (!box) {
        const DWORD error = GetLastError();
        budget_.Give(note::kCheckBoxCost);
        throw OSError(error, Utf8(SystemErrorMessage(error)));
    }
    Window::MarkOwn(box);
    Window::ReflectNotifications(box);
    SetWindowSubclass(box, &BoxProc, kBoxSubclassId, reinterpret_cast<DWORD_PTR>(this));
    boxes_[static_cast<size_t>(line)] = box;
    return box;
}

LRESULT CALLBACK NoteCheckBoxGutter::BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR gutter) noexcept {
    if (message == kReflectedMessage + WM_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED)
            Guarded([&] { reinterpret_cast<NoteCheckBoxGutter*>(gutter)->BoxClicked(box); });
        return 0;
    }
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        auto* self = reinterpret_cast<NoteCheckBoxGutter*>(gutter);
        const int line = GetDlgCtrlID(box) - kFirstBoxId;
        bool taken = false;
        if (self->keyDown_) Guarded([&] { taken = self->keyDown_(line, wParam, lParam); });
        if (taken) return 0;
    }
    // A box shows the focus cue when its note does: the note's window holds the
    // keyboard cues' state, whenever the box was made.
    if (message == WM_QUERYUISTATE) {
        if (HWND root = GetAncestor(box, GA_ROOT); root && root != box) return SendMessageW(root, message, 0, 0);
    }
    if (message == BM_SETCHECK) return SetCheckAnnounced(box, wParam, lParam);
    if (message == WM_GETOBJECT)
        if (const LRESULT object = CheckBoxAccessibleObject(box, wParam, lParam)) return object;
    if (message == kCheckBoxNameMessage) {
        auto* name = reinterpret_cast<std::u16string*>(lParam);
        Guarded([&] { *name = reinterpret_cast<const NoteCheckBoxGutter*>(gutter)->AccessibleName(box); });
        return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &BoxProc, kBoxSubclassId);
    return DefSubclassProc(box, message, wParam, lParam);
}

std::u16string NoteCheckBoxGutter::AccessibleName(HWND box) const {
    const int line = GetDlgCtrlID(box) - kFirstBoxId;
    return note::CheckBoxAccessibleName(line, editor_.LineText(line));
}

void NoteCheckBoxGutter::BoxClicked(HWND box) {
    const int line = GetDlgCtrlID(box) - kFirstBoxId;
    if (line < 0 || line >= note::kCheckBoxSlots || Box(line) != box) return;
    slots_.SetTicked(line, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void NoteCheckBoxGutter::Attach(HWND bodyArea) {
    Detach();
    bodyArea_ = bodyArea;
    MakeMissingBoxes();
}

void NoteCheckBoxGutter::MakeMissingBoxes() {
    if (!bodyArea_) return;
    for (int line = 0; line < note::kCheckBoxSlots; ++line) {
        const note::CheckSlot& slot = slots_.Slot(line);
        if (!slot.made || Box(line)) continue;
        HWND box = MakeBox(line, slot.top);
        if (!box) return;  // no room: the rest wait as well
        if (slot.ticked) SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        if (slot.shown) ShowWindow(box, SW_SHOWNA);
    }
}

bool NoteCheckBoxGutter::MissesBoxes() const {
    if (!bodyArea_) return false;
    for (int line = 0; line < note::kCheckBoxSlots; ++line)
        if (slots_.Slot(line).made && !Box(line)) return true;
    return false;
}

void NoteCheckBoxGutter::Detach() noexcept {
    // The boxes went with the body area (or are about to): their share comes back.
    for (HWND& box : boxes_)
        if (box) {
            budget_.Give(note::kCheckBoxCost);
            box = nullptr;
        }
    bodyArea_ = nullptr;
}

void NoteCheckBoxGutter::CreateBox(int line, int top) {
    if (bodyArea_) MakeBox(line, top);
}

void NoteCheckBoxGutter::MoveBox(int line, int top) {
    // Boxes a line apart overlap while the walk moves them one by one after a size
    // change; the pixels a move would copy along can hold a piece of the neighbour,
    // which then stays on the screen until the next full repaint. A box repainted
    // where it lands costs next to nothing.
    if (HWND box = Box(line))
        SetWindowPos(box, nullptr, note::NoteMetricsAt(dpi_).checkBoxLeft, editor_.Top() + top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void NoteCheckBoxGutter::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    const note::NoteMetrics m = note::NoteMetricsAt(dpi_);
    for (int line = 0; line < note::kCheckBoxSlots; ++line)
        if (HWND box = Box(line))
            SetWindowPos(box, nullptr, m.checkBoxLeft, editor_.Top() + slots_.Slot(line).top, m.checkBoxSize,
                         m.checkBoxSize, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void NoteCheckBoxGutter::ShowBox(int line, bool shown) {
    if (HWND box = Box(line)) ShowWindow(box, shown ? SW_SHOWNA : SW_HIDE);
}

void NoteCheckBoxGutter::TickBox(int line, bool ticked) {
    if (HWND box = Box(line)) SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void NoteCheckBoxGutter::ParkBodyArea(bool parked) {
    if (!bodyArea_) return;
    RECT r{};
    GetWindowRect(bodyArea_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(bodyArea_), reinterpret_cast<POINT*>(&r), 2);
    if (parked) parkedFrom_ = r.left;
    const int left = parked ? note::kParkedBodyLeft : parkedFrom_;
    SetWindowPos(bodyArea_, nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- the editor as the walk sees it ---------------------------------------------------

int NoteChecklistEditor::LineCount() const { return editor_.LineCount(); }
int NoteChecklistEditor::LineStart(int line) const { return editor_.LineStart(line); }
int NoteChecklistEditor::SelStart() const { return editor_.SelStart(); }
void NoteChecklistEditor::SetSelStart(int start) { editor_.SetSelStart(start); }
int NoteChecklistEditor::SelLength() const { return editor_.SelLength(); }
void NoteChecklistEditor::SetSelLength(int length) { editor_.SetSelLength(length); }
int NoteChecklistEditor::SelSize() const { return editor_.SelSize(); }

note::CharAttributes NoteChecklistEditor::SelAttributes() const {
    const TextAttributes a = editor_.SelAttributes();
    return {a.name, a.sizePoints, static_cast<std::uint32_t>(a.color), a.autoColor, a.style};
}

void NoteChecklistEditor::SetSelAttributes(const note::CharAttributes& a) {
    editor_.SetSelFontName(a.name);
    editor_.SetSelSize(a.sizePoints);
    editor_.SetSelColor(static_cast<COLORREF>(a.color), a.autoColor);
    editor_.SetSelStyle(a.style);
}

void NoteChecklistEditor::FocusForWalk() {
    if (!editor_.HasFocus() && editor_.CanFocus() && mayTakeKeyboard_()) editor_.SetFocus();
}

std::optional<int> NoteChecklistEditor::CaretY() const {
    POINT p{};
    if (editor_.CaretPos(p)) return p.y;
    // Without the focus there is no caret to ask (a note that appeared by itself
    // leaves the focus where it is): where it would stand is worked out from the
    // control's row and fonts, else the row's top stands in for it.
    const int start = editor_.SelStart();
    if (const std::optional<int> y = editor_.CaretTopAtRowStart(start)) return y;
    if (editor_.CharPos(start, p)) return p.y;
    return std::nullopt;
}

std::optional<note::LinePlace> NoteChecklistEditor::PlaceOfLine(int line) const {
    // With word wrap off a line is one row of the control. A place the control can
    // tell without the caret is most of the walk's cost saved; any other line gets the
    // caret step.
    const std::optional<RowPlace> place = editor_.PlaceOfRowStart(line);
    if (!place) return std::nullopt;
    return note::LinePlace{place->y, place->sizePoints};
}

} // namespace vn
