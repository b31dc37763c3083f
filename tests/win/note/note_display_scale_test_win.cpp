// The note at the display scale of its monitor. At 96 DPI the note is painted
// exactly as before display scaling came in: its picture is compared pixel for
// pixel with one taken from the program before that change.
#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "note_picture_win.h"
#include "platform/dpi_win.h"
#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

// The picture of a note in every state that paints differently: the note with the
// mouse over Save, a ticked and an unticked box, and the tile.
Picture NoteAndTile(TFStickyNote& note) {
    const HWND h = note.Handle();
    note.SetOwnerText(u"WS-01");
    note.SetTimeText(u"11.12.2026 09:30:00");
    note.Editor().LoadBody(std::string("{\\rtf1 milk\\par eggs\\par bread\\par}"));
    note.UpdateLayout();
    note.UpdateCheckBoxes(false);
    EXPECT_TRUE(note.CheckBox(1));
    SendMessageW(note.CheckBox(1), BM_CLICK, 0, 0);
    Mouse(h, WM_MOUSEMOVE, 40, 90);  // over Save
    PumpMessagesFor(50);
    const Picture whole = PrintNote(h);
    Mouse(h, WM_MOUSEMOVE, 380, 40);  // over Minimize
    Mouse(h, WM_LBUTTONDOWN, 380, 40);
    Mouse(h, WM_LBUTTONUP, 380, 40);
    PumpMessagesFor(50);
    EXPECT_TRUE(note.Minimized());
    Mouse(h, WM_MOUSEMOVE, 50, 50);
    const Picture tile = PrintNote(h);
    return Stacked(whole, tile);
}

TEST_F(NoteWindowTest, At96DpiTheNoteIsPaintedPixelForPixelAsItsReferencePicture) {
    if (SystemDpi() != kBaseDpi) GTEST_SKIP() << "the display is at " << SystemDpi() << " DPI";
    TargetProcess targets({u"Vn display scale"});
    NotePtr note = NoteOn(targets.Window(0));
    const Picture actual = NoteAndTile(*note);
    const auto reference = ReferencePictures() / "note_96dpi.png";
    // VN_WRITE_PICTURES=1 takes a new reference picture instead of comparing.
    if (const char* write = std::getenv("VN_WRITE_PICTURES"); write && *write == '1') {
        ASSERT_TRUE(WritePicturePng(actual, reference));
        GTEST_SKIP() << "wrote " << reference.string();
    }
    const Picture expected = ReadPng(reference);
    ASSERT_GT(expected.width, 0) << "cannot read " << reference.string();
    EXPECT_EQ(PictureDifference(expected, actual), "");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
