#pragma once
// The note body's rich-text control: a Rich Edit 2.0 control ("RICHEDIT20W" from
// riched20.dll) behind a small wrapper that gives the note window what it relies on.
//
// The wrapper answers at every moment, with or without a native control in a shown
// parent. When the control's native window goes (Destroy(), or its parent being
// destroyed), the content is captured as the control's own RTF stream together with
// the selection and the format at the caret. A query or change made while there is no
// native control creates a hidden control under a private message-only host and
// restores the captured content into it, so a note whose window is not shown can still
// be filled, read and saved. Create() restores the content into the new control. A save
// of a captured body needs no control: the stream and the line count are kept with it
// (RichEditKeeper, rich_edit_keeper_win.h). The control handles its own notifications
// (the window layer's reflection): any parent of the program's will do.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "store/body_file.h"

namespace vn {

enum TextStyle : unsigned { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

struct TextAttributes {
    std::u16string name;   // at most 31 characters
    int sizePoints = 10;   // whole points, truncated from twentieths of a point
    COLORREF color = 0;    // with autoColor, the window-text colour
    bool autoColor = true;
    unsigned style = 0;    // TextStyle bits
};

struct RowPlace {
    int y = 0;
    int sizePoints = 0;
};

class RichEdit {
public:
    struct Events {
        std::function<void()> onChange;                             // after every change of the text
        std::function<void(int width, int height)> onResizeRequest; // content extent changed
        std::function<void(WORD vk, bool shift, bool alt, bool ctrl)> onKeyUp;
        // A key went down (WM_KEYDOWN or WM_SYSKEYDOWN, its own parameters): true when
        // the owner took it, and the control then never sees it.
        std::function<bool(WPARAM key, LPARAM flags)> onKeyDown;
        std::function<void(int wheelDelta)> onMouseWheel;           // reported instead of scrolling the control
        std::function<void(POINT screen)> onContextMenu;            // right click (or the menu key)
        // The hidden control (and its message-only window) was made (true), or is
        // gone again (false): it takes objects of the process while it exists.
        std::function<void(bool made)> onHiddenControl;
    };

    explicit RichEdit(Events events);
    ~RichEdit();
    RichEdit(const RichEdit&) = delete;
    RichEdit& operator=(const RichEdit&) = delete;

    // (Re)creates the visible native control as a child of `parent`; content,
    // formatting and selection carry over from the previous native control.
    // Raises OSError when the system refuses the control.
    void Create(HWND parent, int left, int top, int width, int height);
    // Destroys the native control, shown or hidden; the content stays for the next
    // Create and for queries.
    void Destroy();
    // The native control in a parent given to Create, or null.
    HWND Handle() const;

    // Lines: a line break ends a line; a last line that is empty does not count.
    int LineCount() const;
    // True while the body is a body file that no control has read yet.
    bool BodyUnread() const;
    std::u16string LineText(int line) const;  // without its line break; "" out of range
    int LineLength(int line) const;           // of LineText(line), without reading it
    int LineStart(int line) const;            // character position; the end of the text past the last line
    int TextLength() const;  // characters, each line break one
    // The whole text, each line break as one "\r" (indexes match selection positions).
    std::u16string Text() const;

    // Character positions; setting the start collapses the selection there, setting the
    // length extends it from the start; positions past the end fall back to the end.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);

    // For the selection or, when it is empty, the insertion point.
    TextAttributes SelAttributes() const;
    int SelSize() const;  // SelAttributes().sizePoints alone
    // Where the caret would stand at the start of the control's row `row` (its y in
    // the control) and the size in whole points there, read without moving the
    // selection or the caret; nothing when the control cannot tell it so (a row of
    // mixed sizes whose first characters are not its tallest).
    std::optional<RowPlace> PlaceOfRowStart(int row) const;
    // The size in whole points of the text from `from` to `to` when all of it is in one
    // font (face, size, bold, italic, position alike), read without moving the
    // selection; nothing for mixed text, a range past the closing paragraph mark or a
    // control that cannot say.
    std::optional<int> OneFontSize(int from, int to) const;
    void SetSelFontName(const std::u16string& name);
    void SetSelSize(int points);
    void SetSelColor(COLORREF color, bool automatic);
    void SetSelStyle(unsigned style);

    // Caret position in the control's client coordinates; only while it has the focus.
    bool CaretPos(POINT& p) const;
    // The y at which the caret would stand at `index`, the start of a row, if the
    // control had the focus; also without it. Nothing when the control cannot say.
    std::optional<int> CaretTopAtRowStart(int index) const;
    // Where the control draws character `index` (the caret's place when it stands
    // there), in its client coordinates; also without the focus.
    bool CharPos(int index, POINT& p) const;
    bool HasFocus() const;
    bool CanFocus() const;  // it and all its parents visible and enabled
    void SetFocus();

    // Position and size in its parent (kept while there is no native control).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    // Shows the text `numerator` / `denominator` times as large as the system draws
    // it (kept for a control made later): a note on a monitor whose DPI is not the
    // system's. Equal numbers: no zoom. The content and its point sizes stay as
    // they are.
    void SetDisplayZoom(int numerator, int denominator);

    // The clipboard commands of the control itself: no keystrokes go through the
    // system, so no other program can receive them.
    void Cut();
    void Copy();
    void Paste();

    // The whole content as the control streams it out as RTF.
    std::string SaveRtf() const;
    // Replaces the whole content: RTF when the bytes are RTF, else plain text (byte-order
    // mark FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, else the ANSI code page; CR,
    // LF and CR LF each one line break). Raises Error("Failed to Load Stream") when the
    // control takes neither. Reports one change; the selection ends empty at 0.
    void LoadBody(const BodyFile& body);
    // The same for bytes of a body file, read with the system's ANSI code page.
    void LoadBody(std::string bytes);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vn
