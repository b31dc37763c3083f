#pragma once
// A small message-style window that informs without asking anything: a caption,
// the system's information icon at the left and a word-wrapped text beside it, no
// buttons, a dialog border, in the theme's colours and font like the program's
// dialogs. It is centred on the screen and shown without blocking anything; it
// goes when its object goes. Its margins, icon and font follow its DPI. Picking uses it as its prompt when it starts from
// the import dialog.
#include <windows.h>

#include <string>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

namespace vn {

class InformationWindow final : public Window {
public:
    // Creates the window owned by `owner` and shows it. Raises OSError.
    InformationWindow(HWND owner, const std::u16string& caption, const std::u16string& text);
    ~InformationWindow() override;

    const std::u16string& Text() const noexcept { return text_; }
    // For the tests: the icon and the text's label.
    HWND Icon() const noexcept { return icon_; }
    HWND Label() const noexcept { return label_; }

protected:
    // The theme's colours for the text.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Sizes the window and places the icon and the text for `dpi`; `suggested`, the
    // rectangle of a WM_DPICHANGED, or null to centre it on the screen.
    void LayOut(int dpi, const RECT* suggested);

    std::u16string text_;
    UniqueFont font_;
    UniqueIcon picture_;
    HWND icon_ = nullptr;
    HWND label_ = nullptr;
};

} // namespace vn
