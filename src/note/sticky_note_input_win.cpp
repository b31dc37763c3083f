// The note's messages: painting, and the mouse on the parts drawn on the window
// (dragging, resizing, the picture buttons, the tile).
#include <windowsx.h>

#include "note/sticky_note_win.h"
#include "note/note_body_win.h"
#include "note/note_chrome_win.h"
#include "note/note_host.h"
#include "platform/gdi_win.h"
#include "platform/guarded.h"

namespace vn {

using note::Control;

namespace {

note::Point CursorPosition() {
    POINT c{};
    GetCursorPos(&c);
    return {c.x, c.y};
}

} // namespace

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
    case WM_PAINT: {
        PaintDc paint(Handle());
        DrawFace(paint.Get(), paint.Area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        const RECT all{0, 0, bounds_.Width(), bounds_.Height()};
        DrawFace(reinterpret_cast<HDC>(wParam), all);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE)) bounds_.Move(pos->x, pos->y);
        if (!(pos->flags & SWP_NOSIZE)) {
            bounds_.Resize(pos->cx, pos->cy);
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
        hover_.SetTrackingLeave(false);
        UpdateHover(Control::None);
        return 0;
    case WM_CAPTURECHANGED: OnCaptureLost(); return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(Handle(), &p);
            const bool onGrip = note::HitTest(bounds_.Layout(), FMinimized, {p.x, p.y}) == Control::ImgSize;
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

void TFStickyNote::DrawFace(HDC dc, const RECT& area) {
    const note::Size size = bounds_.WindowSize();
    if (size.width <= 0 || size.height <= 0) return;
    // Everything is drawn into a memory bitmap first and copied in one go.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, size.width, size.height));
    if (!memory || !bitmap) return;
    ScopedSelectObject selected(memory.get(), bitmap.get());
    NoteFace face;
    face.size = size;
    face.layout = bounds_.Layout();
    face.minimized = FMinimized;
    face.shapeColor = FMinimized ? kTileColor : kNoteColor;
    face.hovered = hover_.Hovered();
    face.title = &lTitle;
    face.owner = &lOwner;
    face.time = &lTime;
    host_.Chrome().Draw(memory.get(), face);
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(), area.left,
           area.top, SRCCOPY);
}

// ---- mouse routing ----------------------------------------------------------------------

Control TFStickyNote::ControlAt(LPARAM lParam) const {
    return note::HitTest(bounds_.Layout(), FMinimized, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
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
    hover_.Capture(c);
    SetCapture(Handle());
    // A drag or resize starts where the button went down, which the message tells.
    // The cursor may have moved on by the time a busy program reads the press, and
    // the note would then lag behind the pointer by that much for the whole drag.
    POINT pressed{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(Handle(), &pressed);
    if (note::IsDragArea(c)) TitleShapeMouseDown({pressed.x, pressed.y});
    else if (c == Control::ImgSize) ImgSizeMouseDown({pressed.x, pressed.y});
    if (message == WM_LBUTTONDBLCLK && c == Control::ImgSmall) ImgSmallDblClick();
}

void TFStickyNote::OnMouseMove(LPARAM lParam) {
    const Control under = ControlAt(lParam);
    if (!hover_.TrackingLeave()) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        hover_.SetTrackingLeave(TrackMouseEvent(&track) != FALSE);
    }
    UpdateHover(under);
    const Control target = hover_.MoveTarget(under);
    if (note::IsDragArea(target)) TitleShapeMouseMove();
    else if (target == Control::ImgSize) ImgSizeMouseMove();
}

void TFStickyNote::OnMouseRelease() {
    const Control target = hover_.ReleaseCapture();
    if (note::IsDragArea(target)) TitleShapeMouseUp();
    else if (target == Control::ImgSize) ImgSizeMouseUp();
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TFStickyNote::OnCaptureLost() {
    // Another window took the mouse (a dialog, a switch to another program): end
    // what the press started as a release would, so that the note is not left
    // half-way through a resize without its opacity.
    hover_.ReleaseCapture();
    if (drag_.InProcess()) TitleShapeMouseUp();
    if (resize_.InProcess()) ImgSizeMouseUp();
}

void TFStickyNote::UpdateHover(Control under) {
    const note::NoteHover::Change change = hover_.MoveTo(under);
    if (change.left != Control::None) ImgSaveMouseLeave(change.left);
    if (change.entered != Control::None) ImgSaveMouseEnter(change.entered);
}

// ---- picture buttons -----------------------------------------------------------------------

void TFStickyNote::ImgSaveMouseEnter(Control button) { PaintImageButton(button, true); }

void TFStickyNote::ImgSaveMouseLeave(Control button) { PaintImageButton(button, false); }

void TFStickyNote::PaintImageButton(Control button, bool hover) {
    hover_.SetHovered(button, hover);
    if (!HasHandle()) return;
    const note::Rect r = bounds_.Layout().Of(button);
    RECT area{r.left, r.top, r.Right(), r.Bottom()};
    InvalidateRect(Handle(), &area, FALSE);
    UpdateWindow(Handle());
}

void TFStickyNote::ImgSaveMouseDown() { host_.ExportJotlets(); }

void TFStickyNote::ImgImportMouseDown() { host_.ImportStickyNote(); }

void TFStickyNote::ImgFontMouseDown() { FontCommand(); }

void TFStickyNote::ImgDeleteMouseDown() { Close(); }

// ---- dragging -------------------------------------------------------------------------------

void TFStickyNote::TitleShapeMouseDown(note::Point pressed) { drag_.Begin(pressed, bounds_.Position()); }

void TFStickyNote::TitleShapeMouseMove() {
    if (!drag_.InProcess()) return;
    // Two moves, the cursor read afresh for each: first the left, then the top.
    SetPosition(drag_.PositionFor(CursorPosition()).x, bounds_.Top());
    SetPosition(bounds_.Left(), drag_.PositionFor(CursorPosition()).y);
}

void TFStickyNote::TitleShapeMouseUp() { drag_.End(); }

// ---- resizing -------------------------------------------------------------------------------

void TFStickyNote::ImgSizeMouseDown(note::Point pressed) {
    SetAlphaBlend(false);
    resize_.Begin(pressed, bounds_.WindowSize());
    // Hidden scroll bars have no range: the body scrolls back to its top-left corner.
    ScrollBox->SetScrollBarsVisible(false);
}

void TFStickyNote::ImgSizeMouseMove() {
    const auto size = resize_.StepFor(CursorPosition(), bounds_.WindowSize());
    if (!size) return;
    SetSize(size->width, size->height);
    ResizeRichEdit();
    UpdateWindowRegion();
    RepaintNow();
}

void TFStickyNote::ImgSizeMouseUp() {
    resize_.End();
    SetAlphaBlend(true);
    ScrollBox->SetScrollBarsVisible(true);
}

// ---- the tile ---------------------------------------------------------------------------------

void TFStickyNote::ImgMinimizeMouseDown() {
    bounds_.RememberNormalSize();
    SetSize(note::kTileSize.width, note::kTileSize.height);
    UpdateWindowRegion();
    FMinimized = true;
    UpdateLayout();
    // Repainted once the tile is complete, so no squeezed note shows in between.
    RepaintNow();
}

void TFStickyNote::ImgSmallDblClick() {
    const note::Size normal = bounds_.NormalSize();
    SetSize(normal.width, normal.height);
    FMinimized = false;
    UpdateLayout();
    UpdateWindowRegion();
    RepaintNow();
}

} // namespace vn
