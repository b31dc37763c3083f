#pragma once
// Pictures for the user guide, kept by tests that already set up what the guide shows
// (docs/make_test_pictures.sh asks for them): the screen inside a rectangle as a
// 24-bit BMP file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/gdi_win.h"

namespace vn::test {

// The file name the environment variable `variable` gives; null when none is asked for.
inline const char* PictureAskedFor(const char* variable) { return std::getenv(variable); }

// The screen inside `r` into the BMP file `path`. False when it cannot be written.
inline bool KeepScreenPicture(const char* path, const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    {
        const WindowDc screen(nullptr);
        UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
        {
            ScopedSelectObject selected(dc.get(), bitmap.get());
            BitBlt(dc.get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
        }
        GetDIBits(dc.get(), bitmap.get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                         std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && written;
}

} // namespace vn::test
