#pragma once
// The checklist gutter's rules: one check box beside each of the first 100 body
// lines, placed where the caret stands at the line's start, corrected by a per-size
// offset. Portable: the editor and the native
// boxes are reached through the two small interfaces below.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dpi_scale.h"

namespace vn::note {

inline constexpr int kCheckBoxSlots = 100;
inline constexpr int kCheckBoxLeft = 3;
inline constexpr int kCheckBoxSize = 13;
// While stored states are applied the body area is moved out of sight, so that the
// caret steps are not seen.
inline constexpr int kParkedBodyLeft = -1000;

// The vertical offset of a box below the caret for a font size in whole points, at
// `dpi`; nothing for a size the table does not hold.
std::optional<int> CheckBoxOffset(int sizePoints, int dpi = kBaseDpi);

// Character attributes as the walk remembers and restores them.
struct CharAttributes {
    std::u16string name;
    int sizePoints = 10;
    std::uint32_t color = 0;  // red in the low byte; with autoColor the window-text colour
    bool autoColor = true;
    unsigned style = 0;  // bold 1, italic 2, underline 4, strikeout 8
    friend bool operator==(const CharAttributes&, const CharAttributes&) = default;
};

// Where a line starts as the caret would show it there: the caret's y and the size of
// the text at the line's start, in whole points.
struct LinePlace {
    int y = 0;
    int sizePoints = 0;
};

// What the walk asks of the editor.
class ChecklistEditor {
public:
    virtual ~ChecklistEditor() = default;
    // Lines of the body; a last line that is empty does not count.
    virtual int LineCount() const = 0;
    // Character position of the start of line `line` (below LineCount()). With word
    // wrap off this is the previous start + the previous line's length + 1.
    virtual int LineStart(int line) const = 0;
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int start) = 0;  // collapses the selection
    virtual int SelLength() const = 0;
    virtual void SetSelLength(int length) = 0;
    virtual CharAttributes SelAttributes() const = 0;
    // Just the size of SelAttributes(), in whole points: all a pass needs.
    virtual int SelSize() const = 0;
    // Name, size, colour and style, in this order.
    virtual void SetSelAttributes(const CharAttributes& attributes) = 0;
    // Gives the editor the keyboard focus when the note is shown, the editor can
    // take it and the note may take the keyboard (it is the active window): a note
    // that appeared by itself leaves the focus where the person has it.
    virtual void FocusForWalk() = 0;
    // The caret's y in the editor; nothing when it cannot be read.
    virtual std::optional<int> CaretY() const = 0;
    // The place of line `line`'s start (below LineCount()) read without moving the
    // selection or the caret; nothing when the editor cannot tell, and the walk then
    // steps the caret there.
    virtual std::optional<LinePlace> PlaceOfLine(int line) const = 0;
};

// One slot of the gutter, kept by the note so that the boxes can be made again
// when its native window is.
struct CheckSlot {
    bool made = false;
    bool ticked = false;
    bool shown = false;
    int top = 0;  // relative to the editor's top: the box sits at editor top + top
};

// What the walk asks of the native boxes. Only calls that change something are made.
class CheckBoxView {
public:
    virtual ~CheckBoxView() = default;
    // Makes the hidden, unticked box of line `line` ("ch" + line, left 3, 13 x 13,
    // empty caption) at `top` below the editor's top.
    virtual void CreateBox(int line, int top) = 0;
    virtual void MoveBox(int line, int top) = 0;
    virtual void ShowBox(int line, bool shown) = 0;
    virtual void TickBox(int line, bool ticked) = 0;
    // Moves the body area out of sight (left -1000) and back.
    virtual void ParkBodyArea(bool parked) = 0;
};

// The 100 slots of a note (`FChechBoxes`): filled on demand, never emptied.
class CheckBoxes {
public:
    const CheckSlot& Slot(int line) const { return slots_.at(static_cast<size_t>(line)); }
    bool Ticked(int line) const { return line >= 0 && line < kCheckBoxSlots && Slot(line).ticked; }
    // A click on a box: the tick is what the box now shows.
    void SetTicked(int line, bool ticked);

    // The checklist walk (`UpdateCheckBoxes`). Passes run over the body's lines, up
    // to 100; boxes of missing lines are hidden and keep their ticks. A line whose
    // place the editor cannot read directly is reached by moving the caret; then the
    // selection is restored afterwards, also after a failure, and the remembered
    // attributes are re-applied only to an empty selection (a selection keeps its
    // mixed formatting).
    // With `parkBodyArea` the body area is out of sight meanwhile. A failure of the
    // editor or a box goes on to the caller once selection and body area are restored.
    // True when a box was made, moved, shown or hidden. `dpi` is the body's: the
    // offsets below the caret are scaled to it.
    bool UpdateCheckBoxes(ChecklistEditor& editor, CheckBoxView& view, bool parkBodyArea, int dpi = kBaseDpi);

    // Ticks box i for every "1" at position i of a stored check-state string, for
    // the boxes that exist; other characters and later positions change nothing.
    void ApplyStates(std::u16string_view states, CheckBoxView& view);

private:
    std::array<CheckSlot, kCheckBoxSlots> slots_{};
};

} // namespace vn::note
