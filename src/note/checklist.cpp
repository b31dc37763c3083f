#include "note/checklist.h"

#include <exception>
#include <utility>

namespace vn::note {
namespace {

struct OffsetRow {
    int sizePoints;
    int offset;
};
constexpr OffsetRow kOffsets[] = {{8, 0},   {9, 0},   {10, 1},  {11, 3},  {12, 4},  {14, 6},  {16, 7},  {18, 9},
                                  {20, 10}, {22, 12}, {24, 14}, {26, 16}, {28, 18}, {36, 25}, {48, 35}, {72, 55}};

} // namespace

std::optional<int> CheckBoxOffset(int sizePoints, int dpi) {
    for (const OffsetRow& row : kOffsets)
        if (row.sizePoints == sizePoints) return ScaleForDpi(row.offset, dpi);
    return std::nullopt;
}

void CheckBoxes::SetTicked(int line, bool ticked) {
    if (line >= 0 && line < kCheckBoxSlots) slots_[static_cast<size_t>(line)].ticked = ticked;
}

bool CheckBoxes::UpdateCheckBoxes(ChecklistEditor& editor, CheckBoxView& view, bool parkBodyArea, int dpi) {
    if (parkBodyArea) view.ParkBodyArea(true);
    bool changed = false;
    std::exception_ptr failure;
    // Remembered just before the caret first moves; a walk that reads every line's
    // place directly leaves selection and format untouched.
    std::optional<int> start, length;
    CharAttributes remembered;
    try {
        const int lines = editor.LineCount();
        // Before the first size the table knows, a box sits right at the caret.
        int offset = 0;
        for (int i = 0; i < kCheckBoxSlots; ++i) {
            CheckSlot& slot = slots_[static_cast<size_t>(i)];
            if (i >= lines) {
                // Past the last line the caret would stay at the end of the text:
                // nothing is left to read, only boxes to hide.
                if (slot.made && slot.shown) {
                    view.ShowBox(i, false);
                    slot.shown = false;
                    changed = true;
                }
                continue;
            }
            if (i == 0) editor.FocusForWalk();
            std::optional<int> caret;
            if (const std::optional<LinePlace> place = editor.PlaceOfLine(i)) {
                caret = place->y;
                if (const std::optional<int> hit = CheckBoxOffset(place->sizePoints, dpi)) offset = *hit;
            } else {
                if (!start) {
                    remembered = editor.SelAttributes();
                    const int from = editor.SelStart();
                    length = editor.SelLength();
                    start = from;
                }
                // The caret to the start of line i.
                editor.SetSelStart(i == 0 ? 0 : editor.LineStart(i));
                if (const std::optional<int> hit = CheckBoxOffset(editor.SelSize(), dpi)) offset = *hit;
                caret = editor.CaretY();
            }
            if (!slot.made) {
                // Made hidden and unticked, where the caret says (or at the editor's
                // top when it cannot be read).
                if (caret) slot.top = *caret + offset;
                view.CreateBox(i, slot.top);
                slot.made = true;
                changed = true;
            } else if (caret && *caret + offset != slot.top) {
                slot.top = *caret + offset;
                view.MoveBox(i, slot.top);
                changed = true;
            }
            if (!slot.shown) {
                view.ShowBox(i, true);
                slot.shown = true;
                changed = true;
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // Put back what the walk moved, even when it was cut short.
    try {
        if (start) {
            editor.SetSelStart(*start);
            editor.SetSelLength(*length);
            // The caret steps lost the format chosen for the text typed next; a real
            // selection keeps its own (possibly mixed) formatting untouched.
            if (*length == 0) editor.SetSelAttributes(remembered);
        }
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (parkBodyArea) {
        try {
            view.ParkBodyArea(false);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
    return changed;
}

void CheckBoxes::ApplyStates(std::u16string_view states, CheckBoxView& view) {
    for (size_t i = 0; i < states.size() && i < static_cast<size_t>(kCheckBoxSlots); ++i) {
        CheckSlot& slot = slots_[i];
        if (states[i] != u'1' || !slot.made || slot.ticked) continue;
        view.TickBox(static_cast<int>(i), true);
        slot.ticked = true;
    }
}

} // namespace vn::note
