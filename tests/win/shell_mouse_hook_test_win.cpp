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
    SetMouseHookListener([&](UINT message, const MSLLHOOKSTRUCT&) {
        if (message != WM_MOUSEMOVE) return;
        if (++events == 1) throw std::runtime_error("from the mouse hook");
    });
    ASSERT_TRUE(InstallMouseHook());
    EXPECT_NE(MouseHookHandle, nullptr);

    MoveMouseBy(7);
    EXPECT_TRUE(PumpUntil([&] { return caught == 1; }, 5000)) << "the hook's exception never reached the handler";
    MoveMouseBy(-7);
    EXPECT_TRUE(PumpUntil([&] { return events >= 2; }, 5000)) << "the hook stopped after an exception";
    EXPECT_EQ(caught, 1);

    RemoveMouseHook();
    EXPECT_EQ(MouseHookHandle, nullptr);
    int before = events;
    MoveMouseBy(7);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(events, before) << "a removed hook still sees events";

    SetMouseHookListener({});
    SetApplicationExceptionHandler({});
}

} // namespace
} // namespace vn
