#include "note/note_pictures_win.h"

// WIN32_LEAN_AND_MEAN leaves out the COM declarations GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "note/note_layout.h"
#include "platform/errors.h"
#include "platform/gdi_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {

constexpr COLORREF kButtonTop = RGB(255, 255, 65);
constexpr COLORREF kButtonBottom = RGB(255, 255, 219);
constexpr COLORREF kHoverTop = RGB(82, 82, 82);
constexpr COLORREF kHoverBottom = RGB(185, 185, 185);
constexpr COLORREF kGripStrokeColor = RGB(140, 140, 140);

std::uint32_t Bgra(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

COLORREF Mix(COLORREF a, COLORREF b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
    return RGB(lerp(GetRValue(a), GetRValue(b)), lerp(GetGValue(a), GetGValue(b)), lerp(GetBValue(a), GetBValue(b)));
}

// A 32-bit top-down DIB section and a pointer to its pixels.
UniqueBitmap MakeDib(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap) RaiseLastOSError();
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

enum class Zone { Outside, Outline, Inside };

// True for a pixel of a frame `frame` px wide along the edges.
bool OnFrame(int x, int y, int width, int height, int frame) {
    return x < frame || y < frame || x >= width - frame || y >= height - frame;
}

// Where a pixel lies on a rounded rectangle with an outline `outline` px wide.
Zone RoundedRectZone(int x, int y, int width, int height, int radius, int outline) {
    const bool left = x < radius, right = x >= width - radius;
    const bool top = y < radius, bottom = y >= height - radius;
    if ((left || right) && (top || bottom)) {
        const double cx = left ? radius : width - radius;
        const double cy = top ? radius : height - radius;
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d > radius) return Zone::Outside;
        return d > radius - outline ? Zone::Outline : Zone::Inside;
    }
    if (OnFrame(x, y, width, height, outline)) return Zone::Outline;
    return Zone::Inside;
}

// GDI+ is started once for the whole process and left running until it ends: the
// tile picture of every note is read through it.
void EnsureGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    if (!started) throw Error("GDI+ could not be started");
}

struct GdipImageDeleter {
    void operator()(Gdiplus::GpBitmap* b) const noexcept {
        Gdiplus::DllExports::GdipDisposeImage(reinterpret_cast<Gdiplus::GpImage*>(b));
    }
};

// The pixels of a GDI+ bitmap, premultiplied, into a top-down 32-bit DIB's.
void CopyPixels(Gdiplus::GpBitmap* from, int width, int height, std::uint32_t* to, const Error& failure) {
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (Gdiplus::DllExports::GdipBitmapLockBits(from, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                                                &data) != Gdiplus::Ok)
        throw failure;
    for (int y = 0; y < height; ++y)
        std::memcpy(to + static_cast<size_t>(y) * width,
                    static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    static_cast<size_t>(width) * 4);
    Gdiplus::DllExports::GdipBitmapUnlockBits(from, &data);
    GdiFlush();
}

} // namespace

ButtonPictureColors NormalButtonColors(bool hover) {
    if (hover) return {kHoverTop, kHoverBottom, RGB(0, 0, 0), kNoteColor};
    return {kButtonTop, kButtonBottom, RGB(0, 0, 0), kNoteColor};
}

UniqueBitmap MakeButtonPicture(const ButtonPictureColors& colors, const note::NoteMetrics& metrics) {
    const int w = metrics.pictureButtonSize.width;
    const int h = metrics.pictureButtonSize.height;
    std::uint32_t* bits = nullptr;
    UniqueBitmap bitmap = MakeDib(w, h, &bits);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t fill = Bgra(Mix(colors.top, colors.bottom, static_cast<double>(y) / (h - 1)));
        for (int x = 0; x < w; ++x) {
            switch (RoundedRectZone(x, y, w, h, metrics.buttonCornerRadius, metrics.buttonOutlineWidth)) {
            case Zone::Outside: bits[y * w + x] = Bgra(colors.outside); break;
            case Zone::Outline: bits[y * w + x] = Bgra(colors.outline); break;
            case Zone::Inside: bits[y * w + x] = fill; break;
            }
        }
    }
    GdiFlush();
    return bitmap;
}

GripPictureColors NormalGripColors() { return {RGB(255, 255, 255), kGripFrameColor, kGripStrokeColor}; }

