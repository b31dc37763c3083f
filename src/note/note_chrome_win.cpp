#include "note/note_chrome_win.h"

#include <utility>

#include "platform/gdi_win.h"
#include "platform/high_contrast_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {

// lfHeight < 0 asks for a character height, > 0 for a cell height (with internal leading).
UniqueFont MakeFont(const wchar_t* face, int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&lf));
    if (!font) RaiseLastOSError();
    return font;
}

note::Size Measure(HDC dc, HFONT font, const std::u16string& text) {
    ScopedSelectObject selected(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &s);
    if (!text.empty()) return {s.cx, s.cy};
    // An empty text still has the font's line height, as a label's does.
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return {s.cx, tm.tmHeight};
}

template <typename Handle>
Handle Made(Handle handle) {
    if (!handle) RaiseLastOSError();
    return handle;
}

RECT ToRect(const note::Rect& r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

// Labels and captions never treat '&' as a mnemonic: a window title may contain one.
constexpr UINT kTextFlags = DT_NOPREFIX | DT_EXPANDTABS;

} // namespace

NoteChrome::NoteChrome(std::u16string tilePicture)
    : measuring_(Made(UniqueMemoryDc(CreateCompatibleDC(nullptr)))), tilePicture_(std::move(tilePicture)) {
    scales_.push_back(MakeScale(kBaseDpi));
}

std::unique_ptr<NoteChrome::Scale> NoteChrome::MakeScale(int dpi) {
    auto scale = std::make_unique<Scale>();
    scale->metrics = note::NoteMetricsAt(dpi);
    const note::NoteMetrics& m = scale->metrics;
    scale->labelFont = MakeFont(L"Tahoma", m.labelFontHeight, FW_NORMAL);
    scale->taglineFont = MakeFont(L"Tahoma", m.taglineFontHeight, FW_BOLD);
    scale->buttonFont = MakeFont(L"Arial", m.buttonFontHeight, FW_BOLD);
    scale->normal = MakeLook(false, SystemColors{}, m);
    return scale;
}

NoteChrome::Scale& NoteChrome::AtDpi(int dpi) const {
    if (dpi <= 0) dpi = kBaseDpi;
    for (const auto& scale : scales_)
        if (scale->metrics.dpi == dpi) return *scale;
    scales_.push_back(MakeScale(dpi));
    return *scales_.back();
}

NoteChrome::Look NoteChrome::MakeLook(bool highContrast, const SystemColors& system, const note::NoteMetrics& m) {
    const auto color = [&](ChromePart part) { return ToColorRef(*ChromeColor(part, highContrast, system)); };
    const COLORREF noteFill = color(ChromePart::NoteFill);
    Look look;
    if (highContrast) {
        // Flat buttons and grip: a gradient of system colours would blur what the
        // person chose for contrast.
        look.buttonNormal = MakeButtonPicture({color(ChromePart::ButtonFace), color(ChromePart::ButtonFace),
                                               color(ChromePart::ButtonText), noteFill},
                                              m);
        look.buttonHover = MakeButtonPicture({color(ChromePart::HoverFace), color(ChromePart::HoverFace),
                                              color(ChromePart::HoverText), noteFill},
                                             m);
        look.grip = MakeGripPicture(
            {color(ChromePart::GripFace), color(ChromePart::GripStroke), color(ChromePart::GripStroke)}, m);
        look.captionText = color(ChromePart::ButtonText);
        look.hoverCaptionText = color(ChromePart::HoverText);
    } else {
        look.buttonNormal = MakeButtonPicture(NormalButtonColors(false), m);
        look.buttonHover = MakeButtonPicture(NormalButtonColors(true), m);
        look.grip = MakeGripPicture(NormalGripColors(), m);
        look.captionText = RGB(0, 0, 0);
        look.hoverCaptionText = RGB(255, 255, 255);
    }
    look.noteBrush = Made(UniqueBrush(CreateSolidBrush(noteFill)));
    look.tileBrush = Made(UniqueBrush(CreateSolidBrush(color(ChromePart::TileFill))));
    look.separatorBrush = Made(UniqueBrush(CreateSolidBrush(color(ChromePart::Separator))));
    look.outlinePen = Made(UniquePen(CreatePen(PS_SOLID, m.outlineWidth, color(ChromePart::Outline))));
    return look;
}

const NoteChrome::Look& NoteChrome::CurrentLook(Scale& scale) const {
    if (!HighContrastOn()) return scale.normal;
    const SystemColors system = CurrentSystemColors();
    if (!scale.contrast || system.colors != scale.contrastColors.colors) {
        scale.contrast.reset();  // the old set goes before the new one is made
        scale.contrast = MakeLook(true, system, scale.metrics);
        scale.contrastColors = system;
    }
    return *scale.contrast;
}

const FilePicture& NoteChrome::TileAt(Scale& scale) const {
    const int dpi = scale.metrics.dpi;
    if (dpi == kBaseDpi || !tile_.bitmap) return tile_;
    if (!scale.tile.bitmap)
        scale.tile = ScalePicture(tile_, ScaleForDpi(tile_.width, dpi), ScaleForDpi(tile_.height, dpi));
    return scale.tile;
}

