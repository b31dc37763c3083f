#include "platform/theme_win.h"

#include <array>
#include <map>
#include <optional>

#include "platform/gdi_win.h"
#include "platform/high_contrast_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {
constexpr size_t kRoles = static_cast<size_t>(ThemeRole::Count);

struct ThemeState {
    std::optional<Theme> theme;
    std::array<UniqueBrush, kRoles> brushes;
    UniqueFont font;
    std::map<int, UniqueFont> fontsForDpi;  // other DPIs than the screen's
};

ThemeState& State() {
    static ThemeState state;
    return state;
}

// The system's default look without a theme.
int DefaultColorIndex(ThemeRole role) {
    switch (role) {
    case ThemeRole::Window: return COLOR_BTNFACE;
    case ThemeRole::WindowText: return COLOR_WINDOWTEXT;
    case ThemeRole::Control: return COLOR_BTNFACE;
    case ThemeRole::ControlText: return COLOR_BTNTEXT;
    case ThemeRole::Edit: return COLOR_WINDOW;
    case ThemeRole::EditText: return COLOR_WINDOWTEXT;
    case ThemeRole::Border: return COLOR_BTNSHADOW;
    case ThemeRole::Highlight: return COLOR_HIGHLIGHT;
    case ThemeRole::HighlightText: return COLOR_HIGHLIGHTTEXT;
    case ThemeRole::Count: break;
    }
    return COLOR_WINDOW;
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) noexcept {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

bool ApplyTheme(const std::u16string& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, W(name), kThemeResourceType);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (!bytes) return false;
    try {
        UseTheme(ParseTheme(std::string_view(static_cast<const char*>(bytes), size)));
        return true;
    } catch (const std::exception&) {
        return false;  // a theme we cannot read counts as no theme
    }
}

void UseTheme(std::optional<Theme> theme) {
    ThemeState& state = State();
    state.theme = std::move(theme);
    for (auto& brush : state.brushes) brush.reset();
    state.font.reset();
    state.fontsForDpi.clear();
}

const Theme* CurrentTheme() noexcept { return State().theme ? &*State().theme : nullptr; }

COLORREF ThemeColor(ThemeRole role) {
    if (const std::optional<Rgb> c = DialogColor(role, CurrentTheme(), HighContrastOn(), CurrentSystemColors()))
        return ToColorRef(*c);
    return GetSysColor(DefaultColorIndex(role));
}

HBRUSH ThemeBrush(ThemeRole role) {
    // The system's own brushes follow its colours, also when they change.
    if (HighContrastOn()) return GetSysColorBrush(SystemColorIndex(HighContrastDialogColor(role)));
    if (!CurrentTheme()) return GetSysColorBrush(DefaultColorIndex(role));
    auto& brush = State().brushes[static_cast<size_t>(role)];
    if (!brush) brush.reset(CreateSolidBrush(ThemeColor(role)));
    return brush.get();
}

HFONT ThemeFont() {
    const Theme* theme = CurrentTheme();
    if (!theme) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto& font = State().font;
    if (!font) {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(theme->fontSizePoints, ScreenPixelsPerInchY(), 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = CLEARTYPE_QUALITY;
        lstrcpynW(lf.lfFaceName, W(theme->fontName), LF_FACESIZE);
        font.reset(CreateFontIndirectW(&lf));
        if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return font.get();
}

HFONT ThemeFontForDpi(int dpi) {
    const int screen = ScreenPixelsPerInchY();
    HFONT base = ThemeFont();
    if (dpi <= 0 || dpi == screen) return base;
    auto& font = State().fontsForDpi[dpi];
    if (!font) {
        // The font at the screen's DPI, its height brought to `dpi` (a theme's point
        // size gives the same height as the theme font made at that DPI).
        LOGFONTW lf{};
        if (!GetObjectW(base, sizeof(lf), &lf)) return base;
        lf.lfHeight = MulDiv(lf.lfHeight, dpi, screen);
        lf.lfWidth = MulDiv(lf.lfWidth, dpi, screen);
        font.reset(CreateFontIndirectW(&lf));
        if (!font) return base;
    }
    return font.get();
}

bool ThemeControlColor(UINT message, WPARAM wParam, LRESULT& result) {
    if (!CurrentTheme() && !HighContrastOn()) return false;
    ThemeRole background, text;
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        background = ThemeRole::Window;
        text = ThemeRole::WindowText;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        background = ThemeRole::Edit;
        text = ThemeRole::EditText;
        break;
    default:
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, ThemeColor(text));
    SetBkColor(dc, ThemeColor(background));
    result = reinterpret_cast<LRESULT>(ThemeBrush(background));
    return true;
}

LRESULT EraseThemeBackground(HWND window, WPARAM dc) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(dc), &client, ThemeBrush(ThemeRole::Window));
    return 1;
}

void ApplyThemeFont(HWND window) {
    HFONT font = ThemeFont();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EnumChildWindows(window, &SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

std::u16string StyleNotFoundText(const std::u16string& name) { return u"Style '" + name + u"' not found"; }

} // namespace vn
