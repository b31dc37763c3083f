#pragma once
// The note's face: the parts drawn on the window itself (background shape,
// separator, labels, grip, tile, tagline, picture buttons), with the fonts and
// pictures they need. Drawn whole into a memory bitmap, so nothing flickers.
#include <windows.h>

#include <optional>
#include <string>

#include "note/note_layout.h"
#include "note/note_pictures_win.h"
#include "platform/palette.h"
#include "platform/unique_handle_win.h"

namespace vn {

inline constexpr char16_t kTagline[] = u"Vantory Notes - What notes were meant to be.";

// What the face shows at one moment.
struct NoteFace {
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

    // Extent of a label text in the note's default font (Tahoma, 11 px).
    note::Size MeasureLabel(const std::u16string& text) const;
    // Extent of a picture-button caption in the button font (Arial bold, 18 px cell).
    note::Size MeasureCaption(const std::u16string& text) const;

    void Draw(HDC dc, const NoteFace& face) const;

private:
    // The colours of one look, as GDI objects and pictures.
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
    static Look MakeLook(bool highContrast, const SystemColors& system);
    // The look of the current mode.
    const Look& CurrentLook() const;

    void DrawBackground(HDC dc, const Look& look, const NoteFace& face) const;
    void DrawLabels(HDC dc, const NoteFace& face) const;
    void DrawPictureButton(HDC dc, const Look& look, note::Control button, const note::Rect& at, bool hover) const;
    void Blit(HDC dc, HBITMAP bitmap, const note::Rect& at) const;

    UniqueFont labelFont_;
    UniqueFont taglineFont_;
    UniqueFont buttonFont_;
    Look normal_;
    // The high-contrast look and the system colours it was made in.
    mutable std::optional<Look> contrast_;
    mutable SystemColors contrastColors_;
    // Where the labels of every note are measured: one memory device context for
    // all, as a start with thousands of stored notes measures each note's labels.
    UniqueMemoryDc measuring_;
    FilePicture tile_;
    std::u16string tilePicture_;
};

} // namespace vn
