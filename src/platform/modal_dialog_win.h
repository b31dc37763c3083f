#pragma once
// A dialog window of the program that is created once and shown modally again and
// again: a fixed dialog frame centred on the screen, child controls laid out in
// client pixels at 96 DPI and scaled to the dialog's DPI (and again when the dialog
// moves to a monitor of another DPI), the theme's colours and font made for that
// DPI, and a modal loop that also ends
// when the application is asked to quit (the quit message is passed on, so the
// program's own loop ends too).
#include <windows.h>

#include <functional>
#include <string>

#include "platform/scaled_window_win.h"
#include "platform/window_win.h"

namespace vn {

enum class ModalResult { None, OK, Cancel };

class ModalDialog : public Window {
public:
    // The dialog is showing from the start of ShowModal until it returns.
    bool Showing() const noexcept { return showing_; }
    // Brings a showing dialog to the front.
    void BringToFront();
    // True when the last modal loop ended because the application is quitting.
    bool QuitSeen() const noexcept { return quitSeen_; }
    // True when the application was asked to quit and its quit message waits (a
    // nested modal loop, a message box or a file dialog, passed it on as it ended).
    static bool QuitPending() noexcept;
    // Runs as the modal loop ends, while the dialog still shows: what the dialog's
    // showing disabled is enabled here, before the system picks the window to
    // activate once the dialog hides.
    void SetClosingAction(std::function<void()> action) { closing_ = std::move(action); }

    // The DPI the dialog is laid out for.
    int Dpi() const noexcept { return dpi_; }

protected:
    // Creates the hidden dialog window with a client area of `width` x `height` at 96 DPI.
    void CreateDialogWindow(const wchar_t* className, const std::u16string& caption, int width, int height);
    // A child control at client coordinates at 96 DPI; controls are made in tab order.
    HWND AddControl(const wchar_t* className, const std::u16string& text, DWORD style, int x, int y, int width,
                    int height, int id, DWORD exStyle = 0);

    // Shows the dialog and runs its modal loop until EndModal or the quit message.
    // `FormShow` runs before the window appears.
    ModalResult ShowModal();
    void EndModal(ModalResult result);

    virtual void FormShow() {}
    virtual void Command(int /*id*/, int /*code*/) {}
    virtual LRESULT Notify(NMHDR& /*header*/) { return 0; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HFONT Font() const;

private:
    SIZE ClientSize() const noexcept;
    void LayOutForDpi(int dpi, LPARAM suggested);

    std::function<void()> closing_;
    SIZE client96_{};
    int dpi_ = kBaseDpi;
    ScaledControls controls_;
    bool showing_ = false;
    bool quitSeen_ = false;
    ModalResult result_ = ModalResult::None;
};

} // namespace vn
