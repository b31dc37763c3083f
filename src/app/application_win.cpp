#include "app/application_win.h"

#include "platform/text_win.h"

namespace vn {

Application* TheApplication = nullptr;

namespace {
constexpr wchar_t kApplicationClass[] = L"VnApplication";
} // namespace

Application::Application() = default;

void Application::Initialize() {
    if (HasHandle()) return;
    RegisterClass(kApplicationClass);
    // A tool window that is never shown: no taskbar button, nothing on screen, yet a
    // real top-level window that can own others and take the foreground for menus.
    CreateNative(WS_EX_TOOLWINDOW, kApplicationClass, W(title_), WS_POPUP, 0, 0, 0, 0, nullptr);
}

void Application::SetTitle(std::u16string title) {
    title_ = std::move(title);
    if (HasHandle()) SetWindowTextW(Handle(), W(title_));
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Asked to close (a task manager's polite end, say): end the program the normal
    // way, through the loop and the shutdown, instead of losing the owner window of
    // the controller.
    if (message == WM_CLOSE) {
        Terminate();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void Application::Terminate() noexcept {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

bool Application::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        quitReceived_ = true;
        return false;
    }
    if (filter_ && filter_(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!ProcessMessage(msg)) break;
    }
}

void Application::Run() {
    // Runs until the quit message itself arrives, so that it never stays in the
    // queue to end the first modal loop of the shutdown (a message box, say).
    MSG msg;
    while (!quitReceived_) {
        // A quit swallowed by a nested loop that did not pass it on: nothing will come.
        if (terminated_ && !PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) &&
            !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            break;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            terminated_ = true;
            quitReceived_ = true;
            break;
        }
        ProcessMessage(msg);
    }
}

} // namespace vn
