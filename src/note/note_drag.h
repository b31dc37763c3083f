#pragma once
// NoteDrag owns the drag by the title area: whether one is under way
// (`FMoveInProcess`) and the cursor offset taken at its press (`FStartPoint`).
#include "note/note_layout.h"

namespace vn::note {

class NoteDrag {
public:
    void Begin(Point cursor, Point windowTopLeft) noexcept {
        FStartPoint = DragStartPoint(cursor, windowTopLeft);
        FMoveInProcess = true;
    }
    bool InProcess() const noexcept { return FMoveInProcess; }
    // Where the window goes for this cursor position; there is no limit.
    Point PositionFor(Point cursor) const noexcept { return DragPosition(cursor, FStartPoint); }
    void End() noexcept { FMoveInProcess = false; }

private:
    Point FStartPoint;
    bool FMoveInProcess = false;
};

} // namespace vn::note
