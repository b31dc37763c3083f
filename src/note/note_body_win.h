#pragma once
// The note's white body area: `ScrollBox`, a scrolling container that holds the
// editor and the check boxes and scrolls them together, and `pRchEdtBack1`, the
// white panel lying under it.
#include <windows.h>

#include "note/note_layout.h"
#include "platform/window_win.h"

namespace vn {

class NoteBackPanel final : public Window {
public:
    ~NoteBackPanel() override;
    void Create(HWND parent, const note::Rect& bounds);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The children (the editor, the check boxes) handle their own notifications.
class NoteScrollBox final : public Window {
public:
    NoteScrollBox() = default;
    ~NoteScrollBox() override;

    void Create(HWND parent, const note::Rect& bounds);
    void SetBounds(const note::Rect& bounds);
    // Outer size (border included), as the layout formulas give it.
    note::Size Size() const;

    // Recomputes the scroll range from the children's extent: a scroll bar shows in
    // a direction exactly when the content reaches beyond the visible part. Call it
    // after a child moved or changed size.
    void UpdateScrollRange();
    // Hidden scroll bars have no range: hiding them scrolls the content back to its
    // top-left corner. Showing them recomputes the range.
    void SetScrollBarsVisible(bool visible);
    bool ScrollBarsVisible() const noexcept { return barsVisible_; }

    note::Point ScrollPosition() const noexcept { return position_; }
    // Scrolls to a position (clamped to the range); the children move with it.
    void ScrollTo(note::Point position);
    // How far a click on a scroll bar's arrow scrolls, in pixels.
    void SetLineStep(int pixels) noexcept { lineStep_ = pixels; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    note::Size ContentExtent() const;
    void OnScroll(int bar, WORD request);

    note::Point position_;
    note::Size range_;  // content extent in each direction; 0 where no bar shows
    bool barsVisible_ = true;
    bool updating_ = false;
    int lineStep_ = 8;  // at 96 DPI; the note sets its scale's
};

} // namespace vn
