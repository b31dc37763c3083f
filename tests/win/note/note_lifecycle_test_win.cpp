#include "note/sticky_note_win.h"

#include <fstream>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "store/index_string.h"

#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

TEST_F(NoteWindowTest, RecreatingTheWindowKeepsBodyPositionAndSize) {
    TargetProcess targets({u"Vn recreate target"});
    NotePtr note = NoteOn(targets.Window(0));
    note->Editor().LoadBody("{\\rtf1 first line\\par {\\b bold} second\\par}");
    note->SetPosition(222, 111);
    const std::string rtf = note->Editor().SaveRtf();
    HWND old = note->Handle();
    note->Hide();
    note->RecreateNativeWindow();
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(note->HasHandle());
    note->Show();
    ASSERT_TRUE(note->HasHandle());
    const RECT r = WindowRect(note->Handle());
    EXPECT_EQ(r.left, 222);
    EXPECT_EQ(r.top, 111);
    EXPECT_EQ(r.right - r.left, 450);
    EXPECT_EQ(note->Editor().Text(), u"first line\rbold second");
    EXPECT_EQ(note->Editor().SaveRtf(), rtf);
    EXPECT_EQ(GetParent(note->Editor().Handle()), Child(note->Handle(), L"VnNoteScrollBox"));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, ANoteOutlivesItsTargetAndComesBackWithTheNextOneWithItsBody) {
    const std::u16string caption = UniqueCaption(u"Vn closing target");
    auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
    // The window of an ended program may linger a moment under the same title; the
    // note's own 500 ms timer keeps looking, as it does in the program.
    auto tickUntilBoundTo = [&](HWND target) {
        note->TimerTimer();
        for (int i = 0; i < 30 && note->WndParent() != target; ++i) PumpMessagesFor(100);
    };
    {
        TargetProcess first({caption});
        tickUntilBoundTo(first.Window(0));
        ASSERT_EQ(note->WndParent(), first.Window(0));
        ASSERT_TRUE(note->IsShown());
        note->SetPosition(300, 200);
        note->Editor().LoadBody("still here");
    }  // the target's program ends; the system may take the note's window with it
    PumpMessagesFor(100);
    note->TimerTimer();
    EXPECT_EQ(note->WndParent(), reinterpret_cast<HWND>(-1));
    EXPECT_FALSE(note->IsShown());
    EXPECT_EQ(note->Editor().Text(), u"still here");

    TargetProcess second({caption});
    tickUntilBoundTo(second.Window(0));
    ASSERT_EQ(note->WndParent(), second.Window(0));
    ASSERT_TRUE(note->HasHandle());
    EXPECT_EQ(GetWindow(note->Handle(), GW_OWNER), second.Window(0));
    EXPECT_TRUE(IsWindowVisible(note->Handle()));
    EXPECT_EQ(WindowRect(note->Handle()).left, 300);  // where it was, not the new corner
    EXPECT_EQ(WindowRect(note->Handle()).top, 200);
    EXPECT_EQ(note->Editor().Text(), u"still here");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, RefusedCreationRaisesTheAccessDeniedExceptionOrTheGeneralError) {
    TargetProcess targets({u"Vn refused target"});
    HWND target = targets.Window(0);
    auto note = std::make_unique<TFStickyNote>(host, target);
    DWORD fault = ERROR_ACCESS_DENIED;
    note->SetCreationFaultForTesting([&] { return fault; });
    EXPECT_THROW(note->HandleNeeded(), TSNCreateWindowHandleAccessDeniedException);
    EXPECT_FALSE(note->HasHandle());
    fault = ERROR_NOT_ENOUGH_MEMORY;
    try {
        note->HandleNeeded();
        ADD_FAILURE() << "no error";
    } catch (const TSNCreateWindowHandleAccessDeniedException&) {
        ADD_FAILURE() << "access denied for another error";
    } catch (const OSError& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    fault = 0;
    EXPECT_EQ(GetWindow(note->HandleNeeded(), GW_OWNER), target);
}

TEST_F(NoteWindowTest, AStoredNoteRefusedByItsTargetStillGetsAWindowForItsBody) {
    const std::u16string caption = UniqueCaption(u"Vn refusing target");
    TargetProcess targets({caption});
    HWND target = targets.Window(0);
    auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
    DWORD fault = ERROR_ACCESS_DENIED;
    note->SetCreationFaultForTesting([&] { return fault; });
    EXPECT_THROW(note->TimerTimer(), TSNCreateWindowHandleAccessDeniedException);
    EXPECT_EQ(note->WndParent(), target);
    EXPECT_FALSE(note->IsShown());
    fault = 0;
    // A save needs the editor's window: it comes, but not as an owned window of the refusing target.
    HWND h = note->HandleNeeded();
    EXPECT_NE(GetWindow(h, GW_OWNER), target);
    EXPECT_FALSE(IsWindowVisible(h));
    note->Editor().LoadBody("saved all the same");
    EXPECT_NE(note->Editor().SaveRtf().find("saved all the same"), std::string::npos);
}

TEST_F(NoteWindowTest, DeleteClosesTheNoteAndItsListFreesItOnTheNextTurnOfTheMessageLoop) {
    TargetProcess targets({u"Vn delete target"});
    TFStickyNote& note = ListedNoteOn(targets.Window(0));
    HWND h = note.Handle();
    Mouse(h, WM_LBUTTONDOWN, 300, 90);  // Delete
    EXPECT_EQ(note.WndParent(), nullptr);  // the target is forgotten at once
    EXPECT_TRUE(removed.empty());          // the note goes on the next turn
    note.Close();                          // a second close changes nothing
    PumpMessagesFor(50);
    EXPECT_EQ(removed, (std::vector<const Jotlet*>{&note}));
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(IsWindow(h));  // freed, its window with it

    // The controller's shutdown: notice cancelled, hidden, freed at once.
    TFStickyNote& other = ListedNoteOn(targets.Window(0));
    HWND otherWindow = other.Handle();
    notes.DestroyAll();
    EXPECT_FALSE(IsWindow(otherWindow));
    EXPECT_EQ(removed.size(), 1u);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

// The export dialog runs its modal loop inside the note's Save button, and its Delete
// closes that very note: the note leaves the list at once (the dialog refills its
// rows from it), but its owner frees it only once the button's handler has returned.
// Freed earlier, the handler would go on in a freed note.
TEST_F(NoteWindowTest, ANoteDeletedFromTheDialogOfItsOwnSaveButtonIsFreedAfterTheButton) {
    TargetProcess targets({u"Vn modal target"});
    TFStickyNote& note = ListedNoteOn(targets.Window(0));
    HWND h = note.Handle();
    bool listedDuringLoop = true, removedDuringLoop = true, windowDuringLoop = false, shownDuringLoop = true;
    host.onExport = [&] {
        DeleteJotlets(u"0", notes, [](Jotlet* closing) { closing->Close(); });
        listedDuringLoop = !notes.empty();
        PumpMessagesFor(50);  // the dialog's own loop turns: the release comes in it
        removedDuringLoop = !removed.empty();
        windowDuringLoop = IsWindow(h) != FALSE;  // the note still holds its window
        shownDuringLoop = IsWindowVisible(h) != FALSE;
    };
    Mouse(h, WM_LBUTTONDOWN, 30, 85);  // Save
    EXPECT_EQ(host.exports, 1);
    EXPECT_FALSE(listedDuringLoop);
    EXPECT_FALSE(removedDuringLoop);
    EXPECT_TRUE(windowDuringLoop);
    EXPECT_FALSE(shownDuringLoop);  // gone from sight at once
    EXPECT_TRUE(IsWindow(h)) << "freed before the handler's own turn of the loop";
    PumpMessagesFor(50);
    EXPECT_EQ(removed, (std::vector<const Jotlet*>{&note}));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

// The editor's menu runs a modal loop inside a handler of the note as well: a shutdown
// from inside it (the session ending) closes the note but leaves freeing it until the
// menu has returned.
TEST_F(NoteWindowTest, TheShutdownFreesANoteWhoseEditorMenuIsOpenOnlyAfterTheMenu) {
    TargetProcess targets({u"Vn menu target"});
    TFStickyNote& note = ListedNoteOn(targets.Window(0));
    HWND h = note.Handle();
    static std::function<void()> inMenu;
    bool aliveInMenu = false;
    inMenu = [&] {
        notes.DestroyAll();
        aliveInMenu = IsWindow(h) != FALSE;
        EndMenu();
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (auto action = std::exchange(inMenu, {})) action();
    });
    SendMessageW(note.Editor().Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(note.Editor().Handle()),
                 MAKELPARAM(-1, -1));
    KillTimer(nullptr, timer);
    ASSERT_FALSE(inMenu) << "the menu did not open";
    EXPECT_TRUE(aliveInMenu);
    EXPECT_TRUE(notes.empty());
    PumpMessagesFor(50);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(removed.empty()) << "a shutdown is no removal";
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, EditingTheBodySchedulesASave) {
    TargetProcess targets({u"Vn typing target"});
    NotePtr note = NoteOn(targets.Window(0));
    const int before = host.saves;
    SendMessageW(note->Editor().Handle(), WM_CHAR, L'x', 0);
    EXPECT_GT(host.saves, before);
    EXPECT_EQ(note->Editor().Text(), u"x");
}

TEST_F(NoteWindowTest, TheFaceDrawsEveryPartInItsColours) {
    TargetProcess targets({u"Vn face target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    const struct {
        const char* part;
        int x, y;
        COLORREF color;
        int tolerance = 0;  // the gradients' ends are "about" their colours
    } normal[] = {
        {"background", 12, 150, RGB(252, 252, 135)},
        {"outline, left edge", 1, 137, RGB(0, 0, 0)},
        {"outline, bottom edge", 225, 273, RGB(0, 0, 0)},
        {"separator", 200, 113, RGB(150, 150, 150)},
        {"button outline", 60, 80, RGB(0, 0, 0)},
        {"button top", 40, 81, RGB(255, 255, 65), 10},
        {"button bottom", 40, 102, RGB(255, 255, 219), 10},
        {"outside a button corner", 24, 80, RGB(252, 252, 135)},
        {"grip", 409, 219, RGB(255, 255, 255)},
        {"grip frame", 407, 225, RGB(155, 154, 158)},
    };
    Mouse(h, WM_MOUSEMOVE, 12, 150);  // no button under the mouse
    {
        FaceShot face(h);
        for (const auto& c : normal)
            EXPECT_TRUE(Near(face.At(c.x, c.y), c.color, c.tolerance)) << c.part << ": " << std::hex << face.At(c.x, c.y);
    }

    // Under the mouse a button turns grey with a white caption.
    Mouse(h, WM_MOUSEMOVE, 130, 90);
    {
        FaceShot face(h);
        EXPECT_TRUE(Near(face.At(107, 81), RGB(82, 82, 82), 10));
        EXPECT_TRUE(Near(face.At(107, 102), RGB(185, 185, 185), 10));
        EXPECT_TRUE(Near(face.At(40, 81), RGB(255, 255, 65), 10)) << "only the button under the mouse";
    }
    Mouse(h, WM_MOUSEMOVE, 12, 150);
    EXPECT_TRUE(Near(FaceShot(h).At(107, 81), RGB(255, 255, 65), 10));

    // The tile: grey background and the picture from hig.png, cut to 100 x 100.
    Mouse(h, WM_LBUTTONDOWN, 380, 40);
    Mouse(h, WM_LBUTTONUP, 380, 40);
    FaceShot tile(h);
    EXPECT_EQ(tile.At(50, 50), kPictureColor);
    EXPECT_EQ(tile.At(99, 99), kPictureColor);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, AMissingOrBadTilePictureLeavesTheNoteCompleteAndIsReadAgainLater) {
    for (bool badFile : {false, true}) {
        TileFolder empty("vn-note-no-tile", false);
        if (badFile) std::ofstream(empty.Path() / "hig.png", std::ios::binary) << "not a picture";
        errors.clear();
        TargetProcess targets({u"Vn no tile target", u"Vn no tile second"});
        // The picture is the controller's, read with its first note window: a
        // controller of its own for each case.
        RecordingHost controller;
        auto noteOn = [&](HWND target) {
            auto note = std::make_unique<TFStickyNote>(controller, target);
            PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(target), note->AsNewWindow());
            note->Show();
            return note;
        };
        NotePtr note = noteOn(targets.Window(0));
        ASSERT_EQ(errors.size(), 1u) << "bad file " << badFile;  // the failure reaches the handler
        EXPECT_EQ(note->TitleText(), u"vn_win_tests.exe - Vn no tile target");
        EXPECT_TRUE(note->IsShown());
        HWND h = note->Handle();
        Mouse(h, WM_LBUTTONDOWN, 380, 40);
        Mouse(h, WM_LBUTTONUP, 380, 40);
        EXPECT_EQ(FaceShot(h).At(50, 50), RGB(201, 201, 201));  // the grey tile alone
        // The next note window reads the file again: a picture put there since (the
        // person restored it) shows on its tile; a file still bad is reported again.
        if (!badFile) WritePng(empty.Path() / "hig.png", 120, 140);
        NotePtr second = noteOn(targets.Window(1));
        EXPECT_EQ(errors.size(), badFile ? 2u : 1u);
        Mouse(second->Handle(), WM_LBUTTONDOWN, 380, 40);
        Mouse(second->Handle(), WM_LBUTTONUP, 380, 40);
        EXPECT_EQ(FaceShot(second->Handle()).At(50, 50), badFile ? RGB(201, 201, 201) : kPictureColor);
    }
}

TEST(NoteTime, TheTimeOfDayIsLeftOutOnlyAtExactlyMidnight) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 7;
    wchar_t date[64];
    ASSERT_GT(GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 64, nullptr), 0);
    const std::u16string dateText = U16(date);

    const struct {
        WORD h, m, s, ms;
        bool hasTime;
    } cases[] = {
        {0, 0, 0, 0, false}, {0, 0, 0, 1, true}, {0, 0, 1, 0, true}, {12, 0, 0, 0, true}, {23, 59, 59, 999, true},
    };
    for (const auto& c : cases) {
        t.wHour = c.h;
        t.wMinute = c.m;
        t.wSecond = c.s;
        t.wMilliseconds = c.ms;
        const std::u16string text = FormatNoteTime(t);
        ASSERT_EQ(text.substr(0, dateText.size()), dateText);
        if (!c.hasTime) {
            EXPECT_EQ(text, dateText);
        } else {
            wchar_t time[64];
            ASSERT_GT(GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &t, nullptr, time, 64), 0);
            EXPECT_EQ(text, dateText + u" " + U16(time)) << c.h << ":" << c.m;
        }
    }
}

} // namespace
} // namespace vn::test
