#pragma once
// A small message-style window that informs without asking anything: a caption,
// the system's information icon at the left and a word-wrapped text beside it, no
// buttons, a dialog border, in the theme's colours and font like the program's
// dialogs. It is centred on the screen and shown without blocking anything; it
// goes when its object goes. Picking uses it as its prompt when it starts from
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

protected:
    // The theme's colours for the text.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::u16string text_;
    UniqueFont font_;
};

} // namespace vn
