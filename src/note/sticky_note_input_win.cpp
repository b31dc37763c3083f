// The note's messages: painting, and the mouse on the parts drawn on the window
// (dragging, resizing, the picture buttons, the tile) as NotePointer routes it.
#include <windowsx.h>

#include "note/sticky_note_win.h"
#include "note/note_body_win.h"
#include "note/note_chrome_win.h"
#include "note/note_host.h"
#include "platform/gdi_win.h"

// Older SDK headers know the message only for newer systems.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vn {

using note::Control;

namespace {

note::Point CursorPosition() {
    POINT c{};
    GetCursorPos(&c);
    return {c.x, c.y};
}

note::Point PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

} // namespace

LRESULT TFStickyNote::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto running = HandlerScope();

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
    case WM_MBUTTONDBLCLK: {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &screen);
        Carry(pointer_.Press(bounds_, FMinimized, PointOf(lParam), {screen.x, screen.y},
                             message == WM_LBUTTONDBLCLK));
        return 0;
    }
    case WM_MOUSEMOVE: Carry(pointer_.Move(bounds_, FMinimized, PointOf(lParam), CursorPosition())); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: Carry(pointer_.Release()); return 0;
    case WM_MOUSELEAVE: Carry(pointer_.Leave()); return 0;
    case WM_CAPTURECHANGED: Carry(pointer_.CaptureLost()); return 0;
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
    case WM_DPICHANGED: ApplyDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_SETFOCUS:
        if (KeepsKeyboard()) KeyboardGained();
        else if (RichEdit.Handle() && RichEdit.CanFocus()) RichEdit.SetFocus();
        return 0;
    case WM_KILLFOCUS: KeyboardLost(reinterpret_cast<HWND>(wParam)); break;
    case WM_UPDATEUISTATE:
    case WM_CHANGEUISTATE: FocusCuesChanged(wParam); break;
    case WM_QUERYUISTATE: return FocusCueState();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (NoteKeyDown(wParam, lParam)) return 0;
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = access_.Answer(Handle(), wParam, lParam)) return object;
        break;
    case kAccessPressMessage: PressPart(static_cast<Control>(wParam)); return 0;
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
    face.dpi = bounds_.Dpi();
    face.size = size;
    face.layout = bounds_.Layout();
    face.minimized = FMinimized;
    face.hovered = pointer_.Hovered();
    face.title = &lTitle;
    face.owner = &lOwner;
    face.time = &lTime;
    host_.Chrome().Draw(memory.get(), face);
    DrawFocusCue(memory.get());
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(), area.left,
           area.top, SRCCOPY);
}

// ---- mouse routing ----------------------------------------------------------------------

void TFStickyNote::Carry(const note::PointerActions& a) {
    if (a.watchLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
        pointer_.LeaveWatched(TrackMouseEvent(&track) != FALSE);
    }
    if (a.repaint.left != Control::None) ImgSaveMouseLeave(a.repaint.left);
    if (a.repaint.entered != Control::None) ImgSaveMouseEnter(a.repaint.entered);
    if (a.capture) SetCapture(Handle());
    if (a.resizeBegan) ImgSizeMouseDown();
    if (a.moveTo) TitleShapeMouseMove(*a.moveTo);
    if (a.resizeTo) ImgSizeMouseMove(*a.resizeTo);
    if (a.resizeEnded) ImgSizeMouseUp();
    if (a.releaseCapture && GetCapture() == Handle()) ReleaseCapture();
    if (a.restore) ImgSmallDblClick();
    RunCommand(a.command);
}

void TFStickyNote::RunCommand(Control button) {
    switch (button) {
    case Control::ImgSave: ImgSaveMouseDown(); break;
    case Control::ImgImport: ImgImportMouseDown(); break;
    case Control::ImgFont: ImgFontMouseDown(); break;
    case Control::ImgDelete: ImgDeleteMouseDown(); break;
    case Control::ImgMinimize: ImgMinimizeMouseDown(); break;
    default: break;
    }
}

// ---- picture buttons -----------------------------------------------------------------------

void TFStickyNote::ImgSaveMouseEnter(Control button) { PaintImageButton(button); }

void TFStickyNote::ImgSaveMouseLeave(Control button) { PaintImageButton(button); }

// The button is drawn hovered or not as the mouse rule holds it.
void TFStickyNote::PaintImageButton(Control button) {
    if (!HasHandle()) return;
    const note::Rect r = bounds_.Layout().Of(button);
    RECT area{r.left, r.top, r.Right(), r.Bottom()};
    InvalidateRect(Handle(), &area, FALSE);
    UpdateWindow(Handle());
}

void TFStickyNote::ImgSaveMouseDown() { host_.ExportJotlets(); }

void TFStickyNote::ImgImportMouseDown() { host_.ImportStickyNote(); }

void TFStickyNote::ImgFontMouseDown() { FontCommand(); }

void TFStickyNote::ImgDeleteMouseDown() { host_.NoteDeleteClicked(*this); }

// ---- dragging -------------------------------------------------------------------------------

void TFStickyNote::TitleShapeMouseMove(note::Point to) {
    // Two moves: first the left, then the top.
    SetPosition(to.x, bounds_.Top());
    SetPosition(bounds_.Left(), to.y);
}

// ---- resizing -------------------------------------------------------------------------------

void TFStickyNote::ImgSizeMouseDown() {
    SetAlphaBlend(false);
    // Hidden scroll bars have no range: the body scrolls back to its top-left corner.
    ScrollBox->SetScrollBarsVisible(false);
}

void TFStickyNote::ImgSizeMouseMove(note::Size size) {
    SetSize(size.width, size.height);
    ResizeRichEdit();
    UpdateWindowRegion();
    RepaintNow();
}

void TFStickyNote::ImgSizeMouseUp() {
    SetAlphaBlend(true);
    ScrollBox->SetScrollBarsVisible(true);
}

// ---- the tile ---------------------------------------------------------------------------------

void TFStickyNote::ImgMinimizeMouseDown() {
    bounds_.RememberNormalSize();
    SetSize(bounds_.Metrics().tileSize);
    UpdateWindowRegion();
    FMinimized = true;
    UpdateLayout();
    TakeKeyboardFromBody();
    // Repainted once the tile is complete, so no squeezed note shows in between.
    RepaintNow();
    NoteAccessibleLink::PartsChanged(Handle());
}

void TFStickyNote::ImgSmallDblClick() {
    bounds_.RestoreNormalSize();
    SetSize(bounds_.WindowSize());
    FMinimized = false;
    UpdateLayout();
    UpdateWindowRegion();
    RepaintNow();
    NoteAccessibleLink::PartsChanged(Handle());
}

} // namespace vn
