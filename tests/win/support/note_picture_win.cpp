#include "note_picture_win.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/gdi_win.h"
#include "platform/unique_handle_win.h"

namespace vn::test {
namespace {

void StartGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    (void)started;
}

RECT InWindow(HWND child, HWND window) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsButton(HWND h) {
    wchar_t name[16]{};
    GetClassNameW(h, name, 16);
    return lstrcmpiW(name, L"Button") == 0;
}

} // namespace

Picture PrintNote(HWND note) {
    RECT client{};
    GetClientRect(note, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) return {};
    {
        ScopedSelectObject selected(dc.get(), bitmap.get());
        SendMessageW(note, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        HWND body = FindWindowExW(note, nullptr, L"VnNoteScrollBox", nullptr);
        for (HWND c = body ? GetWindow(body, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!IsButton(c) || !IsWindowVisible(c)) continue;
            // Printed on a bitmap of its own: a button cuts its painting to its client
            // rectangle in device units, so it cannot be printed at an offset.
            const RECT at = InWindow(c, note);
            const int w = at.right - at.left, h = at.bottom - at.top;
            UniqueMemoryDc boxDc(CreateCompatibleDC(dc.get()));
            UniqueBitmap boxBitmap(CreateCompatibleBitmap(dc.get(), w, h));
            ScopedSelectObject boxSelected(boxDc.get(), boxBitmap.get());
            SendMessageW(c, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(boxDc.get()), PRF_CLIENT);
            BitBlt(dc.get(), at.left, at.top, w, h, boxDc.get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(p, p + static_cast<size_t>(picture.width) * picture.height);
    for (auto& px : picture.pixels) px &= 0xFFFFFFu;
    return picture;
}

Picture Stacked(const Picture& upper, const Picture& lower) {
    Picture s;
    s.width = std::max(upper.width, lower.width);
    s.height = upper.height + lower.height;
    s.pixels.assign(static_cast<size_t>(s.width) * s.height, 0);
    int row = 0;
    for (const Picture* part : {&upper, &lower})
        for (int y = 0; y < part->height; ++y, ++row)
            std::copy_n(part->pixels.begin() + static_cast<ptrdiff_t>(y) * part->width, part->width,
                        s.pixels.begin() + static_cast<ptrdiff_t>(row) * s.width);
    return s;
}

std::filesystem::path ReferencePictures() {
    return std::filesystem::path(VN_TEST_SOURCE_DIR) / "win" / "note" / "pictures";
}

Picture ReadPng(const std::filesystem::path& file) {
    using namespace Gdiplus;
    StartGdiplus();
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(file.wstring().c_str(), &bitmap) != Ok || !bitmap) return {};
    Picture picture;
    UINT w = 0, h = 0;
    DllExports::GdipGetImageWidth(reinterpret_cast<GpImage*>(bitmap), &w);
    DllExports::GdipGetImageHeight(reinterpret_cast<GpImage*>(bitmap), &h);
    Rect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    BitmapData data{};
    if (w && h && DllExports::GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppRGB, &data) == Ok) {
        picture.width = static_cast<int>(w);
        picture.height = static_cast<int>(h);
        picture.pixels.resize(static_cast<size_t>(w) * h);
        for (UINT y = 0; y < h; ++y)
            std::memcpy(picture.pixels.data() + static_cast<size_t>(y) * w,
                        static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, w * 4);
        DllExports::GdipBitmapUnlockBits(bitmap, &data);
        for (auto& px : picture.pixels) px &= 0xFFFFFFu;
    }
    DllExports::GdipDisposeImage(reinterpret_cast<GpImage*>(bitmap));
    return picture;
}

bool WritePicturePng(const Picture& picture, const std::filesystem::path& file) {
    using namespace Gdiplus;
    StartGdiplus();
    std::vector<std::uint32_t> pixels = picture.pixels;
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(picture.width, picture.height, picture.width * 4, PixelFormat32bppRGB,
                                              reinterpret_cast<BYTE*>(pixels.data()), &bitmap) != Ok)
        return false;
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const bool ok = DllExports::GdipSaveImageToFile(bitmap, file.wstring().c_str(), &png, nullptr) == Ok;
    DllExports::GdipDisposeImage(reinterpret_cast<GpImage*>(bitmap));
    return ok;
}

std::string PictureDifference(const Picture& expected, const Picture& actual) {
    std::ostringstream out;
    if (expected.width != actual.width || expected.height != actual.height) {
        out << "size " << actual.width << " x " << actual.height << ", expected " << expected.width << " x "
            << expected.height;
        return out.str();
    }
    int differing = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            if (expected.At(x, y) == actual.At(x, y)) continue;
            if (differing++ == 0)
                out << "first at (" << x << ", " << y << "): " << std::hex << actual.At(x, y) << ", expected "
                    << expected.At(x, y) << std::dec;
        }
    if (differing) out << "; " << differing << " pixels differ";
    return out.str();
}

} // namespace vn::test
