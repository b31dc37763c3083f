#include "platform/modal_dialog_win.h"

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

void ModalDialog::CreateDialogWindow(const wchar_t* className, const std::u16string& caption, int width, int height) {
    RegisterClass(className, 0, ThemeBrush(ThemeRole::Window), nullptr, LoadCursorW(nullptr, IDC_ARROW));
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    // Owned by nothing: a modal dialog of a tray program has to be able to come to
    // the front on its own and keep its taskbar button while it is shown.
    CreateNative(kDialogExStyle, className, W(caption), kDialogStyle,
                 (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2,
                 outerWidth, outerHeight, nullptr);
    if (!ThemeFont()) {
        // Without a theme the dialogs still get their face.
        LOGFONTW font{};
        font.lfHeight = -MulDiv(8, 96, 72);
        lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
        ownFont_.reset(CreateFontIndirectW(&font));
    }
}

HFONT ModalDialog::Font() const noexcept { return ThemeFont() ? ThemeFont() : ownFont_.get(); }

HWND ModalDialog::AddControl(const wchar_t* className, const std::u16string& text, DWORD style, int x, int y,
                             int width, int height, int id, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, W(text), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (!control) RaiseLastOSError();
    MarkOwn(control);
    if (HFONT font = Font()) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Each control after the previous one: the creation order is the tab order.
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
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
