#include "note/sticky_note_win.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "attach/identity_win.h"
#include "attach/note_placement.h"
#include "attach/window_system_win.h"
#include "note/note_time_win.h"
#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/text_win.h"

#include "attach_target_process_win.h"

namespace vn {
namespace {

using test::PumpMessagesFor;
using test::TargetProcess;

class RecordingHost : public NoteHost {
public:
    bool SelectingCaptureWindow() const override { return selecting; }
    void SetSaveChangePending() override { ++saves; }
    void ExportJotlets() override {
        ++exports;
        if (onExport) onExport();
    }
    void ImportStickyNote() override { ++imports; }
    // What the controller does when it lists a note.
    void List(TFStickyNote& note) {
        note.SetRemovalNotice([this](Jotlet& removed) { destroyed.push_back(&removed); });
    }

    bool selecting = false;
    int saves = 0;
    int exports = 0;
    int imports = 0;
    std::vector<Jotlet*> destroyed;
    std::function<void()> onExport;
};

// Frees a note that is still alive at the end of a test, without a removal notice.
struct NoteDeleter {
    void operator()(TFStickyNote* note) const {
        note->SetRemovalNotice({});
        note->Destroy();
    }
};
using NotePtr = std::unique_ptr<TFStickyNote, NoteDeleter>;

constexpr COLORREF kPictureColor = RGB(255, 0, 0);

// Writes a PNG of one colour, larger than the tile, with GDI+'s own encoder.
void WritePng(const std::filesystem::path& file, int width, int height) {
    using namespace Gdiplus;
    static ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        GdiplusStartupInput input;
        GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap), Ok);
    GpGraphics* graphics = nullptr;
    DllExports::GdipGetImageGraphicsContext(bitmap, &graphics);
    DllExports::GdipGraphicsClear(graphics, 0xFFFF0000);
    DllExports::GdipDeleteGraphics(graphics);
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_EQ(DllExports::GdipSaveImageToFile(bitmap, file.wstring().c_str(), &png, nullptr), Ok);
    DllExports::GdipDisposeImage(bitmap);
}

// Every test runs in a folder of its own holding a tile picture.
class TileFolder {
public:
    explicit TileFolder(const char* name, bool withPicture = true)
        : saved_(std::filesystem::current_path()), dir_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        if (withPicture) WritePng(dir_ / "hig.png", 120, 140);
        std::filesystem::current_path(dir_);
    }
    ~TileFolder() { std::filesystem::current_path(saved_); }
    const std::filesystem::path& Path() const { return dir_; }

private:
    std::filesystem::path saved_;
    std::filesystem::path dir_;
};

// Under Wine a cursor move reaches the display asynchronously, and a late report
// of an earlier move can put the cursor back for a moment: move it, then wait until
// it has stayed at the point for a while.
void PutCursor(int x, int y) {
    int steady = 0;
    for (int i = 0; i < 400 && steady < 4; ++i) {
        POINT p;
        GetCursorPos(&p);
        if (p.x == x && p.y == y) {
            ++steady;
        } else {
            steady = 0;
            SetCursorPos(x, y);
        }
        PumpMessagesFor(5);
    }
    if (steady < 4) ADD_FAILURE() << "the cursor did not stay at " << x << "," << y;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class NoteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetApplicationExceptionHandler([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& x) {
                errors.push_back(x.what());
            } catch (...) {
                errors.push_back("?");
            }
        });
    }
    void TearDown() override { SetApplicationExceptionHandler({}); }

    TileFolder folder{"vn-note-window-test"};

    // A note on `target` as the controller makes one for a picked window.
    NotePtr NoteOn(HWND target) {
        NotePtr note(new TFStickyNote(host, target));
        host.List(*note);
        PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(target), *note);
        note->Show();
        PumpMessagesFor(50);
        return note;
    }

    RecordingHost host;
    std::vector<std::string> errors;
};

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// The window region is the rounded rectangle (0, 0, W + 2, H + 2) with e x e corners.
bool RegionIs(HWND h, int width, int height, int e) {
    HRGN expected = CreateRoundRectRgn(0, 0, width + 2, height + 2, e, e);
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    // Compared by area: the system may split the same region into other rectangles.
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(h, actual) != ERROR &&
                      CombineRgn(difference, expected, actual, RGN_XOR) == NULLREGION;
    DeleteObject(difference);
    DeleteObject(actual);
    DeleteObject(expected);
    return same;
}
bool RegionIs(HWND h, int width, int height) {
    return RegionIs(h, width, height, note::RegionEllipse({width, height}));
}

bool RegionContains(HWND h, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool inside = GetWindowRgn(h, region) != ERROR && PtInRegion(region, x, y);
    DeleteObject(region);
    return inside;
}