UniqueBitmap MakeGripPicture(const GripPictureColors& colors, const note::NoteMetrics& metrics) {
    const int w = metrics.gripSize.width;
    const int h = metrics.gripSize.height;
    // Strokes and dots are as thick as the frame.
    const int unit = metrics.gripFrameWidth;
    std::uint32_t* bits = nullptr;
    UniqueBitmap bitmap = MakeDib(w, h, &bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = Bgra(colors.face);
            if (OnFrame(x, y, w, h, unit)) {
                c = Bgra(colors.frame);
            } else {
                // Three dotted strokes from lower left to upper right, packed into
                // the lower-right corner like a sizing grip.
                const int d = x + y;
                const bool onStroke =
                    d >= metrics.gripFirstStroke && (d - metrics.gripFirstStroke) % metrics.gripStrokeSpacing < unit;
                if (onStroke && (x / unit) % 2 == 0) c = Bgra(colors.stroke);
            }
            bits[y * w + x] = c;
        }
    }
    GdiFlush();
    return bitmap;
}

FilePicture LoadPictureFile(const std::u16string& fileName) {
    EnsureGdiplus();
    const std::string failure = "Cannot read the picture file \"" + Utf8(fileName) + "\"";
    Gdiplus::GpBitmap* raw = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(W(fileName), &raw) != Gdiplus::Ok || !raw) throw Error(failure);
    std::unique_ptr<Gdiplus::GpBitmap, GdipImageDeleter> image(raw);
    UINT width = 0, height = 0;
    auto* asImage = reinterpret_cast<Gdiplus::GpImage*>(raw);
    if (Gdiplus::DllExports::GdipGetImageWidth(asImage, &width) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImageHeight(asImage, &height) != Gdiplus::Ok || width == 0 || height == 0)
        throw Error(failure);

    FilePicture picture;
    std::uint32_t* bits = nullptr;
    picture.bitmap = MakeDib(static_cast<int>(width), static_cast<int>(height), &bits);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);

    CopyPixels(raw, picture.width, picture.height, bits, Error(failure));
    return picture;
}

FilePicture ScalePicture(const FilePicture& picture, int width, int height) {
    using namespace Gdiplus;
    EnsureGdiplus();
    const Error failure("Cannot scale the tile picture");
    DIBSECTION dib{};
    if (!picture.bitmap || width <= 0 || height <= 0 ||
        GetObjectW(picture.bitmap.get(), sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits)
        throw failure;
    GdiFlush();
    GpBitmap* rawSource = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppPARGB,
                                              static_cast<BYTE*>(dib.dsBm.bmBits), &rawSource) != Ok)
        throw failure;
    std::unique_ptr<GpBitmap, GdipImageDeleter> source(rawSource);
    GpBitmap* rawTarget = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &rawTarget) != Ok)
        throw failure;
    std::unique_ptr<GpBitmap, GdipImageDeleter> target(rawTarget);
    GpGraphics* graphics = nullptr;
    if (DllExports::GdipGetImageGraphicsContext(reinterpret_cast<GpImage*>(rawTarget), &graphics) != Ok) throw failure;
    DllExports::GdipSetCompositingMode(graphics, CompositingModeSourceCopy);
    DllExports::GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
    DllExports::GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    // Mirrored at the edges, so the border pixels are not blended with nothing.
    GpImageAttributes* attributes = nullptr;
    DllExports::GdipCreateImageAttributes(&attributes);
    if (attributes) DllExports::GdipSetImageAttributesWrapMode(attributes, WrapModeTileFlipXY, 0, FALSE);
    const GpStatus drawn = DllExports::GdipDrawImageRectRectI(
        graphics, reinterpret_cast<GpImage*>(rawSource), 0, 0, width, height, 0, 0, picture.width, picture.height,
        UnitPixel, attributes, nullptr, nullptr);
    if (attributes) DllExports::GdipDisposeImageAttributes(attributes);
    DllExports::GdipDeleteGraphics(graphics);
    if (drawn != Ok) throw failure;

    FilePicture scaled;
    std::uint32_t* bits = nullptr;
    scaled.bitmap = MakeDib(width, height, &bits);
    scaled.width = width;
    scaled.height = height;
    CopyPixels(rawTarget, width, height, bits, failure);
    return scaled;
}

void DrawPicture(HDC dc, const FilePicture& picture, int x, int y, int clipWidth, int clipHeight) {
    if (!picture.bitmap) return;
    const int w = std::min(picture.width, clipWidth);
    const int h = std::min(picture.height, clipHeight);
    if (w <= 0 || h <= 0) return;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    ScopedSelectObject selected(source.get(), picture.bitmap.get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, w, h, source.get(), 0, 0, w, h, blend);
}

} // namespace vn
