#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

TEST_F(NoteWindowTest, ANoteOnAWindowIsAnOwnedRoundedWindowAtItsCorner) {
    TargetProcess targets({u"Vn note target"});
    HWND target = targets.Window(0);
    NotePtr note = NoteOn(target);
    HWND h = note->Handle();
    ASSERT_TRUE(h);

    EXPECT_EQ(note->Caption(), u"vn_win_tests.exe - Vn note target");
    EXPECT_EQ(note->TitleText(), note->Caption());
    EXPECT_EQ(note->OwnerText(), GetLocalComputerName());
    EXPECT_FALSE(note->TimeText().empty());

    EXPECT_EQ(GetWindow(h, GW_OWNER), target);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CHILD), 0u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)) & WS_EX_APPWINDOW, 0u);
    EXPECT_EQ(GetClassLongW(h, GCL_STYLE) & (CS_DROPSHADOW | CS_DBLCLKS), static_cast<DWORD>(CS_DROPSHADOW | CS_DBLCLKS));

    const RECT t = WindowRect(target);
    const RECT r = WindowRect(h);
    EXPECT_EQ(r.left, t.left + 5);
    EXPECT_EQ(r.top, t.top + 5);
    EXPECT_EQ(r.right - r.left, 450);
    EXPECT_EQ(r.bottom - r.top, 274);
    RECT client{};
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 450);  // no frame: the client area is the window
    EXPECT_EQ(client.bottom, 274);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(note->IsShown());
    EXPECT_TRUE(Layered(h));

    // Rounded corners: 73 x 73 ellipses on a region of (W + 2) x (H + 2).
    EXPECT_TRUE(RegionIs(h, 450, 274, 73));
    EXPECT_FALSE(RegionContains(h, 2, 2));
    EXPECT_TRUE(RegionContains(h, 225, 2));
    EXPECT_TRUE(RegionContains(h, 20, 20));

    // The body area and its backing panel, H - 160 high until the first layout refresh.
    HWND body = Child(h, L"VnNoteScrollBox");
    ASSERT_TRUE(body);
    RECT b = WindowRect(body);
    MapWindowPoints(HWND_DESKTOP, h, reinterpret_cast<POINT*>(&b), 2);
    EXPECT_EQ(b.left, 24);
    EXPECT_EQ(b.top, 120);
    EXPECT_EQ(b.right - b.left, 377);
    EXPECT_EQ(b.bottom - b.top, 114);
    note->UpdateLayout();
    b = WindowRect(body);
    EXPECT_EQ(b.bottom - b.top, 118);
    HWND panel = Child(h, L"VnNoteBackPanel");
    ASSERT_TRUE(panel);
    RECT p = WindowRect(panel);
    EXPECT_EQ(p.bottom - p.top, 118);
    EXPECT_EQ(p.right - p.left, 377);

    // The editor sits in the body area at (20, 1), at least the area less its margins.
    ASSERT_TRUE(note->Editor().Handle());
    EXPECT_EQ(GetParent(note->Editor().Handle()), body);
    EXPECT_EQ(note->Editor().Left(), 20);
    EXPECT_EQ(note->Editor().Top(), 1);
    EXPECT_GE(note->Editor().Width(), 335);
    EXPECT_GE(note->Editor().Height(), 95);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, AStoredNoteBindsShowsHidesAndComesBackWhereItWas) {
    const std::u16string caption = UniqueCaption(u"Vn stored target");
    TargetProcess targets({caption});
    HWND target = targets.Window(0);
    auto note = std::make_unique<TFStickyNote>(host, u"VN_WIN_TESTS.EXE", caption);
    EXPECT_EQ(note->WndParent(), reinterpret_cast<HWND>(-1));
    EXPECT_TRUE(note->ParentBindingPending());
    EXPECT_FALSE(note->HasHandle());  // no window until one is needed

    host.selecting = true;  // picking a window suspends every tick
    note->TimerTimer();
    EXPECT_EQ(note->WndParent(), reinterpret_cast<HWND>(-1));
    host.selecting = false;

    note->TimerTimer();
    ASSERT_EQ(note->WndParent(), target);
    ASSERT_TRUE(note->HasHandle());
    EXPECT_EQ(GetWindow(note->Handle(), GW_OWNER), target);
    EXPECT_TRUE(note->IsShown());
    EXPECT_FALSE(note->ParentBindingPending());
    const RECT t = WindowRect(target);
    EXPECT_EQ(WindowRect(note->Handle()).left, t.left + 5);
    EXPECT_EQ(WindowRect(note->Handle()).top, t.top + 5);

    note->SetPosition(400, 300);  // where the user left it
    note->Editor().LoadBody("kept across targets");
    SetWindowTextW(target, L"Another document");
    note->TimerTimer();
    EXPECT_EQ(note->WndParent(), reinterpret_cast<HWND>(-1));
    EXPECT_FALSE(note->IsShown());
    EXPECT_FALSE(IsWindowVisible(note->Handle()));
    EXPECT_FALSE(Layered(note->Handle()));  // hidden: alpha blending off

    SetWindowTextW(target, W(caption));
    note->TimerTimer();
    ASSERT_EQ(note->WndParent(), target);
    ASSERT_TRUE(note->HasHandle());
    EXPECT_TRUE(note->IsShown());
    EXPECT_EQ(WindowRect(note->Handle()).left, 400);
    EXPECT_EQ(WindowRect(note->Handle()).top, 300);
    EXPECT_EQ(note->Editor().Text(), u"kept across targets");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, TheGripResizesWithinTheLimitsAndScrollsTheBodyBack) {
    TargetProcess targets({u"Vn resize target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    std::string longBody;
    for (int i = 0; i < 40; ++i) longBody += "line " + std::to_string(i) + "\r\n";
    note->Editor().LoadBody(longBody);
    PumpMessagesFor(50);
    HWND body = Child(h, L"VnNoteScrollBox");
    SendMessageW(body, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_LT(note->Editor().Top(), 1) << "the body should have scrolled";

    const int gripX = 407 + 10, gripY = 217 + 10;
    Mouse(h, WM_LBUTTONDOWN, gripX, gripY);
    EXPECT_FALSE(Layered(h));                 // no alpha blending while resizing
    EXPECT_EQ(note->Editor().Top(), 1);       // scrolled back to the top-left corner
    EXPECT_EQ(note->Editor().Left(), 20);

    const struct {
        int dx, dy;
        int width, height;
    } steps[] = {
        {10, 10, 450, 274},   // inside the dead zone
        {11, 0, 461, 274},    // 11 px: both sides take their values
        {400, 300, 750, 550}, // each side stops at its limit
        {-300, 0, 362, 274},
        {-300, -200, 362, 250},
        {100, 30, 550, 304},
    };
    for (const auto& s : steps) {
        MoveCursorTo(h, gripX + s.dx, gripY + s.dy);
        const RECT r = WindowRect(h);
        EXPECT_EQ(r.right - r.left, s.width) << s.dx << "," << s.dy;
        EXPECT_EQ(r.bottom - r.top, s.height) << s.dx << "," << s.dy;
        EXPECT_TRUE(RegionIs(h, s.width, s.height)) << s.dx << "," << s.dy;
        RECT b = WindowRect(body);
        EXPECT_EQ(b.right - b.left, s.width - 73);  // the body area follows both edges
        EXPECT_EQ(b.bottom - b.top, s.height - 160);
        EXPECT_GE(note->Editor().Width(), s.width - 73 - 42);
    }
    Mouse(h, WM_LBUTTONUP, gripX + 100, gripY + 30);
    EXPECT_TRUE(Layered(h));
    MoveCursorTo(h, 10, 10);  // no resize after the release
    EXPECT_EQ(WindowRect(h).right - WindowRect(h).left, 550);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, DraggingByEveryDragAreaPartWithAnyButton) {
    TargetProcess targets({u"Vn drag target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    const struct {
        const char* part;
        UINT press, release;
        int x, y;
        bool moves = true;
    } cases[] = {
        {"background", WM_LBUTTONDOWN, WM_LBUTTONUP, 10, 150},
        {"title", WM_RBUTTONDOWN, WM_RBUTTONUP, 100, 35},
        {"owner", WM_MBUTTONDOWN, WM_MBUTTONUP, 34, 62},
        {"separator", WM_LBUTTONDOWN, WM_LBUTTONUP, 200, 113},
        {"tagline", WM_LBUTTONDOWN, WM_LBUTTONUP, 225, 252, false},
    };
    for (const auto& c : cases) {
        const RECT before = WindowRect(h);
        Mouse(h, c.press, c.x, c.y);
        // The cursor moves; the note follows it with no threshold.
        POINT p{c.x, c.y};
        ClientToScreen(h, &p);
        PutCursor(p.x + 37, p.y - 12);
        SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(c.x + 37, c.y - 12));
        PutCursor(p.x + 38, p.y - 12);
        SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(c.x + 1, c.y));
        SendMessageW(h, c.release, 0, MAKELPARAM(c.x + 1, c.y));
        const RECT after = WindowRect(h);
        const int dx = c.moves ? 38 : 0, dy = c.moves ? -12 : 0;
        EXPECT_EQ(after.left - before.left, dx) << c.part;
        EXPECT_EQ(after.top - before.top, dy) << c.part;
        EXPECT_EQ(after.right - after.left, 450) << c.part;
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, ADragAndAResizeStartWhereTheButtonWentDownNotWhereTheCursorIsLater) {
    TargetProcess targets({u"Vn late press target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    const struct {
        const char* part;
        int x, y;
        bool resizes;
    } cases[] = {{"background", 10, 150, false}, {"grip", 450 - 43 + 10, 274 - 57 + 10, true}};
    for (const auto& c : cases) {
        const RECT before = WindowRect(h);
        POINT p{c.x, c.y};
        ClientToScreen(h, &p);
        // A busy program reads the press only after the pointer went on by (30, 20).
        PutCursor(p.x + 30, p.y + 20);
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        PutCursor(p.x + 60, p.y + 40);
        SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.x + 60, c.y + 40));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(c.x + 60, c.y + 40));
        const RECT after = WindowRect(h);
        if (c.resizes) {
            EXPECT_EQ(after.right - after.left, before.right - before.left + 60) << c.part;
            EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 40) << c.part;
        } else {
            EXPECT_EQ(after.left - before.left, 60) << c.part;
            EXPECT_EQ(after.top - before.top, 40) << c.part;
        }
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, PictureButtonsActOnThePressOfAnyMouseButton) {
    TargetProcess targets({u"Vn button target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    const struct {
        UINT press;
        int x, y;
        int exports, imports;
    } cases[] = {
        {WM_LBUTTONDOWN, 30, 85, 1, 0},   // Save
        {WM_RBUTTONDOWN, 98, 103, 2, 0},  // Save, bottom-right pixel
        {WM_MBUTTONDOWN, 110, 90, 2, 1},  // Import
        {WM_RBUTTONDOWN, 179, 90, 2, 2},
        {WM_LBUTTONDOWN, 102, 90, 2, 2},  // the gap between Save and Import
    };
    for (const auto& c : cases) {
        Mouse(h, c.press, c.x, c.y);
        SendMessageW(h, c.press + 1, 0, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(host.exports, c.exports) << c.x << "," << c.y;
        EXPECT_EQ(host.imports, c.imports) << c.x << "," << c.y;
    }
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, MinimiseToTheTileAndRestoreTheExactSizeByDoubleClick) {
    TargetProcess targets({u"Vn tile target"});
    NotePtr note = NoteOn(targets.Window(0));
    HWND h = note->Handle();
    // Resize first, so that the size to come back to is not the initial one.
    Mouse(h, WM_LBUTTONDOWN, 417, 227);
    MoveCursorTo(h, 417 + 63, 227 + 41);
    Mouse(h, WM_LBUTTONUP, 417 + 63, 227 + 41);
    ASSERT_EQ(WindowRect(h).right - WindowRect(h).left, 513);
    const int minimizeX = 513 - 95 + 30, minimizeY = 40;

    Mouse(h, WM_RBUTTONDOWN, minimizeX, minimizeY);
    SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(minimizeX, minimizeY));
    EXPECT_TRUE(note->Minimized());
    RECT r = WindowRect(h);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 100);
    EXPECT_TRUE(RegionIs(h, 100, 100, 30));
    EXPECT_FALSE(IsWindowVisible(Child(h, L"VnNoteScrollBox")));
    EXPECT_FALSE(IsWindowVisible(Child(h, L"VnNoteBackPanel")));

    // The tile is dragged somewhere else, then hidden and shown again: still a tile.
    Mouse(h, WM_LBUTTONDOWN, 50, 50);
    MoveCursorTo(h, 70, 80);
    Mouse(h, WM_LBUTTONUP, 70, 80);
    const RECT moved = WindowRect(h);
    EXPECT_EQ(moved.left - r.left, 20);
    EXPECT_EQ(moved.top - r.top, 30);
    note->Hide();
    note->RecreateNativeWindow();
    note->Show();
    h = note->Handle();
    r = WindowRect(h);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.left, moved.left);
    EXPECT_TRUE(note->Minimized());

    Mouse(h, WM_LBUTTONDOWN, 50, 50);
    Mouse(h, WM_LBUTTONUP, 50, 50);
    Mouse(h, WM_LBUTTONDBLCLK, 50, 50);
    Mouse(h, WM_LBUTTONUP, 50, 50);
    EXPECT_FALSE(note->Minimized());
    r = WindowRect(h);
    EXPECT_EQ(r.right - r.left, 513);
    EXPECT_EQ(r.bottom - r.top, 315);
    EXPECT_EQ(r.left, moved.left);  // left and top are the tile's
    EXPECT_EQ(r.top, moved.top);
    EXPECT_TRUE(RegionIs(h, 513, 315));
    HWND body = Child(h, L"VnNoteScrollBox");
    EXPECT_TRUE(IsWindowVisible(body));
    RECT b = WindowRect(body);
    EXPECT_EQ(b.bottom - b.top, 315 - 156);  // the refresh ran
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
