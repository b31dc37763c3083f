#pragma once
// The note's pictures, made at run time: the normal and the hover picture of the
// picture buttons, the resize grip, and the tile picture read from "hig.png". The
// buttons and the grip are drawn at the note's display scale (their corners,
// outlines and strokes are lengths like any other); the tile picture is scaled.
#include <windows.h>

#include <string>

#include "note/note_metrics.h"
#include "platform/unique_handle_win.h"

namespace vn {

// Colours of the note (COLORREF: red in the low byte).
inline constexpr COLORREF kNoteColor = 8912124;          // RGB(252, 252, 135)
inline constexpr COLORREF kTileColor = 13224393;         // RGB(201, 201, 201)
inline constexpr COLORREF kSeparatorColor = 9868950;     // RGB(150, 150, 150)
inline constexpr COLORREF kGripFrameColor = RGB(155, 154, 158);

// The colours of a picture button: a vertical gradient from `top` to `bottom` inside
// a 1-px outline, and `outside` beyond the rounded corners.
struct ButtonPictureColors {
    COLORREF top, bottom, outline, outside;
};
// The note's own: saturated yellow to cream, or dark to light grey when hovered,
// outlined in black, on the note's pale yellow.
ButtonPictureColors NormalButtonColors(bool hover);

// 75 x 24 at 96 DPI, fully opaque: a rounded rectangle in `colors`.
UniqueBitmap MakeButtonPicture(const ButtonPictureColors& colors, const note::NoteMetrics& metrics);

struct GripPictureColors {
    COLORREF face, frame, stroke;
};
// White, a grey frame, grey strokes.
GripPictureColors NormalGripColors();

// 20 x 20 at 96 DPI: the face, a 1-px frame, dotted diagonal strokes towards the
// lower right.
UniqueBitmap MakeGripPicture(const GripPictureColors& colors, const note::NoteMetrics& metrics);

// A picture read from a file (PNG and the other formats GDI+ reads), kept as a
// 32-bit top-down bitmap with premultiplied alpha for AlphaBlend.
struct FilePicture {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
};
// Raises Error when the file is missing, unreadable or not a picture. A relative
// name is looked for in the process's current directory.
FilePicture LoadPictureFile(const std::u16string& fileName);

// The picture at `width` x `height`, resampled smoothly (high-quality bicubic).
// Raises Error when it cannot be made.
FilePicture ScalePicture(const FilePicture& picture, int width, int height);

// Draws a premultiplied picture at (x, y), unscaled, cut to `clipWidth` x `clipHeight`.
void DrawPicture(HDC dc, const FilePicture& picture, int x, int y, int clipWidth, int clipHeight);

} // namespace vn
