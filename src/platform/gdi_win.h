#pragma once
// Scoped GDI state: a selected object, a paint session, a window's device context and
// a saved device-context state each undo themselves when the scope ends, also when
// drawing raises. A device context handed back with a foreign object still selected
// leaks that object or keeps a bitmap from being deleted; one never handed back
// leaks from the system's small cache of common device contexts.
#include <windows.h>

namespace vn {

// Selects `object` into `dc` for the scope; the previous object comes back at the end.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint .. EndPaint of one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    const RECT& Area() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC .. ReleaseDC: the device context of a window's client area, or of the whole
// screen for a null window. Null when the system has none to give.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The screen's pixels per logical inch, vertically: what a font's point size is
// scaled by. 96 when the screen cannot be asked.
inline int ScreenPixelsPerInchY() noexcept {
    const WindowDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

// SaveDC .. RestoreDC: clipping, colours, modes and selections made inside the scope
// are undone at its end.
class SavedDc {
public:
    explicit SavedDc(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace vn
