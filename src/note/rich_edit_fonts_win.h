#pragma once
// The fonts of a rich-text control's text, read through the control's text object
// model, and what they tell of the control's rows: where a row starts, the size
// there, and where the caret would stand. All of it anywhere in the text and without
// moving the selection: moving the selection re-places the caret, a round of
// messages for every step of the checklist walk.
#include <windows.h>

#include <richole.h>
#include <tom.h>

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "note/rich_edit_win.h"

namespace vn {

// A question that only reads a control's state, put to the control's own window
// procedure (null: sent). Under Wine a SendMessageW to a window of the same thread
// costs some twenty times what the control needs to answer (0.05 to 0.1 ms each),
// and the checklist walk asks a few hundred questions a key release. Nothing of a
// subclass applies to a query, and a query sends no notification.
struct ControlQuery {
    HWND control;
    WNDPROC procedure;

    LRESULT operator()(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return procedure ? CallWindowProcW(procedure, control, msg, wParam, lParam)
                         : SendMessageW(control, msg, wParam, lParam);
    }
    // Characters, each line break one.
    int TextLength() const;
    // Where the control draws character `index` (the caret's place when it stands
    // there), in its client coordinates; also without the focus.
    bool CharPos(int index, POINT& p) const;
};

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

    // OneFont's size in whole points, as EM_GETCHARFORMAT's twentieths give it.
    std::optional<int> OneFontSize(HWND control, int from, int to);
    // Where the caret would stand at the start of row `row` (>= 0) and the size in
    // whole points there; nothing when that cannot be told without moving it.
    std::optional<RowPlace> PlaceOfRowStart(const ControlQuery& ask, int row);
    // The y at which the caret would stand at `index`, the start of a row, if the
    // control had the focus; nothing when a font cannot be measured.
    std::optional<int> CaretTopAtRowStart(const ControlQuery& ask, int index);

private:
    // Ascent and height of text in a font as the control lays it out.
    struct Metrics {
        int ascent = -1, height = -1;
    };

    ITextFont* FontOf(HWND control, int from, int to);
    Metrics MetricsOf(HWND control, const RunFont& font);

    // One range per native control, asked for once, with its font: a range's font
    // object follows the range, so moving the range is enough.
    ITextRange* range_ = nullptr;
    ITextFont* font_ = nullptr;
    bool none_ = false;  // the control offers no text object model
    // A few fonts' metrics are kept: a body rarely uses more.
    static constexpr std::size_t kKeptMetrics = 8;
    std::vector<std::pair<RunFont, Metrics>> metrics_;
};

// The ascent the control gives text in `font`, measured on `dc`, and with `height`
// the height of its rows; -1 when it cannot be measured.
int ControlAscent(HDC dc, const RunFont& font, int* height = nullptr);

} // namespace vn
