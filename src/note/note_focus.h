#pragma once
// The keyboard on a note: the order in which Tab and Shift+Tab visit its stops (the
// picture buttons drawn on the window, the checklist and the body), the arrow keys
// among the shown check boxes, what each key does where the focus is, and the
// keyboard's move and size of the window. The picture buttons are no windows of
// their own: the note window holds the keyboard focus for them and says which one
// has it. Plain values only, so the rules are checked without a window system.
#include <functional>
#include <optional>

#include "note/checklist.h"
#include "note/editor_rules.h"
#include "note/note_bounds.h"
#include "note/note_pointer.h"

namespace vn::note {

// The stops in Tab order, which is the reading order of the note: Minimize on the
// title row, the row of buttons, then the checklist left of the body, then the body.
// A tile has one stop, the tile itself.
enum class FocusStop { Minimize, Save, Import, Font, Delete, Checklist, Body, Tile };

// The part drawn for a stop: a picture button, the tile picture, or None for the
// checklist and the body (windows of their own).
Control PartOf(FocusStop stop);

// The stop after (or before) `from`. The checklist is left out while no box is
// shown; a tile stays where it is.
FocusStop NextStop(FocusStop from, bool backwards, bool anyBoxShown);

// Which boxes can take the keyboard: made, shown and with a native box.
using BoxShown = std::function<bool(int line)>;
// The shown box the checklist stop starts at: the first one.
std::optional<int> FirstShownBox(const BoxShown& shown);
// The next shown box above (step -1) or below (step 1) `line`; nothing at either
// end (the focus stays).
std::optional<int> NextShownBox(const BoxShown& shown, int line, int step);

struct KeyPress {
    unsigned key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    // The key is held down and the system repeats it.
    bool repeat = false;
};

enum class KeyCommand {
    None,          // the key is not the note's: the focused window gets it as usual
    NextStop,
    PreviousStop,
    Press,         // the focused picture button acts as on a click
    Restore,       // the tile gets back its size
    PreviousBox,
    NextBox,
    BeginMove,     // Alt+F7
    BeginSize,     // Alt+F8
};

// What a key going down does with the focus at `at`. Space on a check box is left to
// the box, which ticks itself.
KeyCommand CommandFor(FocusStop at, const KeyPress& key);

// Moving and sizing from the keyboard, as the window's Move and Size do: arrow keys
// move the window (or its bottom-right corner) 10 px a press, 1 px with Ctrl; Enter
// ends, Esc puts the window back where it was. The steps come out as the mouse
// rule's actions, so the note moves and resizes through the same handlers as with
// the mouse and keeps its size limits. The grip's dead zone is left out: it is there
// for a trembling hand, and a press of a key is meant.
class KeyboardSizing {
public:
    static constexpr int kStep = 10;
    static constexpr int kFineStep = 1;
    enum class Mode { None, Move, Size };

    Mode Active() const noexcept { return mode_; }
    PointerActions Begin(Mode mode, const NoteBounds& bounds);
    // An arrow key during a move or a size; any other key changes nothing.
    PointerActions Arrow(unsigned key, bool fine, const NoteBounds& bounds) const;
    // Enter, or the note losing the keyboard: the window stays where it is now.
    PointerActions Finish();
    // Esc: the window goes back to where it was, at the size it had.
    PointerActions Cancel(const NoteBounds& bounds);

private:
    Mode mode_ = Mode::None;
    Point startPosition_;
    Size startSize_;
};

} // namespace vn::note
