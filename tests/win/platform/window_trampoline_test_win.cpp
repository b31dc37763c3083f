#include "platform/guarded.h"
#include "platform/window_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vn {
namespace {

class ThrowingWindow : public Window {
public:
    void Create() {
        RegisterClass(L"VnTestThrowingWindow");
        CreateNative(0, L"VnTestThrowingWindow", L"t", WS_OVERLAPPED, 0, 0, 10, 10, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 7) throw std::runtime_error("from the window procedure");
        if (message == WM_TIMER) {
            KillTimer(Handle(), wParam);
            throw std::runtime_error("from a timer");
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

TEST(WindowTrampoline, ExceptionsInsideTheWindowProcedureReachTheHandler) {
    int caught = 0;
    SetApplicationExceptionHandler([&](std::exception_ptr) { ++caught; });
    ThrowingWindow w;
    w.Create();
    ASSERT_TRUE(w.HasHandle());
    EXPECT_TRUE(Window::IsOwnNativeWindow(w.Handle()));
    EXPECT_EQ(SendMessageW(w.Handle(), WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(caught, 1);

    SetTimer(w.Handle(), 1, 1, nullptr);
    MSG msg;
    DWORD start = GetTickCount();
    while (caught < 2 && GetTickCount() - start < 3000) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(1);
    }
    EXPECT_EQ(caught, 2);
    EXPECT_TRUE(IsWindow(w.Handle()));  // the program keeps running
    w.DestroyHandle();
    EXPECT_FALSE(w.HasHandle());
    SetApplicationExceptionHandler({});
}

} // namespace
} // namespace vn
