#pragma once
// NoteResize owns the resize by the grip: whether one is under way
// (`FResizeInProcess`) and the cursor offset from the window size taken at its
// press (`FStartPoint`).
#include <optional>

#include "note/note_layout.h"

namespace vn::note {

class NoteResize {
public:
    void Begin(Point cursor, Size window) noexcept {
        FStartPoint = ResizeStartPoint(cursor, window);
        FResizeInProcess = true;
    }
    bool InProcess() const noexcept { return FResizeInProcess; }
    // The new size for this cursor position, clamped; nothing inside the dead zone
    // or when no resize is under way. The limits and the dead zone are those at `dpi`.
    std::optional<Size> StepFor(Point cursor, Size window, int dpi = kBaseDpi) const {
        if (!FResizeInProcess) return std::nullopt;
        return ResizeStep(cursor, FStartPoint, window, dpi);
    }
    void End() noexcept { FResizeInProcess = false; }

private:
    Point FStartPoint;
    bool FResizeInProcess = false;
};

} // namespace vn::note
