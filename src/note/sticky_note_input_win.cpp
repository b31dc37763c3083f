// The note's messages: painting, and the mouse on the parts drawn on the window
// (dragging, resizing, the picture buttons, the tile).
#include <windowsx.h>

#include "note/sticky_note_win.h"
#include "platform/guarded.h"

namespace vn {

using note::Control;

LRESULT TFStickyNote::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    struct Depth {
        TFStickyNote& note;
        explicit Depth(TFStickyNote& n) : note(n) { ++note.messageDepth_; }
        ~Depth() {
            if (--note.messageDepth_ == 0 && note.releaseDeferred_) {
                note.releaseDeferred_ = false;
                Guarded([&] { note.companion_.PostRelease(); });
            }
        }
    } depth(*this);

    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: Paint(); return 0;
    case WM_PRINTCLIENT: {
        const RECT all{0, 0, width_, height_};
        DrawFace(reinterpret_cast<HDC>(wParam), all);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE)) {
            left_ = pos->x;
            top_ = pos->y;
        }
        if (!(pos->flags & SWP_NOSIZE)) {
            width_ = pos->cx;
            height_ = pos->cy;
            // The body area keeps its distances to the right and bottom edges.
            LayoutChildren();
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: OnMousePress(message, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: OnMouseRelease(); return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        UpdateHover(Control::None);
        return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(); return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(Handle(), &p);
            const bool onGrip = note::HitTest(Layout(), FMinimized, {p.x, p.y}) == Control::ImgSize;
            SetCursor(LoadCursorW(nullptr, onGrip ? IDC_SIZENWSE : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_SETFOCUS:
        if (RichEdit.Handle() && RichEdit.CanFocus()) RichEdit.SetFocus();
        return 0;
    case WM_CLOSE:
        // Only the Delete button closes a note: a stray Alt+F4 must not throw one away.
        return 0;
    default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void TFStickyNote::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    DrawFace(dc, ps.rcPaint);
    EndPaint(Handle(), &ps);
}

void TFStickyNote::DrawFace(HDC dc, const RECT& area) {
    if (width_ <= 0 || height_ <= 0) return;
    // Everything is drawn into a memory bitmap first and copied in one go.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width_, height_));
    if (!memory || !bitmap) return;
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    NoteFace face;
    face.size = {width_, height_};
    face.layout = Layout();
    face.minimized = FMinimized;
    face.shapeColor = shapeColor_;
    face.hovered = hovered_;
    face.title = &lTitle;
    face.owner = &lOwner;
    face.time = &lTime;
    chrome_.Draw(memory.get(), face);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(), area.left,
           area.top, SRCCOPY);
    SelectObject(memory.get(), old);
}

// ---- mouse routing ----------------------------------------------------------------------

Control TFStickyNote::ControlAt(LPARAM lParam) const {
    return note::HitTest(Layout(), FMinimized, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void TFStickyNote::OnMousePress(UINT message, LPARAM lParam) {
    const Control c = ControlAt(lParam);
    if (c == Control::None) return;
    if (note::IsPictureButton(c)) {
        // A button acts on the press of any mouse button. It keeps no hold on the
        // mouse: its action may open a dialog.
        switch (c) {
        case Control::ImgSave: ImgSaveMouseDown(); break;
        case Control::ImgImport: ImgImportMouseDown(); break;
        case Control::ImgFont: ImgFontMouseDown(); break;
        case Control::ImgDelete: ImgDeleteMouseDown(); break;
        case Control::ImgMinimize: ImgMinimizeMouseDown(); break;
        default: break;
        }
        return;
    }
    // The pressed part gets every move and the release until the release.
    captured_ = c;
    SetCapture(Handle());
    if (note::IsDragArea(c)) TitleShapeMouseDown();
    else if (c == Control::ImgSize) ImgSizeMouseDown();
    if (message == WM_LBUTTONDBLCLK && c == Control::ImgSmall) ImgSmallDblClick();
}

void TFStickyNote::OnMouseMove(LPARAM lParam) {
    const Control under = ControlAt(lParam);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    UpdateHover(under);
    const Control target = captured_ != Control::None ? captured_ : under;
    if (note::IsDragArea(target)) TitleShapeMouseMove();
    else if (target == Control::ImgSize) ImgSizeMouseMove();
}

void TFStickyNote::OnMouseRelease() {
    const Control target = captured_;
    captured_ = Control::None;
    if (note::IsDragArea(target)) TitleShapeMouseUp();
    else if (target == Control::ImgSize) ImgSizeMouseUp();
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TFStickyNote::OnCaptureLost() {
    // Another window took the mouse (a dialog, a switch to another program): end
    // what the press started as a release would, so that the note is not left
    // half-way through a resize without its opacity.
    captured_ = Control::None;
    if (FMoveInProcess) TitleShapeMouseUp();
    if (FResizeInProcess) ImgSizeMouseUp();
}

void TFStickyNote::UpdateHover(Control under) {
    const Control next = note::IsPictureButton(under) ? under : Control::None;
    if (next == hovered_) return;
    const Control previous = hovered_;
    if (previous != Control::None) ImgSaveMouseLeave(previous);
    if (next != Control::None) ImgSaveMouseEnter(next);
}

// ---- picture buttons -----------------------------------------------------------------------

void TFStickyNote::ImgSaveMouseEnter(Control button) { PaintImageButton(button, true); }

void TFStickyNote::ImgSaveMouseLeave(Control button) { PaintImageButton(button, false); }

void TFStickyNote::PaintImageButton(Control button, bool hover) {
    if (hover) hovered_ = button;
    else if (hovered_ == button) hovered_ = Control::None;
    if (!HasHandle()) return;
    const note::Rect r = Layout().Of(button);
    RECT area{r.left, r.top, r.Right(), r.Bottom()};
    InvalidateRect(Handle(), &area, FALSE);
    UpdateWindow(Handle());
}

void TFStickyNote::ImgSaveMouseDown() { host_.ExportJotlets(); }

void TFStickyNote::ImgImportMouseDown() { host_.ImportStickyNote(); }

void TFStickyNote::ImgFontMouseDown() { FontCommand(); }

void TFStickyNote::FontCommand() {
    // The font dialog comes with the editor's formatting commands; until then the
    // Font button does nothing.
}

void TFStickyNote::ImgDeleteMouseDown() { Close(); }

// ---- dragging -------------------------------------------------------------------------------

void TFStickyNote::TitleShapeMouseDown() {
    POINT c;
    GetCursorPos(&c);
    FStartPoint = note::DragStartPoint({c.x, c.y}, {left_, top_});
    FMoveInProcess = true;
}

void TFStickyNote::TitleShapeMouseMove() {
    if (!FMoveInProcess) return;
    // Two moves, the cursor read afresh for each: first the left, then the top.
    POINT c;
    GetCursorPos(&c);
    SetPosition(note::DragPosition({c.x, c.y}, FStartPoint).x, top_);
    GetCursorPos(&c);
    SetPosition(left_, note::DragPosition({c.x, c.y}, FStartPoint).y);
}

void TFStickyNote::TitleShapeMouseUp() { FMoveInProcess = false; }

// ---- resizing -------------------------------------------------------------------------------

void TFStickyNote::ImgSizeMouseDown() {
    SetAlphaBlend(false);
    POINT c;
    GetCursorPos(&c);
    FStartPoint = note::ResizeStartPoint({c.x, c.y}, {width_, height_});
    FResizeInProcess = true;
    // Hidden scroll bars have no range: the body scrolls back to its top-left corner.
    ScrollBox.SetScrollBarsVisible(false);
}

void TFStickyNote::ImgSizeMouseMove() {
    if (!FResizeInProcess) return;
    POINT c;
    GetCursorPos(&c);
    const auto size = note::ResizeStep({c.x, c.y}, FStartPoint, {width_, height_});
    if (!size) return;
    SetSize(size->width, size->height);
    ResizeRichEdit();
    UpdateWindowRegion();
    RepaintNow();
}

void TFStickyNote::ImgSizeMouseUp() {
    FResizeInProcess = false;
    SetAlphaBlend(true);
    ScrollBox.SetScrollBarsVisible(true);
}

// ---- the tile ---------------------------------------------------------------------------------

void TFStickyNote::ImgMinimizeMouseDown() {
    FStartSize = {width_, height_};
    SetSize(note::kTileSize.width, note::kTileSize.height);
    UpdateWindowRegion();
    shapeColor_ = kTileColor;
    FMinimized = true;
    UpdateLayout();
    // Repainted once the tile is complete, so no squeezed note shows in between.
    RepaintNow();
}

void TFStickyNote::ImgSmallDblClick() {
    SetSize(FStartSize.x, FStartSize.y);
    shapeColor_ = kNoteColor;
    FMinimized = false;
    UpdateLayout();
    UpdateWindowRegion();
    RepaintNow();
}

} // namespace vn
