#pragma once
// The application object: the program's title, its invisible application window
// (the owner of the main controller, so that the program never gets a taskbar
// button) and the message loop.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/window_win.h"

namespace vn {

class Application : public Window {
public:
    Application();

    // Creates the invisible application window; it exists before every other window.
    void Initialize();

    void SetTitle(std::u16string title);
    const std::u16string& Title() const noexcept { return title_; }

    // Runs the message loop until Terminate (or a WM_QUIT from anywhere) ends it.
    void Run();
    // Asks the loop to end. Modal loops of dialogs watch Terminated() and leave too.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    // Handles the messages already waiting, then returns (WM_QUIT ends the run).
    void ProcessMessages();
    // Sees every message of the loop before it is dispatched; true takes it (the
    // keyboard of a window that is not modal: Tab, Enter, Esc, its shortcuts).
    void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool ProcessMessage(MSG& msg);

    std::u16string title_;
    bool terminated_ = false;
    bool quitReceived_ = false;
    std::function<bool(MSG&)> filter_;
};

// The program's application object while it runs; null otherwise.
extern Application* TheApplication;

} // namespace vn
