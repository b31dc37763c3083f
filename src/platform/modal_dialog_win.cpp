#include "platform/modal_dialog_win.h"

#include <commctrl.h>

#include <array>

#include "platform/errors.h"
#include "platform/high_contrast_win.h"
#include "platform/list_view_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace vn {

namespace {
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
} // namespace

SIZE ModalDialog::ClientSize() const noexcept {
    return {ScaleForDpi(client96_.cx, dpi_), ScaleForDpi(client96_.cy, dpi_)};
}

void ModalDialog::CreateDialogWindow(const wchar_t* className, const std::u16string& caption, int width, int height) {
    RegisterClass(className, 0, ThemeBrush(ThemeRole::Window), nullptr, LoadCursorW(nullptr, IDC_ARROW));
    client96_ = {width, height};
    // Centred on the primary monitor, whose DPI is the system's.
    dpi_ = DpiOfWindow(nullptr);
    const SIZE outer = FrameForClient(ClientSize(), kDialogStyle, kDialogExStyle, dpi_);
    // Owned by nothing: a modal dialog of a tray program has to be able to come to
    // the front on its own and keep its taskbar button while it is shown.
    CreateNative(kDialogExStyle, className, W(caption), kDialogStyle, (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2, outer.cx, outer.cy, nullptr);
    SetClientSize(Handle(), ClientSize());
}

// The theme's font, made for the dialog's DPI (without a theme, the system's dialog font).
HFONT ModalDialog::Font() const { return ThemeFontForDpi(dpi_); }

HWND ModalDialog::AddControl(const wchar_t* className, const std::u16string& text, DWORD style, int x, int y,
                             int width, int height, int id, DWORD exStyle) {
    const RECT at96{x, y, x + width, y + height};
    const RECT r = ScaledControls::Scaled(at96, dpi_);
    HWND control = CreateWindowExW(exStyle, className, W(text), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (!control) RaiseLastOSError();
    MarkOwn(control);
    controls_.Add(control, at96);
    if (HFONT font = Font()) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Each control after the previous one: the creation order is the tab order.
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

void ModalDialog::LayOutForDpi(int dpi, LPARAM suggested) {
    const int old = dpi_;
    dpi_ = dpi;
    const POINT corner = SuggestedCorner(suggested);
    SetClientSize(Handle(), ClientSize(), suggested ? &corner : nullptr);
    if (old == dpi_) return;
    controls_.Place(dpi_, Font());
    EnumChildWindows(
        Handle(),
        [](HWND child, LPARAM change) noexcept -> BOOL {
            wchar_t name[32] = {};
            if (GetClassNameW(child, name, 32) && lstrcmpiW(name, WC_LISTVIEWW) == 0) {
                const auto* dpis = reinterpret_cast<const int*>(change);
                ScaleListColumns(child, dpis[0], dpis[1]);
                LayOutListAgain(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(std::array<int, 2>{old, dpi_}.data()));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ModalDialog::BringToFront() {
    if (!showing_ || !HasHandle()) return;
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

ModalResult ModalDialog::ShowModal() {
    result_ = ModalResult::None;
    quitSeen_ = false;
    showing_ = true;
    FormShow();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    MSG msg;
    while (result_ == ModalResult::None) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The application quits: the message goes back for the loop that ends the program.
            quitSeen_ = true;
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            break;
        }
        if (IsDialogMessageW(Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (closing_) closing_();
    ShowWindow(Handle(), SW_HIDE);
    showing_ = false;
    return result_;
}

bool ModalDialog::QuitPending() noexcept {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

void ModalDialog::EndModal(ModalResult result) { result_ = result; }

LRESULT ModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) Command(LOWORD(wParam), HIWORD(wParam));
        else if (LOWORD(wParam) == IDCANCEL) EndModal(ModalResult::Cancel);  // Esc
        return 0;
    case WM_NOTIFY: return Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CLOSE:
        // The frame's close box means Cancel; the window stays for the next showing.
        EndModal(ModalResult::Cancel);
        return 0;
    case WM_ERASEBKGND: return EraseThemeBackground(Handle(), wParam);
    case kDpiChangedMessage: LayOutForDpi(DpiOfChange(wParam), lParam); return 0;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        LRESULT result = 0;
        if (ThemeControlColor(message, wParam, result)) return result;
        break;
    }
    }
    if (message == ContrastChangedMessage()) ApplyThemeToLists(Handle());
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
