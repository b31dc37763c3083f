// The note at the display scale of its monitor. At 96 DPI the note is painted
// exactly as before display scaling came in: its picture is compared pixel for
// pixel with one taken from the program before that change. At 150 % (a Wine prefix
// whose display runs at 144 DPI, the win_dpi144 group) and after WM_DPICHANGED
// every part sits where the scaled layout puts it. Wine gives every monitor the
// system DPI, so a move to a monitor of another scale is played by sending the
// message the system would send.
#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "note/note_chrome_win.h"
#include "note/note_pictures_win.h"
#include "note_picture_win.h"
#include "note_test_fixture_win.h"
#include "screen_picture_win.h"
#include "platform/dpi_win.h"

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

RECT InNote(HWND child, HWND note) {
    RECT r = WindowRect(child);
    MapWindowPoints(HWND_DESKTOP, note, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A note of the initial size at 150 %, laid out as the scale table says: the
// window, its region, the painted parts' edges, the body area, the editor and the
// check boxes. `body` has three lines.
void ExpectLaidOutAt150Percent(TFStickyNote& note) {
    const HWND h = note.Handle();
    EXPECT_EQ(note.Dpi(), 144);
    const RECT r = WindowRect(h);
    EXPECT_EQ(r.right - r.left, 675);
    EXPECT_EQ(r.bottom - r.top, 411);
    EXPECT_TRUE(RegionIs(h, 675, 411, 110, 3));

    const FaceShot face(h);
    // Each button: a 2-px black outline along its top and bottom edge, the note's
    // colour just outside. Save, Import, Font, Delete, Minimize.
    const RECT buttons[] = {{36, 120, 149, 156}, {158, 120, 271, 156}, {279, 120, 392, 156},
                            {401, 120, 514, 156}, {532, 45, 645, 81}};
    for (const RECT& b : buttons) {
        const int x = (b.left + b.right) / 2;
        SCOPED_TRACE(b.left);
        EXPECT_EQ(face.At(x, b.top - 1), kNoteColor);
        EXPECT_EQ(face.At(x, b.top), RGB(0, 0, 0));
        EXPECT_EQ(face.At(x, b.top + 1), RGB(0, 0, 0));
        EXPECT_NE(face.At(x, b.top + 2), RGB(0, 0, 0));
        EXPECT_EQ(face.At(x, b.bottom - 1), RGB(0, 0, 0));
        EXPECT_EQ(face.At(x, b.bottom), kNoteColor);
        EXPECT_EQ(face.At(b.left, (b.top + b.bottom) / 2), RGB(0, 0, 0));
        EXPECT_EQ(face.At(b.left - 1, (b.top + b.bottom) / 2), kNoteColor);
        EXPECT_EQ(face.At(b.right - 1, (b.top + b.bottom) / 2), RGB(0, 0, 0));
    }
    // The separator: (36, 167), 604 x 8.
    EXPECT_EQ(face.At(300, 166), kNoteColor);
    EXPECT_EQ(face.At(300, 167), kSeparatorColor);
    EXPECT_EQ(face.At(36, 174), kSeparatorColor);
    EXPECT_EQ(face.At(639, 170), kSeparatorColor);
    EXPECT_EQ(face.At(640, 170), kNoteColor);
    // The grip: (610, 325), 30 x 30, with a 2-px frame.
    EXPECT_EQ(face.At(609, 340), kNoteColor);
    EXPECT_EQ(face.At(610, 340), kGripFrameColor);
    EXPECT_EQ(face.At(611, 340), kGripFrameColor);
    EXPECT_EQ(face.At(612, 330), RGB(255, 255, 255));
    EXPECT_EQ(face.At(639, 354), kGripFrameColor);
    EXPECT_EQ(face.At(640, 354), kNoteColor);

    // The body area (36, 180), 565 wide, H - 234 high after the layout refresh; the
    // editor at (30, 2) in it; 20 x 20 boxes at its left 5.
    const HWND body = Child(h, L"VnNoteScrollBox");
    ASSERT_TRUE(body);
    const RECT b = InNote(body, h);
    EXPECT_EQ(b.left, 36);
    EXPECT_EQ(b.top, 180);
    EXPECT_EQ(b.right - b.left, 565);
    EXPECT_EQ(b.bottom - b.top, 177);
    EXPECT_EQ(note.Editor().Left(), 30);
    EXPECT_EQ(note.Editor().Top(), 2);
    EXPECT_GE(note.Editor().Width(), 565 - 63);
    for (int line = 0; line < 3; ++line) {
        const HWND box = note.CheckBox(line);
        ASSERT_TRUE(box) << line;
        const RECT c = InNote(box, body);
        EXPECT_EQ(c.left, 5) << line;
        EXPECT_EQ(c.right - c.left, 20) << line;
        EXPECT_EQ(c.bottom - c.top, 20) << line;
    }
    EXPECT_LT(InNote(note.CheckBox(0), body).bottom, InNote(note.CheckBox(1), body).top + 1) << "boxes overlap";
}

TEST_F(NoteWindowTest, ADpiChangeTo150PercentLaysTheNoteOutAsTheTableSaysAndBackExactly) {
    if (SystemDpi() != kBaseDpi) GTEST_SKIP() << "the display is at " << SystemDpi() << " DPI";
    TargetProcess targets({u"Vn display scale change"});
    NotePtr note = NoteOn(targets.Window(0));
    const HWND h = note->Handle();
    note->SetOwnerText(u"WS-01");
    note->SetTimeText(u"11.12.2026 09:30:00");
    note->Editor().LoadBody(std::string("{\\rtf1 milk\\par eggs\\par bread\\par}"));
    note->UpdateLayout();
    note->UpdateCheckBoxes(false);
    SendMessageW(note->CheckBox(1), BM_CLICK, 0, 0);
    Mouse(h, WM_MOUSEMOVE, 12, 150);
    PumpMessagesFor(50);
    const Picture before = PrintNote(h);
    const RECT was = WindowRect(h);

    // To a monitor at 150 %: the system suggests the rectangle scaled about the
    // window's top-left corner, 2 px off the note's own rounding.
    RECT suggested{was.left + 40, was.top + 30, was.left + 40 + 676, was.top + 30 + 412};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    PumpMessagesFor(50);
    const RECT now = WindowRect(h);
    EXPECT_EQ(now.left, was.left + 40) << "the suggested position";
    EXPECT_EQ(now.top, was.top + 30);
    ExpectLaidOutAt150Percent(*note);
    EXPECT_EQ(note->CheckStateString(), u"010");

    // And back: the same pixels as before, the boxes included.
    RECT back{was.left, was.top, was.right, was.bottom};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    PumpMessagesFor(50);
    EXPECT_EQ(note->Dpi(), 96);
    EXPECT_TRUE(RegionIs(h, 450, 274));
    EXPECT_EQ(PictureDifference(before, PrintNote(h)), "");
    EXPECT_EQ(note->CheckStateString(), u"010");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

// ---- on a display at 150 % ---------------------------------------------------------------

// Wine's Notepad, the usual target.
class Notepad {
public:
    Notepad() {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        wchar_t commandLine[] = L"notepad.exe";
        if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        WaitForInputIdle(process_.hProcess, 10000);
        for (int i = 0; i < 200 && !window_; ++i) {
            window_ = FindWindowW(nullptr, L"Untitled - Notepad");
            if (!window_) Sleep(50);
        }
        if (window_) SetWindowPos(window_, nullptr, 60, 60, 900, 600, SWP_NOZORDER);
    }
    ~Notepad() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;
    HWND Window() const { return window_; }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

class Dpi144NoteWindow : public NoteWindowTest {
protected:
    void SetUp() override {
        if (SystemDpi() != 144) GTEST_SKIP() << "for a display at 144 DPI (win_dpi144); this one is at " << SystemDpi();
        NoteWindowTest::SetUp();
    }
};

TEST_F(Dpi144NoteWindow, ANoteOnNotepadIs675By411WithEveryPartWhereTheTableSays) {
    Notepad notepad;
    ASSERT_TRUE(notepad.Window());
    NotePtr note = NoteOn(notepad.Window());
    const HWND h = note->Handle();
    const RECT target = WindowRect(notepad.Window());
    const RECT r = WindowRect(h);
    EXPECT_EQ(r.left, target.left + 8) << "5 px at 96 DPI from the corner";
    EXPECT_EQ(r.top, target.top + 8);
    note->Editor().LoadBody(std::string("{\\rtf1 milk\\par eggs\\par bread\\par}"));
    note->UpdateLayout();
    note->UpdateCheckBoxes(false);
    Mouse(h, WM_MOUSEMOVE, 12, 200);
    PumpMessagesFor(50);
    ExpectLaidOutAt150Percent(*note);
    if (const char* path = PictureAskedFor("VN_SCALE_PICTURE")) {  // docs/make_test_pictures.sh
        note->Editor().SetFocus();
        PumpMessagesFor(300);
        EXPECT_TRUE(KeepScreenPicture(path, {target.left, target.top, r.right + 16, r.bottom + 16}));
    }

    // The labels are in the font of the scale: 1.5 times as high.
    const note::Size at96 = host.Chrome().MeasureLabel(u"Untitled", 96);
    const note::Size at144 = host.Chrome().MeasureLabel(u"Untitled", 144);
    EXPECT_GE(at144.height * 2, at96.height * 3 - 2) << at96.height << " -> " << at144.height;

    // The grip's limits are scaled too: pushed far in, the note stops at 543 x 375.
    Mouse(h, WM_LBUTTONDOWN, 620, 335);
    Mouse(h, WM_MOUSEMOVE, 100, 100);
    Mouse(h, WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(note->Width(), 543);
    EXPECT_EQ(note->Height(), 375);
    EXPECT_TRUE(RegionIs(h, 543, 375, 375 / 4 + 8, 3));

    // The tile: 150 x 150, filled by the tile picture scaled from 120 x 140.
    Mouse(h, WM_MOUSEMOVE, 450, 60);  // Minimize at (400, 45), 113 x 36
    Mouse(h, WM_LBUTTONDOWN, 450, 60);
    Mouse(h, WM_LBUTTONUP, 450, 60);
    ASSERT_TRUE(note->Minimized());
    EXPECT_EQ(note->Width(), 150);
    EXPECT_EQ(note->Height(), 150);
    const FaceShot tile(h);
    EXPECT_TRUE(Near(tile.At(140, 140), kPictureColor, 2)) << std::hex << tile.At(140, 140);
    EXPECT_TRUE(Near(tile.At(75, 75), kPictureColor, 2));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