void NoteChrome::LoadTilePicture() {
    if (tile_.bitmap) return;
    tile_ = LoadPictureFile(tilePicture_);
}

note::Size NoteChrome::MeasureLabel(const std::u16string& text, int dpi) const {
    return Measure(measuring_.get(), AtDpi(dpi).labelFont.get(), text);
}

note::Size NoteChrome::MeasureCaption(const std::u16string& text, int dpi) const {
    return Measure(measuring_.get(), AtDpi(dpi).buttonFont.get(), text);
}

void NoteChrome::Blit(HDC dc, HBITMAP bitmap, const note::Rect& at) const {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    ScopedSelectObject selected(source.get(), bitmap);
    BitBlt(dc, at.left, at.top, at.width, at.height, source.get(), 0, 0, SRCCOPY);
}

void NoteChrome::DrawBackground(HDC dc, const Scale& scale, const Look& look, const NoteFace& face) const {
    const int w = face.size.width;
    const int h = face.size.height;
    // The window's own colour shows between the region's corners and the shape's.
    RECT all{0, 0, w, h};
    FillRect(dc, &all, look.noteBrush.get());

    // ShapeBackground: a rounded rectangle with a 2-px outline from (1, 1) to (W, H).
    ScopedSelectObject brush(dc, face.minimized ? look.tileBrush.get() : look.noteBrush.get());
    ScopedSelectObject pen(dc, look.outlinePen.get());
    const int e = note::OutlineEllipse(face.size, scale.metrics.dpi);
    const int inset = scale.metrics.outlineInset;
    RoundRect(dc, inset, inset, w, h, e, e);
}

void NoteChrome::DrawLabels(HDC dc, const Scale& scale, const NoteFace& face) const {
    const note::NoteLayout& l = face.layout;
    SavedDc state(dc);  // text colour, background mode and font
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, *ChromeColorNow(ChromePart::LabelText));
    SelectObject(dc, scale.labelFont.get());

    // The title wraps at word boundaries; what does not fit into its 30 px is cut off.
    if (face.title && l.title.width > 0) {
        RECT r = ToRect(l.title);
        SavedDc clip(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        DrawTextW(dc, W(*face.title), static_cast<int>(face.title->size()), &r,
                  kTextFlags | DT_WORDBREAK | DT_EDITCONTROL);
    }
    if (face.owner) {
        RECT r = ToRect(l.owner);
        DrawTextW(dc, W(*face.owner), static_cast<int>(face.owner->size()), &r, kTextFlags | DT_SINGLELINE | DT_NOCLIP);
    }
    if (face.time) {
        RECT r = ToRect(l.time);
        DrawTextW(dc, W(*face.time), static_cast<int>(face.time->size()), &r,
                  kTextFlags | DT_SINGLELINE | DT_RIGHT | DT_NOCLIP);
    }

    SelectObject(dc, scale.taglineFont.get());
    RECT tag = ToRect(l.bottomLabel);
    const std::u16string tagline(kTagline);
    DrawTextW(dc, W(tagline), static_cast<int>(tagline.size()), &tag, kTextFlags | DT_SINGLELINE | DT_CENTER);
}

void NoteChrome::DrawPictureButton(HDC dc, const Scale& scale, const Look& look, note::Control button,
                                   const note::Rect& at, bool hover) const {
    Blit(dc, hover ? look.buttonHover.get() : look.buttonNormal.get(), at);
    const std::u16string caption = note::PictureButtonCaption(note::ControlName(button));
    // Font, colours and the clip end with the caption: it belongs to the button's own
    // picture and never paints outside it.
    SavedDc state(dc);
    SelectObject(dc, scale.buttonFont.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, W(caption), static_cast<int>(caption.size()), &extent);
    const note::Point origin = note::CaptionOrigin(scale.metrics.pictureButtonSize, {extent.cx, extent.cy});
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, hover ? look.hoverCaptionText : look.captionText);
    IntersectClipRect(dc, at.left, at.top, at.Right(), at.Bottom());
    TextOutW(dc, at.left + origin.x, at.top + origin.y, W(caption), static_cast<int>(caption.size()));
}

void NoteChrome::Draw(HDC dc, const NoteFace& face) const {
    Scale& scale = AtDpi(face.dpi);
    const Look& look = CurrentLook(scale);
    DrawBackground(dc, scale, look, face);
    const note::NoteLayout& l = face.layout;
    if (face.minimized) {
        // The tile: only the background shape and the picture, cut to the tile.
        DrawPicture(dc, TileAt(scale), l.tile.left, l.tile.top, l.tile.width, l.tile.height);
        return;
    }
    if (l.lineShape.width > 0) {
        RECT r = ToRect(l.lineShape);
        FillRect(dc, &r, look.separatorBrush.get());
    }
    DrawLabels(dc, scale, face);
    Blit(dc, look.grip.get(), l.grip);
    using note::Control;
    for (Control button : {Control::ImgSave, Control::ImgImport, Control::ImgDelete, Control::ImgFont,
                           Control::ImgMinimize})
        DrawPictureButton(dc, scale, look, button, l.Of(button), face.hovered == button);
}

} // namespace vn
