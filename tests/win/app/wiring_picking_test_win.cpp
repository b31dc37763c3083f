// Picking the window for a new note in the running program: the controller's hook,
// timers, prompts and the note it makes, with mouse events fed to the program's
// own low-level hook and real windows of another program in the foreground.
#include <gtest/gtest.h>

#include <algorithm>

#include "attach/identity_win.h"
#include "attach/window_picker.h"
#include "note/note_chrome_win.h"
#include "app/exception_rule.h"
#include "platform/guarded.h"

#include "note_test_fixture_win.h"
#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

// A visible window of the program itself (a dialog of its own, say).
class OwnWindow : public Window {
public:
    OwnWindow() {
        RegisterClass(L"VnWiringOwnWindow");
        CreateNative(0, L"VnWiringOwnWindow", L"Vn own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300, 300,
                     200, nullptr);
    }
};

class WiringPickingTest : public WiringTest {
protected:
    WiringPickingTest() : WiringTest("vn-wiring-picking") {}

    // A left click somewhere: the window under the mouse has come to the front.
    void LeftClick() {
        Hook(WM_LBUTTONDOWN);
        Hook(WM_LBUTTONUP);
    }
    bool WaitForNotes(size_t count) {
        return PumpUntil([&] { return main->Jotlets().size() == count; }, 3000);
    }
};

TEST_F(WiringPickingTest, ALeftClickOnAnotherProgramsWindowSticksAnEmptyNoteAtItsCorner) {
    Start();
    TargetProcess targets({u"Vn picking target"});
    HWND target = targets.Window(0);

    main->SelectWindowToAddStickyNote(true, u"");
    EXPECT_TRUE(main->SelectingCaptureWindow());
    EXPECT_EQ(main->Tray().BalloonText(), kBalloonPickPrompt);
    EXPECT_EQ(main->Tray().BalloonIcon(), static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(main->Tray().BalloonTitle(), kBalloonTitle);
    EXPECT_EQ(main->SelectWindowInfo(), nullptr) << "the balloon is the prompt";
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::CheckForegroundWindowTimer));

    ASSERT_TRUE(BringToFront(target));
    Hook(WM_MOUSEMOVE);
    Hook(WM_LBUTTONDOWN);
    EXPECT_TRUE(main->SelectingCaptureWindow());
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::CheckForegroundWindowTimer)) << "a button went down";
    Hook(WM_LBUTTONUP);
    EXPECT_FALSE(main->SelectingCaptureWindow());
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::CaptureWindowTimer));
    Hook(WM_LBUTTONUP);  // a second click of a double click changes nothing

    ASSERT_TRUE(WaitForNotes(1));
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::CaptureWindowTimer));
    TFStickyNote& note = Note(0);
    EXPECT_EQ(note.WndParent(), target);
    EXPECT_EQ(note.WndParentCaption(), u"Vn picking target");
    EXPECT_EQ(note.OwnerText(), GetLocalComputerName());
    EXPECT_EQ(note.Editor().Text(), u"");
    ASSERT_TRUE(note.HasHandle());
    EXPECT_EQ(GetWindow(note.Handle(), GW_OWNER), target);
    EXPECT_TRUE(IsWindowVisible(note.Handle()));
    EXPECT_TRUE(note.IsShown());
    RECT targetRect{}, noteRect{};
    GetWindowRect(target, &targetRect);
    GetWindowRect(note.Handle(), &noteRect);
    EXPECT_EQ(noteRect.left, targetRect.left + 5);
    EXPECT_EQ(noteRect.top, targetRect.top + 5);
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::SaveTimer)) << "an empty new note schedules no save";
}

