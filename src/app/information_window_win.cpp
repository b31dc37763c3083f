#include "app/information_window_win.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/gdi_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace vn {
namespace {

constexpr wchar_t kClassName[] = L"VnInformationWindow";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kMargin = 12;       // around the icon and the text
constexpr int kBottomSpace = 8;   // the empty area below, where a message box has its buttons
constexpr int kMinTextWidth = 200;

// The theme's font when there is a theme, like the program's dialogs; else the
// system's message font.
UniqueFont MessageFont() {
    if (HFONT themed = ThemeFont()) {
        LOGFONTW font{};
        if (GetObjectW(themed, sizeof(font), &font)) return UniqueFont(CreateFontIndirectW(&font));
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
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

HWND CreateStatic(HWND parent, DWORD style, const std::u16string& text, int x, int y, int width, int height) {
    HWND h = CreateWindowExW(0, L"STATIC", W(text), WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                             nullptr, Window::Instance(), nullptr);
    if (!h) RaiseLastOSError();
    Window::MarkOwn(h);
    return h;
}

} // namespace

InformationWindow::InformationWindow(HWND owner, const std::u16string& caption, const std::u16string& text)
    : text_(text), font_(MessageFont()) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    const SIZE textSize = TextExtent(font_.get(), text_, std::max(kMinTextWidth, screenWidth / 2));

    RECT frame{0, 0, kMargin + iconWidth + kMargin + textSize.cx + kMargin,
               kMargin + std::max<int>(iconHeight, textSize.cy) + kMargin + kBottomSpace};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    RegisterClass(kClassName, 0, ThemeBrush(ThemeRole::Window), nullptr, LoadCursorW(nullptr, IDC_ARROW));
    HWND h = CreateNative(kExStyle, kClassName, W(caption), kStyle, (screenWidth - width) / 2,
                          (screenHeight - height) / 2, width, height, owner);

    HWND icon = CreateStatic(h, SS_ICON, u"", kMargin, kMargin, iconWidth, iconHeight);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ASTERISK)), 0);
    // A text shorter than the icon stands in the middle of the icon's height.
    const int textTop = kMargin + std::max<int>(0, (iconHeight - textSize.cy) / 2);
    HWND label = CreateStatic(h, SS_LEFT | SS_NOPREFIX, text_, kMargin + iconWidth + kMargin, textTop, textSize.cx,
                              textSize.cy);
    if (font_) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    ShowWindow(h, SW_SHOWNORMAL);
    UpdateWindow(h);
}

InformationWindow::~InformationWindow() { DestroyHandle(); }

LRESULT InformationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_CTLCOLORSTATIC && ThemeControlColor(message, wParam, result)) return result;
    if (message == WM_ERASEBKGND) return EraseThemeBackground(Handle(), wParam);
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
