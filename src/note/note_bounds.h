#pragma once
// NoteBounds owns the note window's position and size (kept while there is no native
// window), the size before the tile, the editor's size, the label extents and the
// body area's bottom margin, and gives the layout of every part from them.
#include "note/note_layout.h"

namespace vn::note {

class NoteBounds {
public:
    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    Point Position() const noexcept { return {left_, top_}; }
    Size WindowSize() const noexcept { return {width_, height_}; }

    void Move(int left, int top) noexcept {
        left_ = left;
        top_ = top;
    }
    void Resize(int width, int height) noexcept {
        width_ = width;
        height_ = height;
    }

    // The normal size, taken just before the note becomes a tile (`FStartSize`).
    void RememberNormalSize() noexcept { FStartSize = {width_, height_}; }
    Size NormalSize() const noexcept { return {FStartSize.x, FStartSize.y}; }

    // The layout refresh gives the body area its final bottom margin (H - 156).
    void SetBodyRefreshed() noexcept { bodyBottomMargin_ = kBodyBottomMarginRefreshed; }
    void SetLabelExtents(Size owner, Size time) noexcept {
        ownerExtent_ = owner;
        timeExtent_ = time;
    }

    Size EditorSize() const noexcept { return editorSize_; }
    // The editor's size for its last resize request, from the current body area.
    Size SizeEditor(Size requested) noexcept {
        const Rect body = Layout().body;
        editorSize_ = note::EditorSize(requested, {body.width, body.height});
        return editorSize_;
    }

    NoteLayout Layout() const { return ComputeLayout({width_, height_}, bodyBottomMargin_, ownerExtent_, timeExtent_); }

private:
    int left_ = kInitialPosition.x;
    int top_ = kInitialPosition.y;
    int width_ = kInitialSize.width;
    int height_ = kInitialSize.height;
    Point FStartSize;
    int bodyBottomMargin_ = kBodyBottomMarginInitial;
    Size editorSize_{kEditorInitialBounds.width, kEditorInitialBounds.height};
    Size ownerExtent_;
    Size timeExtent_;
};

} // namespace vn::note
