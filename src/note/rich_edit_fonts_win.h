#pragma once
// The fonts of a rich-text control's text, read through the control's text object
// model: anywhere in the text and without moving the selection. Moving the selection
// re-places the caret, a round of messages for every step of the checklist walk.
#include <windows.h>

#include <richole.h>
#include <tom.h>

#include <optional>
#include <string>
#include <vector>

namespace vn {

// A font as the control draws text in it.
struct RunFont {
    std::wstring name;
    float points = 0;
    bool bold = false, italic = false;
    bool shifted = false;  // raised, lowered, superscript or subscript
};

class RichEditFonts {
public:
    RichEditFonts() = default;
    ~RichEditFonts() { Release(); }
    RichEditFonts(const RichEditFonts&) = delete;
    RichEditFonts& operator=(const RichEditFonts&) = delete;

    // The font of the text of `control` from `from` to `to` when all of it (face, size,
    // bold, italic, position) is in one; nothing for mixed text, a range past the
    // closing paragraph mark or a control that cannot say.
    std::optional<RunFont> OneFont(HWND control, int from, int to);
    // The text from `from` to `to` as runs of one font each, in order; false when a
    // run cannot be read.
    bool Runs(HWND control, int from, int to, std::vector<RunFont>& runs);
    // Lets go of the control's text object model: the control's window is going.
    void Release() noexcept;

private:
    ITextFont* FontOf(HWND control, int from, int to);

    // One range per native control, asked for once, with its font: a range's font
    // object follows the range, so moving the range is enough.
    ITextRange* range_ = nullptr;
    ITextFont* font_ = nullptr;
    bool none_ = false;  // the control offers no text object model
};

// The ascent the control gives text in `font`, measured on `dc`, and with `height`
// the height of its rows; -1 when it cannot be measured.
int ControlAscent(HDC dc, const RunFont& font, int* height = nullptr);

} // namespace vn
