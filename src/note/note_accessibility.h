#pragma once
// What a screen reader is told about the parts drawn on the note: the labels, the
// picture buttons, the grip, the tagline and the tile are no windows of their own, so
// the note describes them itself (name, role, state, default action, place, order).
// The check boxes are windows; only their names come from here. Plain data, so every
// part in every state of the note is checked without a window system.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "note/note_layout.h"

namespace vn::note {

enum class AccessRole { Pane, StaticText, PushButton, Grip };

// States of a part, as bits.
enum AccessState : unsigned {
    kAccessNormal = 0,
    kAccessInvisible = 1u << 0,  // hidden while the note is (or is not) a tile
    kAccessFocusable = 1u << 1,
    kAccessFocused = 1u << 2,
    kAccessHot = 1u << 3,  // under the mouse
};

// The note as it is at the moment of a question.
struct NoteAccessView {
    NoteLayout layout;
    bool minimized = false;
    Control hovered = Control::None;
    Control focused = Control::None;
    std::u16string_view title;
    std::u16string_view owner;
    std::u16string_view time;
    std::u16string_view tagline;
};

struct AccessiblePart {
    Control control = Control::None;
    AccessRole role = AccessRole::StaticText;
    std::u16string name;
    // What a label's text is (a computer name alone says little); empty for buttons.
    std::u16string_view description;
    unsigned states = kAccessNormal;
    // Empty when the part does nothing when used.
    std::u16string_view defaultAction;
    friend bool operator==(const AccessiblePart&, const AccessiblePart&) = default;
};

// The parts a screen reader sees, in reading order: top to bottom, left to right.
// The body's windows (editor and check boxes) come after the last part of
// kPartsAboveBody, and the tile, the note's only part while it is one, comes last.
// The background and the separator line are decoration and are left out.
std::span<const Control> AccessibleParts();
inline constexpr int kPartsAboveBody = 8;
bool IsAccessiblePart(Control c);

// A part as it is in `view`; nothing for a part that is not exposed.
std::optional<AccessiblePart> DescribePart(const NoteAccessView& view, Control c);

// The exposed part at `p` (window coordinates), None over decoration or outside.
Control AccessibleHitTest(const NoteAccessView& view, Point p);

// The visible part after (`forward`) or before `from` in reading order; None at the
// end. From None: the first (or last) visible part.
Control NavigateParts(const NoteAccessView& view, Control from, bool forward);

// The name of the note itself: the window it sits on, as the person knows it.
std::u16string NoteAccessibleName(std::u16string_view targetCaption);

// The name of the check box beside line `line` (from 0): the text of its line, as the
// person reads it next to the box, else "Line N" for an empty line.
std::u16string CheckBoxAccessibleName(int line, std::u16string_view lineText);
// The longest name a check box gets from its line; a longer line is cut at a word.
inline constexpr size_t kCheckBoxNameLimit = 80;

} // namespace vn::note
