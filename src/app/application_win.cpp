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

void Application::Terminate() noexcept {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

bool Application::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
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
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            terminated_ = true;
            break;
        }
        ProcessMessage(msg);
    }
}

} // namespace vn
