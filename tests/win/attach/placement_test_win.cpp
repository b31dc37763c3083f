#include "attach/note_placement.h"
#include "attach/note_placement_win.h"
#include "platform/guarded.h"
#include "platform/window_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "target_process_win.h"

namespace vn {
namespace {

using test::TargetProcess;

// A note-like window: created with the form's frame styles minus the note's mask,
// owned by a window of another process.
class OwnedWindow : public Window {
public:
    void Create(HWND owner) {
        RegisterClass(L"VnAttachOwnedNote");
        DWORD style = NoteCreationStyle(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN);
        DWORD exStyle = NoteCreationExStyle(WS_EX_APPWINDOW | WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW);
        CreateNative(exStyle, L"VnAttachOwnedNote", L"note", style, 10, 10, 200, 150, owner);
    }
};

bool IsAbove(HWND upper, HWND lower) {
    for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (h == upper) return true;
    return false;
}

TEST(AttachPlacement, CreationStylesLeaveNeitherFrameNorTaskbarButton) {
    DWORD style = NoteCreationStyle(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN | WS_SYSMENU);
    EXPECT_EQ(style, static_cast<DWORD>(WS_CLIPCHILDREN | WS_SYSMENU));
    DWORD exStyle = NoteCreationExStyle(WS_EX_APPWINDOW | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE |
                                        WS_EX_DLGMODALFRAME | WS_EX_LAYERED);
    EXPECT_EQ(exStyle, static_cast<DWORD>(WS_EX_LAYERED));
}

TEST(AttachPlacement, ANoteOwnedByAnotherProcessesWindowIsPlacedAndShownAboveIt) {
    TargetProcess targets({u"Vn placement target"});
    HWND target = targets.Window(0);
    // The new window's program activates it on its own time, which raises it above
    // everything: let that happen first, or it may come between placing and checking.
    for (int i = 0; i < 100 && GetForegroundWindow() != target; ++i) test::PumpMessagesFor(20);
    OwnedWindow note;
    note.Create(target);
    ASSERT_TRUE(note.HasHandle());
    EXPECT_EQ(GetWindow(note.Handle(), GW_OWNER), target);

    // A style the form put back in after creation goes again.
    SetWindowLongW(note.Handle(), GWL_STYLE, GetWindowLongW(note.Handle(), GWL_STYLE) | WS_CAPTION);
    ShowNoteAtPosition(note.Handle(), 321, 123);
    test::PumpMessagesFor(100);
    RECT r{};
    GetWindowRect(note.Handle(), &r);
    EXPECT_EQ(r.left, 321);
    EXPECT_EQ(r.top, 123);
    EXPECT_EQ(r.right - r.left, 200);  // size kept
    EXPECT_TRUE(IsWindowVisible(note.Handle()));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(note.Handle(), GWL_STYLE)) & (WS_CAPTION | WS_POPUP | WS_THICKFRAME), 0u);

    ShowWindow(note.Handle(), SW_HIDE);
    ShowNoteAboveTarget(note.Handle(), target);
    // Checked at once: a later activation of the target's program may raise the
    // target again, and Wine does not raise another process's owned windows with it.
    EXPECT_TRUE(IsAbove(note.Handle(), target));
    test::PumpMessagesFor(100);
    GetWindowRect(note.Handle(), &r);
    EXPECT_EQ(r.left, 321);  // position kept
    EXPECT_TRUE(IsWindowVisible(note.Handle()));
    note.DestroyHandle();
}

} // namespace
} // namespace vn
