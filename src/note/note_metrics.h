#pragma once
// Every length of the note window at one display scale. Each is written once, as its
// value at 96 DPI (NoteMetricsAt(96) gives exactly those), and is that value scaled
// by ScaleForDpi at any other DPI. The layout, the pointer rules, the pictures, the
// fonts, the checklist and the body area all take their lengths from here.
// Positions that mean "off screen" (the note's start at y = -1000, a parked body
// area) are not lengths and stay as they are.
#include "note/note_layout.h"

namespace vn::note {

struct NoteMetrics {
    int dpi = kBaseDpi;
    // The window.
    Size initialSize;  // 450 x 274
    Size minSize;      // 362 x 250, the grip's limits
    Size maxSize;      // 750 x 550
    int resizeDeadZone = 0;  // 10
    Size tileSize;     // 100 x 100
    // The region: a rounded rectangle of (W + 2) x (H + 2), corners min(W, H) / 4 + 5.
    int regionOversize = 0;      // 2
    int regionEllipseExtra = 0;  // 5
    // The outline drawn inside the region: from (1, 1), 2 px wide.
    int outlineInset = 0;  // 1
    int outlineWidth = 0;  // 2
    // The picture buttons and the grip.
    Size pictureButtonSize;      // 75 x 24
    int buttonCornerRadius = 0;  // 4
    int buttonOutlineWidth = 0;  // 1
    Size gripSize;               // 20 x 20
    int gripFrameWidth = 0;      // 1
    int gripFirstStroke = 0;     // 20: x + y of the first stroke
    int gripStrokeSpacing = 0;   // 5
    // Font heights (negative: character height; positive: cell height).
    int labelFontHeight = 0;    // -11, Tahoma
    int taglineFontHeight = 0;  // -12, Tahoma bold
    int buttonFontHeight = 0;   // 18, Arial bold
    // The body area and the editor in it.
    int bodyBottomMarginInitial = 0;    // 40
    int bodyBottomMarginRefreshed = 0;  // 36
    Rect editorInitialBounds;           // 20, 1, 304 x 104
    int editorWidthMargin = 0;          // 42
    int editorHeightMargin = 0;         // 23
    int scrollLine = 0;                 // 8, a click on a scroll bar arrow
    int wheelScroll = 0;                // 10, one wheel notch
    // The check boxes in the gutter left of the editor.
    int checkBoxLeft = 0;  // 3
    int checkBoxSize = 0;  // 13
};

// The note's lengths at `dpi` (0 or less counts as 96).
NoteMetrics NoteMetricsAt(int dpi);

} // namespace vn::note
