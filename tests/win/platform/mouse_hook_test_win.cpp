#include "platform/mouse_hook_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/guarded.h"

namespace vn {
namespace {

void MoveMouseBy(int dx) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

// Pumps messages (the system calls the hook while the thread waits for them).
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

TEST(MouseHook, AnExceptionInTheHookReachesTheHandlerAndTheHookGoesOn) {
    int caught = 0, events = 0;
    SetApplicationExceptionHandler([&](std::exception_ptr) { ++caught; });
    {
        MouseHook hook([&](UINT message, const MSLLHOOKSTRUCT&) {
            if (message != WM_MOUSEMOVE) return;
            if (++events == 1) throw std::runtime_error("from the mouse hook");
        });
        ASSERT_TRUE(hook.Installed());
        MouseHook second([&](UINT, const MSLLHOOKSTRUCT&) { ADD_FAILURE() << "a second hook of the thread"; });
        EXPECT_FALSE(second.Installed()) << "one hook per thread";

        MoveMouseBy(7);
        EXPECT_TRUE(PumpUntil([&] { return caught == 1; }, 5000)) << "the hook's exception never reached the handler";
        MoveMouseBy(-7);
        EXPECT_TRUE(PumpUntil([&] { return events >= 2; }, 5000)) << "the hook stopped after an exception";
        EXPECT_EQ(caught, 1);

        // A negative code asks the hook to pass the event on without looking at it.
        MSLLHOOKSTRUCT event{};
        const int seen = events;
        MouseHook::MouseHookProc(-1, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&event));
        EXPECT_EQ(events, seen);
        MouseHook::MouseHookProc(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&event));
        EXPECT_EQ(events, seen + 1);
    }
    // Gone with its object: neither the system nor the procedure reaches the listener.
    int before = events;
    MoveMouseBy(7);
    PumpUntil([] { return false; }, 300);
    MSLLHOOKSTRUCT event{};
    MouseHook::MouseHookProc(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&event));
    EXPECT_EQ(events, before) << "a removed hook still sees events";
    SetApplicationExceptionHandler({});
}

} // namespace
} // namespace vn
