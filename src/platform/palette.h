#pragma once
// Which colour each painted part takes: the program's own fixed colours normally,
// the system's colours while high contrast is on. The one place that chooses; the
// windows only ask. A note's body is not painted from here: its text and colours
// belong to the person and keep their own look in every mode.
#include <array>
#include <cstddef>
#include <optional>

#include "platform/theme.h"

namespace vn {

// The system colours high contrast uses (the COLOR_* of the same names).
enum class SystemColor : unsigned {
    Window,
    WindowText,
    ButtonFace,
    ButtonText,
    Highlight,
    HighlightText,
    GrayText,
    Count
};

struct SystemColors {
    std::array<Rgb, static_cast<size_t>(SystemColor::Count)> colors{};
    Rgb Of(SystemColor c) const { return colors[static_cast<size_t>(c)]; }
};

// The parts of a note's chrome that have a colour of their own.
enum class ChromePart : unsigned {
    NoteFill,     // background shape of an open note, and the window around it
    TileFill,     // background shape of a tile
    Outline,      // the shape's outline
    Separator,    // line under the title
    LabelText,    // title, computer, time and tagline
    ButtonFace,   // picture button
    ButtonText,
    HoverFace,    // picture button under the mouse
    HoverText,
    GripFace,     // resize grip
    GripStroke,
    Count
};

// The colour of a chrome part: in high contrast a system colour; normally the fixed
// note colours (the labels take the system's window text, as they always have), and
// none for the parts drawn from the note's pictures (buttons and grip), which are
// painted flat in these colours only in high contrast.
std::optional<Rgb> ChromeColor(ChromePart part, bool highContrast, const SystemColors& system);

// The parts of the All Notes window that have a colour of their own.
enum class AllNotesPart : unsigned {
    Background,  // the window, its list, the search box and the preview around the text
    Text,        // the list's and the search box's text
    MatchFace,   // a word of the search marked in the preview
    MatchText,
    StatusText,  // the line beside the buttons
    Count
};

// The colour of an All Notes part: in high contrast a system colour; normally the
// marked words' fixed yellow behind the note's own text colours, and none for the
// other parts (they keep the look of the program's dialogs).
std::optional<Rgb> AllNotesColor(AllNotesPart part, bool highContrast, const SystemColors& system);

// The system colour a dialog role takes in high contrast.
SystemColor HighContrastDialogColor(ThemeRole role);

// The colour of a dialog role: a system colour in high contrast, the theme's colour
// otherwise, and none (the system's default look) when there is no theme.
std::optional<Rgb> DialogColor(ThemeRole role, const Theme* theme, bool highContrast, const SystemColors& system);

} // namespace vn
