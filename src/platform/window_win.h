#pragma once
// Base of every window object of the program: one owner object per native window.
// `this` is passed as the creation parameter, stored at WM_NCCREATE and cleared at
// WM_NCDESTROY; every message enters through one guarded trampoline, so no C++
// exception ever unwinds through the system.
//
// A child control may handle its own notifications: the WM_COMMAND and WM_NOTIFY
// that a child marked with ReflectNotifications sends to a window of this layer
// come back to the child as kReflectedMessage + the message (the parent's default
// handling), and the child's answer is the parent's. No parent forwards them by hand.
#include <windows.h>

namespace vn {

// Where reflected notifications start: the offset that the system's own control
// containers use, above every message of the common controls.
inline constexpr UINT kReflectedMessage = WM_USER + 0x1C00;

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }
    bool HasHandle() const noexcept { return hwnd_ != nullptr; }

    // Destroys the native window if there is one (the object stays).
    void DestroyHandle() noexcept;

    // True when `hwnd` is a native window the layer made for one of its window
    // objects, or a control it marked as its own.
    static bool IsOwnNativeWindow(HWND hwnd) noexcept;
    // Marks a control (created with CreateWindowExW on one of our windows) as ours.
    static void MarkOwn(HWND hwnd) noexcept;
    // Marks a control that handles its own notifications: its window procedure (a
    // subclass) gets them as kReflectedMessage + WM_COMMAND / WM_NOTIFY.
    static void ReflectNotifications(HWND control) noexcept;

    // Registers a window class whose procedure is the layer's trampoline. Idempotent.
    static void RegisterClass(const wchar_t* className, UINT style = 0, HBRUSH background = nullptr,
                              HICON icon = nullptr, HCURSOR cursor = nullptr);

    static HINSTANCE Instance() noexcept;

protected:
    // Creates the native window of this object; raises OSError when the system refuses.
    // GetLastError is captured right after CreateWindowExW for callers that need it:
    // see LastCreateError().
    HWND CreateNative(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                      int width, int height, HWND owner, HMENU menu = nullptr, bool raiseOnFailure = true);
    DWORD LastCreateError() const noexcept { return lastCreateError_; }

    // Every message of the native window. The default reflects the notifications of
    // children that handle their own and passes everything else to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the native window is gone (after WM_NCDESTROY); the object may delete itself here.
    virtual void OnNativeDestroyed() {}
    // The result a message gets when its handler raised an exception.
    virtual LRESULT FallbackResult(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_ = nullptr;
    DWORD lastCreateError_ = 0;
};

} // namespace vn
