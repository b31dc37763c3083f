// The reason given to Windows while a save holds up the end of the session. Wine
// has the calls as stubs that refuse every window (FALSE), so all that can be
// shown here is that the program finds them, believes the system's answer, and
// takes a reason back only when one was set; on Windows the reason is set.
#include "platform/shutdown_block_win.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(ShutdownBlock, IsAskedForARealWindowOnlyAndTakenBackOnce) {
    ASSERT_NE(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonCreate"), nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"saving", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        ShutdownBlock block;
        EXPECT_FALSE(block.Hold(nullptr, u"Saving your notes"));
        EXPECT_FALSE(block.Held());
        const bool taken = block.Hold(window, u"Saving your notes");
        EXPECT_EQ(block.Held(), taken);
        block.Release();
        EXPECT_FALSE(block.Held());
        block.Release(); // nothing left to take back
        EXPECT_EQ(block.Hold(window, u"Saving your notes"), taken);
    } // and the end of its owner takes it back
    DestroyWindow(window);
}

} // namespace
} // namespace vn
