#pragma once
// NoteCheckBoxGutter owns the native check boxes of a note's gutter: children of the
// body area, made from the note's slots whenever the body area is new, and the
// editor as the checklist walk sees it. Every box is counted in the handle budget;
// a box the budget has no room for is not made, and its slot (tick included) waits
// for MakeMissingBoxes. A box handles its own click (the window layer reflects it
// back from the body area): its tick goes into its slot.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "note/checklist.h"
#include "note/handle_budget.h"

namespace vn {

class RichEdit;

class NoteCheckBoxGutter final : public note::CheckBoxView {
public:
    // Control ids of the boxes: kFirstBoxId + line ("ch0" .. "ch99").
    static constexpr int kFirstBoxId = 1000;

    // `editor` gives the top the boxes are placed against; `slots` are the note's.
    NoteCheckBoxGutter(const RichEdit& editor, note::CheckBoxes& slots, note::HandleBudget& budget)
        : editor_(editor), slots_(slots), budget_(budget) {}

    // Makes the boxes of every made slot in a new body area, ticked, shown and placed
    // as the slots say. Raises OSError when the system refuses a box.
    void Attach(HWND bodyArea);
    // Makes the boxes of made slots that have none (the budget had no room for them),
    // as far as the budget allows now. Raises OSError when the system refuses a box.
    void MakeMissingBoxes();
    // True when a made slot has no box.
    bool MissesBoxes() const;
    // The body area went, and its boxes with it.
    void Detach() noexcept;

    HWND Box(int line) const { return boxes_.at(static_cast<size_t>(line)); }
    // The keys going down on a box (WM_KEYDOWN or WM_SYSKEYDOWN, its own parameters):
    // true when the owner took the key, and the box then never sees it.
    using KeyDown = std::function<bool(int line, WPARAM key, LPARAM flags)>;
    void SetKeyDown(KeyDown keyDown) { keyDown_ = std::move(keyDown); }

    // The note's display scale: boxes are made at its size and left, and those there
    // are take them now (the next walk moves them to their lines).
    void SetDpi(int dpi);
    int Dpi() const noexcept { return dpi_; }

    void CreateBox(int line, int top) override;
    void MoveBox(int line, int top) override;
    void ShowBox(int line, bool shown) override;
    void TickBox(int line, bool ticked) override;
    void ParkBodyArea(bool parked) override;

private:
    HWND MakeBox(int line, int top);
    // A box's click (BN_CLICKED): its tick goes into the slot. No save is scheduled.
    void BoxClicked(HWND box);
    // A box's name for screen readers: the text of its line.
    std::u16string AccessibleName(HWND box) const;
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR gutter) noexcept;

    const RichEdit& editor_;
    note::CheckBoxes& slots_;
    note::HandleBudget& budget_;
    HWND bodyArea_ = nullptr;
    int parkedFrom_ = 0;  // the body area's left while it is parked
    int dpi_ = kBaseDpi;
    std::array<HWND, note::kCheckBoxSlots> boxes_{};
    KeyDown keyDown_;
};

// The editor as the walk drives it. `mayTakeKeyboard` says whether the walk may
// give the editor the focus: not while the note is not the foreground window.
class NoteChecklistEditor final : public note::ChecklistEditor {
public:
    NoteChecklistEditor(RichEdit& editor, std::function<bool()> mayTakeKeyboard)
        : editor_(editor), mayTakeKeyboard_(std::move(mayTakeKeyboard)) {}

    int LineCount() const override;
    int LineStart(int line) const override;
    int SelStart() const override;
    void SetSelStart(int start) override;
    int SelLength() const override;
    void SetSelLength(int length) override;
    note::CharAttributes SelAttributes() const override;
    int SelSize() const override;
    void SetSelAttributes(const note::CharAttributes& attributes) override;
    void FocusForWalk() override;
    std::optional<int> CaretY() const override;
    std::optional<note::LinePlace> PlaceOfLine(int line) const override;

private:
    RichEdit& editor_;
    std::function<bool()> mayTakeKeyboard_;
};

} // namespace vn
