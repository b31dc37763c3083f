#pragma once
// The note's face: the parts drawn on the window itself (background shape,
// separator, labels, grip, tile, tagline, picture buttons), with the fonts and
// pictures they need. Drawn whole into a memory bitmap, so nothing flickers.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "note/note_layout.h"
#include "note/note_metrics.h"
#include "note/note_pictures_win.h"
#include "platform/palette.h"
#include "platform/unique_handle_win.h"

namespace vn {

inline constexpr char16_t kTagline[] = u"Vantory Notes - What notes were meant to be.";

// What the face shows at one moment.
struct NoteFace {
    int dpi = kBaseDpi;  // the note's: every length and picture is at this scale
    note::Size size;
    note::NoteLayout layout;
    bool minimized = false;  // a tile: grey shape and the tile picture
    note::Control hovered = note::Control::None;
    const std::u16string* title = nullptr;
    const std::u16string* owner = nullptr;
    const std::u16string* time = nullptr;
};

// Made once by the controller and shared by every note: a note's face needs 3 fonts,
// 3 pictures, 3 brushes, a pen and a device context to measure texts in, the same
// for all notes, and a thousand notes with their own would take most of the
// process's GDI objects. While high contrast is on, a second set of pictures, brushes
// and pen in the system's colours is made at the first paint and kept until the
// system's colours change.
//
// Fonts and pictures are made for each display scale a note is shown at (the 96-DPI
// set with the chrome, any other at its first use) and kept: a machine has few
// scales, and the notes on one monitor share one set. The pictures are drawn at the
// scale, not stretched; the tile picture is the one file, scaled smoothly once per
// scale.
class NoteChrome {
public:
    // The tile picture, shipped next to the program and read from the current folder.
    static constexpr char16_t kTilePictureFile[] = u"hig.png";

    // Fonts, brushes and the run-time pictures. Raises OSError when GDI refuses them.
    // `tilePicture` is the picture file of the tiles.
    explicit NoteChrome(std::u16string tilePicture = kTilePictureFile);

    // Reads the tile picture until it has it: it is read when the first note window
    // is made, so a start with notes waiting for their targets reads nothing, and
    // again with each later note window while the file was missing or unreadable (a
    // picture restored meanwhile is used from then on). Raises Error when the file
    // cannot be read as a picture; the tile then shows only its grey background.
    void LoadTilePicture();
    bool HasTilePicture() const noexcept { return static_cast<bool>(tile_.bitmap); }

    // Extent of a label text in the note's default font (Tahoma, 11 px at 96 DPI) at `dpi`.
    note::Size MeasureLabel(const std::u16string& text, int dpi = kBaseDpi) const;
    // Extent of a picture-button caption in the button font (Arial bold, 18 px cell at 96 DPI).
    note::Size MeasureCaption(const std::u16string& text, int dpi = kBaseDpi) const;

    void Draw(HDC dc, const NoteFace& face) const;

private:
    // The colours of one look, as GDI objects and pictures at one scale.
    struct Look {
        UniqueBitmap buttonNormal;
        UniqueBitmap buttonHover;
        UniqueBitmap grip;
        UniqueBrush noteBrush;
        UniqueBrush tileBrush;
        UniqueBrush separatorBrush;
        UniquePen outlinePen;
        COLORREF captionText = 0;
        COLORREF hoverCaptionText = 0;
    };
    // Everything of one display scale.
    struct Scale {
        note::NoteMetrics metrics;
        UniqueFont labelFont;
        UniqueFont taglineFont;
        UniqueFont buttonFont;
        Look normal;
        // The high-contrast look and the system colours it was made in.
        std::optional<Look> contrast;
        SystemColors contrastColors;
        // The tile picture at this scale (at 96 DPI the file's own is drawn).
        FilePicture tile;
    };
    static std::unique_ptr<Scale> MakeScale(int dpi);
    static Look MakeLook(bool highContrast, const SystemColors& system, const note::NoteMetrics& metrics);
    // The set of `dpi`, made now if there is none. Raises OSError when GDI refuses it.
    Scale& AtDpi(int dpi) const;
    // The look of the current mode.
    const Look& CurrentLook(Scale& scale) const;
    const FilePicture& TileAt(Scale& scale) const;

    void DrawBackground(HDC dc, const Scale& scale, const Look& look, const NoteFace& face) const;
    void DrawLabels(HDC dc, const Scale& scale, const NoteFace& face) const;
    void DrawPictureButton(HDC dc, const Scale& scale, const Look& look, note::Control button, const note::Rect& at,
                           bool hover) const;
    void Blit(HDC dc, HBITMAP bitmap, const note::Rect& at) const;

    mutable std::vector<std::unique_ptr<Scale>> scales_;
    // Where the labels of every note are measured: one memory device context for
    // all, as a start with thousands of stored notes measures each note's labels.
    UniqueMemoryDc measuring_;
    FilePicture tile_;
    std::u16string tilePicture_;
};

} // namespace vn
