#include "app/information_window_win.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/gdi_win.h"
#include "platform/scaled_window_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace vn {
namespace {

constexpr wchar_t kClassName[] = L"VnInformationWindow";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// At 96 DPI.
constexpr int kMargin = 12;       // around the icon and the text
constexpr int kBottomSpace = 8;   // the empty area below, where a message box has its buttons
constexpr int kMinTextWidth = 200;

// The theme's font when there is a theme, like the program's dialogs; else the
// system's message font; made for `dpi`.
UniqueFont MessageFont(int dpi) {
    if (HFONT themed = ThemeFontForDpi(dpi)) {
        LOGFONTW font{};
        if (GetObjectW(themed, sizeof(font), &font)) return UniqueFont(CreateFontIndirectW(&font));
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
        return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    return UniqueFont(nullptr);
}

// The text's extent when it is wrapped at `maxWidth`.
SIZE TextExtent(HFONT font, const std::u16string& text, int maxWidth) {
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const ScopedSelectObject selected(dc.get(), font);
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc.get(), W(text), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return {r.right - r.left, r.bottom - r.top};
}

HWND CreateStatic(HWND parent, DWORD style, const std::u16string& text) {
    HWND h = CreateWindowExW(0, L"STATIC", W(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr,
                             Window::Instance(), nullptr);
    if (!h) RaiseLastOSError();
    Window::MarkOwn(h);
    return h;
}

} // namespace

InformationWindow::InformationWindow(HWND owner, const std::u16string& caption, const std::u16string& text)
    : text_(text) {
    RegisterClass(kClassName, 0, ThemeBrush(ThemeRole::Window), nullptr, LoadCursorW(nullptr, IDC_ARROW));
    HWND h = CreateNative(kExStyle, kClassName, W(caption), kStyle, 0, 0, 0, 0, owner);
    icon_ = CreateStatic(h, SS_ICON, u"");
    label_ = CreateStatic(h, SS_LEFT | SS_NOPREFIX, text_);
    // Centred on the primary monitor, whose DPI is the system's.
    LayOut(DpiOfWindow(nullptr), nullptr);
    ShowWindow(h, SW_SHOWNORMAL);
    UpdateWindow(h);
}

InformationWindow::~InformationWindow() { DestroyHandle(); }

void InformationWindow::LayOut(int dpi, const RECT* suggested) {
    // The old font and icon go only once the controls hold the new ones.
    UniqueFont font = MessageFont(dpi);
    const int margin = ScaleForDpi(kMargin, dpi);
    const int iconWidth = SystemMetricForDpi(SM_CXICON, dpi);
    const int iconHeight = SystemMetricForDpi(SM_CYICON, dpi);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const SIZE textSize = TextExtent(font.get(), text_, std::max(ScaleForDpi(kMinTextWidth, dpi), screenWidth / 2));

    const SIZE client{margin + iconWidth + margin + textSize.cx + margin,
                      margin + std::max<int>(iconHeight, textSize.cy) + margin + ScaleForDpi(kBottomSpace, dpi)};
    const SIZE outer = FrameForClient(client, kStyle, kExStyle, dpi);
    const POINT at = suggested ? POINT{suggested->left, suggested->top}
                               : POINT{(screenWidth - outer.cx) / 2, (screenHeight - outer.cy) / 2};
    SetClientSize(Handle(), client, &at);

    // The system's information icon, drawn for the size rather than stretched.
    UniqueIcon picture = LoadIconOfSize(nullptr, IDI_ASTERISK, iconWidth);
    SetWindowPos(icon_, nullptr, margin, margin, iconWidth, iconHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(picture.get()), 0);
    picture_ = std::move(picture);
    // A text shorter than the icon stands in the middle of the icon's height.
    const int textTop = margin + std::max<int>(0, (iconHeight - textSize.cy) / 2);
    SetWindowPos(label_, nullptr, margin + iconWidth + margin, textTop, textSize.cx, textSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (font) SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);
}

LRESULT InformationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_CTLCOLORSTATIC && ThemeControlColor(message, wParam, result)) return result;
    if (message == WM_ERASEBKGND) return EraseThemeBackground(Handle(), wParam);
    if (message == kDpiChangedMessage) {
        LayOut(DpiOfChange(wParam), reinterpret_cast<const RECT*>(lParam));
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
