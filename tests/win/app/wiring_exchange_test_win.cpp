// The exchange in the running program: while the export dialog is modal the listed
// notes' windows are disabled, also a window made again meanwhile, and the import
// cannot start underneath it; afterwards the notes are usable again, and the note on
// the window below the closing dialog is the window activated.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

class WiringExchangeTest : public WiringTest {
protected:
    WiringExchangeTest() : WiringTest("vn-wiring-exchange") {}
};

// Runs the steps one after the other, each from a thread timer inside whatever
// modal loop runs then. A step that pumps messages itself (PumpUntil) would meet
// the next tick of the timer: the next step waits until it has returned. The
// timer goes with the last step, so that none is left to a later test.
void InSteps(std::vector<std::function<void()>> steps) {
    static std::vector<std::function<void()>> pending;
    static bool running = false;
    static UINT_PTR timer = 0;
    if (timer) KillTimer(nullptr, timer);
    pending = std::move(steps);
    timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (running) return;
        if (pending.empty()) {
            KillTimer(nullptr, id);
            timer = 0;
            return;
        }
        auto step = std::move(pending.front());
        pending.erase(pending.begin());
        if (pending.empty()) {
            KillTimer(nullptr, id);
            timer = 0;
        }
        running = true;
        step();
        running = false;
    });
}

TEST_F(WiringExchangeTest, ListedNotesAreDisabledWhileTheExportDialogShowsAndTheImportWaits) {
    Start();
    TargetProcess targets({u"Vn exchange target"});
    main->SelectWindowToAddStickyNote(true, u"");
    ASSERT_TRUE(BringToFront(targets.Window(0)));
    Hook(WM_LBUTTONDOWN);
    Hook(WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return main->Jotlets().size() == 1; }, 3000));
    TFStickyNote& note = Note(0);
    ASSERT_TRUE(note.HasHandle());
    HWND first = note.Handle();

    bool checked = false;
    InSteps({
        [&] {
            EXPECT_TRUE(main->ExportDialog()->Showing());
            EXPECT_FALSE(IsWindowEnabled(first)) << "a listed note stays usable under the modal dialog";
            main->ImportStickyNote();  // brings the export dialog forward (and beeps)
            EXPECT_FALSE(main->ImportDialog()->Showing());
            // As when the note binds to its window again: a new native window.
            note.RecreateNativeWindow();
            note.HandleNeeded();
        },
        [&] {
            PostMessageW(main->ExportDialog()->Handle(), WM_CLOSE, 0, 0);
            ASSERT_TRUE(note.HasHandle());
            EXPECT_NE(note.Handle(), first);
            EXPECT_FALSE(IsWindowEnabled(note.Handle())) << "the window made again is not disabled";
            checked = true;
        },
    });
    main->ExportJotlets();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(main->ExportDialog()->Showing());
    ASSERT_TRUE(note.HasHandle());
    EXPECT_TRUE(IsWindowEnabled(note.Handle())) << "the note stays disabled after the dialog";
}

bool Above(HWND upper, HWND lower) {
    for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (h == upper) return true;
    return false;
}

TEST_F(WiringExchangeTest, AClosingDialogActivatesTheNoteRatherThanItsTargetBelowIt) {
    Start();
    TargetProcess targets({u"Vn exchange close target"});
    HWND target = targets.Window(0);
    main->SelectWindowToAddStickyNote(true, u"");
    ASSERT_TRUE(BringToFront(target));
    Hook(WM_LBUTTONDOWN);
    Hook(WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return main->Jotlets().size() == 1 && Note(0).IsShown(); }, 3000));
    HWND note = Note(0).Handle();
    // The person worked in the target last: it lies above its note (until the note's
    // tick), the first window below the dialog once the dialog is up.
    ASSERT_TRUE(BringToFront(target));
    // Now and then (about one run in twenty, after another test of this process) the
    // note is back above its target right after the restack, with nothing of this
    // thread run in between: the system settles the target's activation late. The
    // restack is made again until it holds.
    ASSERT_TRUE(PumpUntil(
        [&] {
            SetWindowPos(note, target, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return Above(target, note);
        },
        2000));

    InSteps({[&] { PostMessageW(main->ExportDialog()->Handle(), WM_CLOSE, 0, 0); }});
    main->ExportJotlets();
    // Checked before the note's tick could stack it above its target again.
    PumpMessagesFor(100);
    EXPECT_EQ(GetForegroundWindow(), note);
    EXPECT_TRUE(Above(note, target));
}

// "Export Notes" or "Import Notes" while the archive of an import is being chosen
// brings that file dialog forward (before, the one beeped and the other did nothing).
TEST_F(WiringExchangeTest, ASecondRequestWhileTheArchiveIsChosenBringsTheFileDialogForward) {
    Start();
    TargetProcess targets({u"Vn exchange target"});
    HWND fileDialog = nullptr;
    auto findFileDialog = [&] {
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
            wchar_t className[16] = {};
            GetClassNameW(h, className, 16);
            if (IsWindowVisible(h) && GetWindow(h, GW_OWNER) == application.Handle() &&
                wcscmp(className, L"#32770") == 0)
                return h;
        }
        return HWND{};
    };
    // The person works in another window meanwhile (under load the system may take
    // more than one request to hand the activation over).
    auto awayFromTheDialog = [&] {
        for (int attempt = 0; attempt < 3 && GetForegroundWindow() == fileDialog; ++attempt)
            BringToFront(targets.Window(0));
        return GetForegroundWindow() != fileDialog;
    };
    bool checked = false;
    InSteps({
        [&] {
            fileDialog = findFileDialog();
            ASSERT_NE(fileDialog, nullptr) << "the import's file dialog is not up";
            ASSERT_TRUE(awayFromTheDialog());
            main->ExportJotlets();
            EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == fileDialog; }, 2000))
                << "Export Notes did not bring the file dialog forward";
            EXPECT_FALSE(main->ExportDialog()->Showing());
        },
        [&] {
            ASSERT_TRUE(awayFromTheDialog());
            main->ImportStickyNote();
            EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == fileDialog; }, 2000))
                << "Import Notes did not bring the file dialog forward";
            PostMessageW(fileDialog, WM_COMMAND, IDCANCEL, 0);
            checked = true;
        },
    });
    main->ImportStickyNote();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(main->ImportDialog()->Showing());
}

} // namespace
} // namespace vn::test
