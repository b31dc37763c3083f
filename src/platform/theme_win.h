#pragma once
// The program's look on Windows: the theme resource is looked up by name once at
// start; dialogs ask for its colours, brushes and font. Without an applied theme
// every answer is the system's default look. While high contrast is on
// (platform/high_contrast_win.h) every answer is a system colour instead.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/theme.h"

namespace vn {

// Resource type of themes in the program's resources.
inline constexpr wchar_t kThemeResourceType[] = L"VNTHEME";

// Makes the theme resource `name` the look of the program's dialogs. False when the
// program has no readable theme by that name; the default look stays then.
bool ApplyTheme(const std::u16string& name);

// Makes `theme` the look of the program's dialogs; null goes back to the default look.
void UseTheme(std::optional<Theme> theme);

// The applied theme, or null while the default look is in use.
const Theme* CurrentTheme() noexcept;

COLORREF ThemeColor(ThemeRole role);
// Owned by the theme and kept until exit; never delete it.
HBRUSH ThemeBrush(ThemeRole role);
HFONT ThemeFont();
// The theme font made for a window at `dpi` (the screen's own DPI gives ThemeFont()).
// Owned by the theme like ThemeFont(); one is made per DPI asked.
HFONT ThemeFontForDpi(int dpi);

// Answers WM_CTLCOLORDLG / STATIC / BTN / EDIT / LISTBOX for a dialog: sets the
// text and background colours on the device context and gives the brush. False
// (and the message goes on to the default handling) without an applied theme,
// unless high contrast is on.
bool ThemeControlColor(UINT message, WPARAM wParam, LRESULT& result);

// Answers WM_ERASEBKGND for a dialog: fills the client area with the Window brush
// of the moment (the class brush is the one of the look at registration).
LRESULT EraseThemeBackground(HWND window, WPARAM dc);

// Gives `window` and all of its child windows the theme font.
void ApplyThemeFont(HWND window);

// "Style 'NAME' not found".
std::u16string StyleNotFoundText(const std::u16string& name);

} // namespace vn
