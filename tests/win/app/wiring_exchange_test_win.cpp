// The exchange in the running program: while the export dialog is modal the listed
// notes' windows are disabled, also a window made again meanwhile, and the import
// cannot start underneath it; afterwards the notes are usable again.
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
// modal loop runs then.
void InSteps(std::vector<std::function<void()>> steps) {
    static std::vector<std::function<void()>> pending;
    pending = std::move(steps);
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (pending.empty()) {
            KillTimer(nullptr, id);
            return;
        }
        auto step = std::move(pending.front());
        pending.erase(pending.begin());
        step();
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

} // namespace
} // namespace vn::test