TEST_F(WiringPickingTest, OwnWindowsUntitledWindowsAndARightClickGetNoNote) {
    Start();
    TargetProcess targets({u"Vn picking target", u"  "});
    OwnWindow own;
    struct Case {
        const char* what;
        HWND foreground;
        bool cancel;
    } cases[] = {
        {"a window of the program", own.Handle(), false},
        {"a window whose caption is blank", targets.Window(1), false},
        {"a right click on another program", targets.Window(0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main->SelectWindowToAddStickyNote(true, u"");
        ASSERT_TRUE(BringToFront(c.foreground));
        if (c.cancel) {
            Hook(WM_RBUTTONDOWN);
            Hook(WM_RBUTTONUP);
            EXPECT_FALSE(main->TimerEnabled(ControllerTimer::CaptureWindowTimer));
        } else {
            LeftClick();
        }
        EXPECT_FALSE(main->SelectingCaptureWindow());
        PumpMessagesFor(300);
        EXPECT_TRUE(main->Jotlets().empty());
        EXPECT_FALSE(main->TimerEnabled(ControllerTimer::CaptureWindowTimer));
    }
}

TEST_F(WiringPickingTest, AnImportedRecordGoesToThePickedWindowBehindTheInformationWindow) {
    folder.Write("Temp Export\\0.txt", Rtf("imported"));
    Start();
    TargetProcess targets({u"Vn import target"});
    const std::u16string record = u"PC-9|2/3/2021 4:05:06 AM|Temp Export\\0.txt|10";

    main->SelectWindowToAddStickyNote(false, record);
    ASSERT_NE(main->SelectWindowInfo(), nullptr);
    HWND first = main->SelectWindowInfo()->Handle();
    wchar_t caption[32] = {};
    GetWindowTextW(first, caption, 32);
    EXPECT_STREQ(caption, L"Information");
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_TRUE(IsOwnWindow(first)) << "the prompt must never get a note itself";
    EXPECT_EQ(main->SelectWindowInfo()->Text(), kInfoWindowPickPrompt);
    HWND text = FindWindowExW(first, nullptr, L"Static", W(std::u16string(kInfoWindowPickPrompt)));
    EXPECT_NE(text, nullptr) << "the prompt is a text of the window";
    RECT r{};
    GetWindowRect(first, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // Starting again replaces the window: there is only ever one.
    main->SelectWindowToAddStickyNote(false, record);
    EXPECT_FALSE(IsWindow(first));
    HWND second = main->SelectWindowInfo()->Handle();
    EXPECT_TRUE(IsWindowVisible(second));

    ASSERT_TRUE(BringToFront(targets.Window(0)));
    LeftClick();
    EXPECT_EQ(main->SelectWindowInfo(), nullptr);
    EXPECT_FALSE(IsWindow(second)) << "picking ended: the information window went";
    ASSERT_TRUE(WaitForNotes(1));
    TFStickyNote& imported = Note(0);
    EXPECT_EQ(imported.OwnerText(), u"PC-9");
    EXPECT_EQ(imported.TimeText(), u"2/3/2021 4:05:06 AM");
    EXPECT_EQ(imported.Editor().Text(), u"imported");
    // The stored ticks wait until the note shows and are applied 1 ms later, which may
    // already have happened here: wait for it, then the body's one line has its tick.
    ASSERT_TRUE(PumpUntil([&] { return imported.PendingCheckStates().empty(); }, 3000));
    EXPECT_EQ(imported.CheckStateString(), u"1");
    EXPECT_EQ(main->NewStickyNoteInfoString(), u"") << "the record is used once";
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::SaveTimer)) << "an imported note is written 5 s later";

    // The next note picked from the tray is empty.
    main->SelectWindowToAddStickyNote(true, u"");
    ASSERT_TRUE(BringToFront(targets.Window(0)));
    LeftClick();
    ASSERT_TRUE(WaitForNotes(2));
    EXPECT_EQ(Note(1).Editor().Text(), u"");
    EXPECT_EQ(Note(1).OwnerText(), GetLocalComputerName());
}

TEST_F(WiringPickingTest, ARecordWhoseBodyCannotBeReadLeavesNoNoteOnTheWindow) {
    Start();
    TargetProcess targets({u"Vn import target"});
    // Other failures may come meanwhile (the test program has no tile picture).
    std::vector<std::string> messages;
    SetApplicationExceptionHandler([&](std::exception_ptr e) { messages.push_back(ExceptionMessage(e)); });
    main->SelectWindowToAddStickyNote(false, u"PC-9|2/3/2021|Temp Export\\missing.txt|01");
    ASSERT_TRUE(BringToFront(targets.Window(0)));
    LeftClick();
    PumpMessagesFor(500);
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [](const std::string& m) { return m.find("missing.txt") != std::string::npos; }),
              1)
        << "the failed fill goes to the handler: " << ::testing::PrintToString(messages);
    EXPECT_TRUE(main->Jotlets().empty()) << "the note made for the record went again";
    EXPECT_EQ(FindWindowW(L"TFStickyNote", nullptr), nullptr) << "an empty note was left on the window";
    EXPECT_EQ(main->NewStickyNoteInfoString(), u"PC-9|2/3/2021|Temp Export\\missing.txt|01")
        << "the record waits for the next pick";
    SetApplicationExceptionHandler([this](std::exception_ptr error) { main->ApplicationEventsException(error); });
}

TEST_F(WiringPickingTest, ANoteMadeAfterTheCurrentFolderChangedStillHasItsTilePicture) {
    // The program starts in the folder of its tile picture; a file dialog may leave
    // another current folder behind before the first note window is made.
    TileFolder startFolder("vn-wiring-tile-start");
    Start();
    ASSERT_TRUE(SetCurrentDirectoryW(W(folder.Path())));
    TargetProcess targets({u"Vn tile target"});

    main->SelectWindowToAddStickyNote(true, u"");
    ASSERT_TRUE(BringToFront(targets.Window(0)));
    LeftClick();
    ASSERT_TRUE(WaitForNotes(1));
    ASSERT_TRUE(Note(0).HasHandle());
    EXPECT_TRUE(main->Chrome().HasTilePicture());
}

} // namespace
} // namespace vn::test
