#include "platform/window_win.h"

#include "platform/guarded.h"
#include "platform/high_contrast_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {
// Marker property on every native window the layer owns (the own-window test).
constexpr wchar_t kOwnProperty[] = L"VantoryNote.Own";
// Marker property on a control that handles its own notifications.
constexpr wchar_t kReflectProperty[] = L"VantoryNote.Reflect";

// The child that sent a notification, or null for any other message (and for a
// command from a menu or an accelerator).
HWND NotifyingChild(UINT message, LPARAM lParam) noexcept {
    if (message == WM_COMMAND) return reinterpret_cast<HWND>(lParam);
    if (message == WM_NOTIFY && lParam) return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    return nullptr;
}
} // namespace

Window::~Window() { DestroyHandle(); }

void Window::DestroyHandle() noexcept {
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);
        // If the window belonged to another thread or DestroyWindow failed, forget it anyway.
        if (hwnd_ == h && !IsWindow(h)) hwnd_ = nullptr;
    }
}

bool Window::IsOwnNativeWindow(HWND hwnd) noexcept {
    if (!hwnd) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return false;
    return GetPropW(hwnd, kOwnProperty) != nullptr;
}

void Window::MarkOwn(HWND hwnd) noexcept {
    if (hwnd) SetPropW(hwnd, kOwnProperty, reinterpret_cast<HANDLE>(1));
}

void Window::ReflectNotifications(HWND control) noexcept {
    if (control) SetPropW(control, kReflectProperty, reinterpret_cast<HANDLE>(1));
}

HINSTANCE Window::Instance() noexcept { return GetModuleHandleW(nullptr); }

void Window::RegisterClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon, HCURSOR cursor) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(Instance(), className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &Window::Trampoline;
    wc.hInstance = Instance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) RaiseLastOSError();
}

HWND Window::CreateNative(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                          int width, int height, HWND owner, HMENU menu, bool raiseOnFailure) {
    SetLastError(0);
    HWND h = CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, menu, Instance(), this);
    lastCreateError_ = h ? 0 : GetLastError();
    if (!h && raiseOnFailure) {
        SetLastError(lastCreateError_);
        RaiseLastOSError();
    }
    return h;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = NotifyingChild(message, lParam);
    if (child && GetParent(child) == hwnd_ && GetPropW(child, kReflectProperty))
        return SendMessageW(child, kReflectedMessage + message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::FallbackResult(UINT message, WPARAM, LPARAM) {
    // A window whose creation handler failed must still come into being.
    return message == WM_NCCREATE ? TRUE : 0;
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            MarkOwn(hwnd);
        }
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    bool handled = false;
    Guarded([&] {
        if (IsContrastChange(message, wParam)) RefreshForContrastChange();
        result = self->HandleMessage(message, wParam, lParam);
        handled = true;
    });
    if (!handled) result = self->FallbackResult(message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kOwnProperty);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        Guarded([&] { self->OnNativeDestroyed(); });
    }
    return result;
}

} // namespace vn
