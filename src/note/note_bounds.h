#pragma once
// NoteBounds owns the note window's position and size (kept while there is no native
// window), the size before the tile, the editor's size, the label extents and the
// body area's bottom margin, and gives the layout of every part from them.
//
// Display scale: the note knows the DPI it is shown at, and every length of its
// layout is scaled to it. Its size is kept as the person (or the program) chose it,
// with the DPI it was chosen at; at another DPI the window shows that size scaled
// from 96 DPI. So a note moved to a monitor of another scale and back has exactly the
// size it had, however often it goes back and forth; only a resize at the new scale
// chooses a new size. Nothing of this is stored in files.
#include "note/note_layout.h"
#include "note/note_metrics.h"

namespace vn::note {

// A size in pixels at the DPI it was chosen at.
struct ChosenSize {
    Size size;
    int dpi = kBaseDpi;
    // The size at `atDpi`: itself at its own DPI, else its 96-DPI size scaled.
    Size At(int atDpi) const noexcept {
        if (atDpi == dpi) return size;
        return {ScaleForDpi(UnscaleForDpi(size.width, dpi), atDpi), ScaleForDpi(UnscaleForDpi(size.height, dpi), atDpi)};
    }
};

class NoteBounds {
public:
    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return WindowSize().width; }
    int Height() const noexcept { return WindowSize().height; }
    Point Position() const noexcept { return {left_, top_}; }
    Size WindowSize() const noexcept { return size_.At(dpi_); }
    int Dpi() const noexcept { return dpi_; }
    NoteMetrics Metrics() const { return NoteMetricsAt(dpi_); }

    void Move(int left, int top) noexcept {
        left_ = left;
        top_ = top;
    }
    // A size in pixels at the current DPI. The size the window already has (as the
    // system reports it back) leaves the chosen size as it was.
    void Resize(int width, int height) noexcept {
        if (Size{width, height} != WindowSize()) size_ = {{width, height}, dpi_};
    }
    // The note is shown at `dpi` from now on: its size and every length follow.
    // The editor's size is the body area's business: the next resize request sets it.
    void SetDpi(int dpi) noexcept {
        if (dpi <= 0 || dpi == dpi_) return;
        editorSize_ = {ScaleForDpi(UnscaleForDpi(editorSize_.width, dpi_), dpi),
                       ScaleForDpi(UnscaleForDpi(editorSize_.height, dpi_), dpi)};
        dpi_ = dpi;
    }

    // The normal size, taken just before the note becomes a tile (`FStartSize`).
    void RememberNormalSize() noexcept { FStartSize = size_; }
    Size NormalSize() const noexcept { return FStartSize.At(dpi_); }
    // The tile is restored: the note has the normal size as it was chosen again.
    void RestoreNormalSize() noexcept { size_ = FStartSize; }

    // The layout refresh gives the body area its final bottom margin (H - 156).
    void SetBodyRefreshed() noexcept { bodyRefreshed_ = true; }
    // The label extents, measured in the font of the current DPI.
    void SetLabelExtents(Size owner, Size time) noexcept {
        ownerExtent_ = owner;
        timeExtent_ = time;
    }

    Size EditorSize() const noexcept { return editorSize_; }
    // The editor's size for its last resize request, from the current body area.
    Size SizeEditor(Size requested) noexcept {
        const Rect body = Layout().body;
        editorSize_ = note::EditorSize(requested, {body.width, body.height}, dpi_);
        return editorSize_;
    }

    NoteLayout Layout() const {
        const NoteMetrics m = Metrics();
        const int margin = bodyRefreshed_ ? m.bodyBottomMarginRefreshed : m.bodyBottomMarginInitial;
        return ComputeLayout(WindowSize(), margin, ownerExtent_, timeExtent_, dpi_);
    }

private:
    int left_ = kInitialPosition.x;
    int top_ = kInitialPosition.y;
    int dpi_ = kBaseDpi;
    ChosenSize size_{kInitialSize, kBaseDpi};
    ChosenSize FStartSize{{0, 0}, kBaseDpi};
    bool bodyRefreshed_ = false;
    Size editorSize_{kEditorInitialBounds.width, kEditorInitialBounds.height};
    Size ownerExtent_;
    Size timeExtent_;
};

} // namespace vn::note
