#pragma once
// Geometry of the note window: where every part of the note sits for a window of
// width W and height H, the resize limits and dead zone, the tile, the rounded
// outline and the caption placement of the picture buttons. Plain integers only,
// so the whole of it is checked without a window system.
//
// The numbers below are the note's lengths at 96 DPI. The functions take the DPI
// the note is shown at and scale every length they use (note_metrics.h holds the
// scaled set); W and H are the window's size at that DPI.
#include <optional>
#include <string>
#include <string_view>

#include "platform/dpi_scale.h"

namespace vn::note {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const noexcept { return left + width; }
    int Bottom() const noexcept { return top + height; }
    bool Contains(Point p) const noexcept { return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A note is created 450 x 274, off screen until its first placement.
inline constexpr Size kInitialSize{450, 274};
inline constexpr Point kInitialPosition{0, -1000};
// The grip keeps the note between these sizes.
inline constexpr Size kMinSize{362, 250};
inline constexpr Size kMaxSize{750, 550};
// Grip moves that change neither side by more than this are ignored.
inline constexpr int kResizeDeadZone = 10;
inline constexpr Size kTileSize{100, 100};
inline constexpr Size kPictureButtonSize{75, 24};
inline constexpr Size kGripSize{20, 20};
// The body area's distance from the bottom edge: 40 as the window is built
// (height H - 160), 36 once the layout refresh has run (height H - 156).
inline constexpr int kBodyBottomMarginInitial = 40;
inline constexpr int kBodyBottomMarginRefreshed = 36;
// The editor inside the body area, at scroll position 0; the gutter of check
// boxes uses the 20 px left of it.
inline constexpr Rect kEditorInitialBounds{20, 1, 304, 104};
inline constexpr int kEditorWidthMargin = 42;
inline constexpr int kEditorHeightMargin = 23;

// The parts of the note, bottom of the drawing order first. The body area is a
// child window and gets its own mouse input; it is not part of the hit test.
enum class Control {
    None,
    ShapeBackground,
    LineShape,
    lTitle,
    lOwner,
    lTime,
    ImgSize,
    ImgSmall,
    lBottomLab,
    ImgSave,
    ImgImport,
    ImgDelete,
    ImgFont,
    ImgMinimize,
};

// The component name of a part ("ImgSave"); empty for None.
std::u16string_view ControlName(Control c);
bool IsDragArea(Control c);
bool IsPictureButton(Control c);

struct NoteLayout {
    Rect shapeBackground;
    Rect lineShape;
    Rect title;
    Rect owner;  // fits its text
    Rect time;   // fits its text, right edge fixed
    Rect grip;
    Rect tile;
    Rect bottomLabel;
    Rect save;
    Rect import;
    Rect del;
    Rect font;
    Rect minimize;
    Rect body;  // ScrollBox, and the backing panel under it
    const Rect& Of(Control c) const;
};

// Every part's bounds for a window of size `window`. `ownerText` and `timeText`
// are the extents of the two auto-sized labels; `bodyBottomMargin` is one of the
// two margins above. Sizes that the formulas make negative (a tile) are given as 0.
NoteLayout ComputeLayout(Size window, int bodyBottomMargin, Size ownerText, Size timeText, int dpi = kBaseDpi);

// The topmost visible part at `p` (window coordinates). While the note is a tile
// only the background and the tile picture are visible.
Control HitTest(const NoteLayout& layout, bool minimized, Point p);

// The editor grows with its content but never gets smaller than the body area
// less the margins: height first, then width.
Size EditorSize(Size requested, Size bodyArea, int dpi = kBaseDpi);

// Corner ellipse of the window region: min(W, H) div 4 + 5.
int RegionEllipse(Size window, int dpi = kBaseDpi);
// Corner ellipse of the 2-px outline drawn inside the region: s div 4, s = min(W - 1, H - 1).
int OutlineEllipse(Size window, int dpi = kBaseDpi);

// Dragging: the cursor offset taken at the press, and the window position for a cursor.
Point DragStartPoint(Point cursor, Point windowTopLeft);
Point DragPosition(Point cursor, Point startPoint);

// Resizing: the offset taken at the press on the grip (cursor - (W, H)), and the new
// size for a cursor position, clamped to the limits; nothing when the change is
// within the dead zone on both sides.
Point ResizeStartPoint(Point cursor, Size window);
std::optional<Size> ResizeStep(Point cursor, Point startPoint, Size window, int dpi = kBaseDpi);

// Caption of a picture button: its component name from the 4th character on, at
// most 100 characters ("ImgSave" -> "Save").
std::u16string PictureButtonCaption(std::u16string_view componentName);
// Top-left corner of a caption centred in a picture; the halves round towards zero,
// also when the text is larger than the picture.
Point CaptionOrigin(Size picture, Size text);

} // namespace vn::note