bool Layered(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

HWND Child(HWND parent, const wchar_t* cls) { return FindWindowExW(parent, nullptr, cls, nullptr); }

// A mouse message at a point of the note's client area. For a press or a move the
// cursor is put there first: the note reads the cursor itself for dragging and
// resizing. A release leaves the cursor where it is, since moving it would drag.
void Mouse(HWND note, UINT message, int x, int y) {
    const bool release = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    if (!release) {
        POINT p{x, y};
        ClientToScreen(note, &p);
        PutCursor(p.x, p.y);
    }
    WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON : message == WM_MBUTTONDOWN ? MK_MBUTTON : MK_LBUTTON;
    if (release) keys = 0;
    SendMessageW(note, message, keys, MAKELPARAM(x, y));
}

void MoveCursorTo(HWND note, int x, int y) { Mouse(note, WM_MOUSEMOVE, x, y); }

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
    TargetProcess targets({u"Vn stored target"});
    HWND target = targets.Window(0);
    NotePtr note(new TFStickyNote(host, u"VN_WIN_TESTS.EXE", u"Vn stored target"));
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

    SetWindowTextW(target, L"Vn stored target");
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
        {WM_LBUTTONDOWN, 200, 90, 2, 2},  // Font: no dialog yet, nothing else either
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

TEST_F(NoteWindowTest, RefusedCreationRaisesTheAccessDeniedExceptionOrTheGeneralError) {
    TargetProcess targets({u"Vn refused target"});
    HWND target = targets.Window(0);
    NotePtr note(new TFStickyNote(host, target));
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
    TargetProcess targets({u"Vn refusing target"});
    HWND target = targets.Window(0);
    NotePtr note(new TFStickyNote(host, u"vn_win_tests.exe", u"Vn refusing target"));
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

TEST_F(NoteWindowTest, DeleteClosesTheNoteOnTheNextTurnOfTheMessageLoop) {
    TargetProcess targets({u"Vn delete target"});
    auto* note = new TFStickyNote(host, targets.Window(0));
    host.List(*note);
    PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(targets.Window(0)), *note);
    note->Show();
    HWND h = note->Handle();
    Mouse(h, WM_LBUTTONDOWN, 300, 90);  // Delete
    EXPECT_EQ(note->WndParent(), nullptr);  // the target is forgotten at once
    EXPECT_TRUE(host.destroyed.empty());    // the note goes on the next turn
    note->Close();                          // a second close changes nothing
    PumpMessagesFor(50);
    ASSERT_EQ(host.destroyed.size(), 1u);
    EXPECT_EQ(host.destroyed[0], static_cast<Jotlet*>(note));
    EXPECT_FALSE(IsWindow(h));

    // The controller's shutdown: notice cancelled, hidden, destroyed at once.
    auto* other = new TFStickyNote(host, targets.Window(0));
    host.List(*other);
    HWND otherWindow = other->HandleNeeded();
    other->SetRemovalNotice({});
    other->Hide();
    other->Destroy();
    EXPECT_FALSE(IsWindow(otherWindow));
    EXPECT_EQ(host.destroyed.size(), 1u);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteWindowTest, ANoteClosedFromADialogOfItsOwnButtonIsFreedAfterTheButton) {
    TargetProcess targets({u"Vn modal target"});
    auto* note = new TFStickyNote(host, targets.Window(0));
    host.List(*note);
    PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(targets.Window(0)), *note);
    note->Show();
    HWND h = note->Handle();
    bool aliveAfterLoop = false;
    host.onExport = [&] {
        // The export dialog deletes this very note and keeps running its own loop.
        note->Close();
        PumpMessagesFor(50);
        aliveAfterLoop = host.destroyed.empty();
        EXPECT_FALSE(IsWindowVisible(h));  // gone from sight at once
    };
    Mouse(h, WM_LBUTTONDOWN, 30, 85);  // Save
    EXPECT_TRUE(aliveAfterLoop);
    PumpMessagesFor(50);
    ASSERT_EQ(host.destroyed.size(), 1u);
    EXPECT_FALSE(IsWindow(h));
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

// The face as the note draws it, read back from a memory bitmap.
class FaceShot {
public:
    explicit FaceShot(HWND note) {
        RECT r;
        GetClientRect(note, &r);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, r.right, r.bottom);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageW(note, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~FaceShot() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

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

TEST_F(NoteWindowTest, AMissingOrBadTilePictureLeavesTheNoteComplete) {
    for (bool badFile : {false, true}) {
        TileFolder empty("vn-note-no-tile", false);
        if (badFile) std::ofstream(empty.Path() / "hig.png", std::ios::binary) << "not a picture";
        errors.clear();
        TargetProcess targets({u"Vn no tile target"});
        NotePtr note = NoteOn(targets.Window(0));
        ASSERT_EQ(errors.size(), 1u) << "bad file " << badFile;  // the failure reaches the handler
        EXPECT_EQ(note->TitleText(), u"vn_win_tests.exe - Vn no tile target");
        EXPECT_TRUE(note->IsShown());
        HWND h = note->Handle();
        Mouse(h, WM_LBUTTONDOWN, 380, 40);
        Mouse(h, WM_LBUTTONUP, 380, 40);
        EXPECT_EQ(FaceShot(h).At(50, 50), RGB(201, 201, 201));  // the grey tile alone
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
} // namespace vn
