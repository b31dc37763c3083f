#pragma once
// The system's font dialog (ChooseFontW): screen fonts with the effects group
// (underline, strikeout, colour), placed centred on the monitor of the window that
// was active when it was asked for, its top a third of the free height down.
#include <windows.h>

#include <optional>
#include <string>

namespace vn {

struct FontChoice {
    std::u16string name;
    int sizePoints = 10;
    COLORREF color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Shows the dialog preset with `initial` and waits for the answer. Nothing when the
// person cancels, when a quit ends the dialog, or when a font dialog of the program
// is already open (that one comes to the front instead: one at a time).
std::optional<FontChoice> ChooseFontDialog(HWND owner, const FontChoice& initial);

// The open font dialog of the program, or null.
HWND OpenFontDialog() noexcept;

} // namespace vn
