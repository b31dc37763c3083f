#include "attach/identity.h"
#include "attach/identity_win.h"
#include "attach/title_search_win.h"
#include "attach/window_system_win.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

#include <gtest/gtest.h>

#include "target_process_win.h"
#include "child_roles_win.h"

namespace vn {
namespace {

using test::TargetProcess;

std::u16string LongCaption() {
    std::u16string s;
    for (int i = 0; s.size() < 5000; ++i) s += u"word" + std::u16string(1, u'a' + i % 26) + u"  ";
    s += u"end";
    return s;
}

TEST(AttachIdentity, CaptionsAndExecutableNameOfAnotherProcessesWindows) {
    struct Case {
        std::u16string raw, caption;
    } const cases[] = {
        {u"Untitled - Notepad", u"Untitled - Notepad"},
        {u"  Padded \t caption \t ", u"Padded \t caption"},
        {u" \t \r\n ", u""},
        {u"", u""},
        {u"\u00c9crit \u2013 \u03a9\u0416", u"\u00c9crit \u2013 \u03a9\u0416"},
        {u" " + LongCaption() + u" ", LongCaption()},
    };
    std::vector<std::u16string> raws;
    for (const auto& c : cases) raws.push_back(c.raw);
    TargetProcess targets(raws);
    const std::u16string ownName = FileNamePart(U16(test::SelfPath()));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        HWND w = targets.Window(i);
        EXPECT_EQ(GetWindowCaption(w), cases[i].caption);
        // Same executable file as this program, another process: the same name, not our window.
        EXPECT_TRUE(IdentityTextEquals(GetWindowExeName(w), ownName));
        EXPECT_FALSE(IsOwnWindow(w));
    }
    EXPECT_EQ(GetWindowExeName(targets.Window(0)), U16(L"vn_win_tests.exe"));
}

TEST(AttachIdentity, AJustDestroyedWindowHasNoIdentity) {
    TargetProcess targets({u"Soon gone"});
    HWND w = targets.Window(0);
    ASSERT_EQ(GetWindowCaption(w), u"Soon gone");
    targets.Quit();
    EXPECT_EQ(GetWindowCaption(w), u"");
    EXPECT_EQ(GetWindowExeName(w), u"");
    EXPECT_FALSE(IsOwnWindow(w));
    EXPECT_EQ(GetWindowExeName(nullptr), u"");
    EXPECT_EQ(GetWindowCaption(nullptr), u"");
}

TEST(AttachIdentity, AHungProgramsWindowIsReadWithoutWaitingForIt) {
    TargetProcess targets({u"Vn hung target"});
    targets.Hang(4000);
    Sleep(200);  // the child is asleep in its window procedure now
    const DWORD start = GetTickCount();
    EXPECT_EQ(GetWindowCaption(targets.Window(0)), u"Vn hung target");
    EXPECT_LT(GetTickCount() - start, 1000u);
}

class PlainOwnWindow : public Window {
public:
    void Create() {
        RegisterClass(L"VnAttachOwnWindow");
        CreateNative(0, L"VnAttachOwnWindow", L"own", WS_OVERLAPPED, 0, 0, 50, 50, nullptr);
    }
};

TEST(AttachIdentity, OwnWindowsAreTheOnesTheWindowingLayerMade) {
    PlainOwnWindow own;
    own.Create();
    HWND control = CreateWindowExW(0, L"STATIC", L"label", WS_CHILD, 0, 0, 10, 10, own.Handle(), nullptr,
                                   Window::Instance(), nullptr);
    HWND stray = CreateWindowExW(0, L"STATIC", L"stray", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 Window::Instance(), nullptr);
    ASSERT_TRUE(control && stray);
    EXPECT_TRUE(IsOwnWindow(own.Handle()));
    EXPECT_FALSE(IsOwnWindow(control));  // not yet marked
    Window::MarkOwn(control);
    EXPECT_TRUE(IsOwnWindow(control));
    EXPECT_FALSE(IsOwnWindow(stray));  // in our process, but not made for a window object
    EXPECT_FALSE(IsOwnWindow(nullptr));
    DestroyWindow(stray);
}

TEST(AttachIdentity, ComputerNameAndOwnExecutableName) {
    wchar_t env[256] = {};
    GetEnvironmentVariableW(L"COMPUTERNAME", env, 256);
    std::u16string name = GetLocalComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 255u);
    if (env[0]) {
        EXPECT_TRUE(IdentityTextEquals(name, U16(env)));
    }
    EXPECT_TRUE(IdentityTextEquals(GetOwnExeFileName(), u"vn_win_tests.exe"));
}

// A caption with line breaks is stored on one line (each break a space); the title
// search finds its window again from the stored caption.
TEST(AttachWindowSystem, ATitleWithLineBreaksIsFoundByItsCaptionOnOneLine) {
    Window::RegisterClass(L"VnAttachTitleLines");
    HWND window = CreateWindowExW(0, L"VnAttachTitleLines", L"Vn attach\r\nlines\nmore", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, Window::Instance(), nullptr);
    ASSERT_NE(window, nullptr);
    TitleSearch search = SystemTitleSearch(0);
    EXPECT_EQ(search.Find(CaptionOnOneLine(u"Vn attach\r\nlines\nmore")), ToWindowId(window));
    EXPECT_EQ(search.Find(u"Vn attach  lines more"), ToWindowId(window));
    DestroyWindow(window);
}

TEST(AttachWindowSystem, QueriesOnRealWindowsOfAnotherProcess) {
    TargetProcess targets({u"Vn attach target one", u"Vn attach target two"});
    WindowSystem& ws = TheWindowSystem();
    WindowId one = ToWindowId(targets.Window(0));
    WindowId two = ToWindowId(targets.Window(1));

    EXPECT_EQ(ws.FindWindowByTitle(u"Vn attach target two"), two);
    EXPECT_EQ(ws.FindWindowByTitle(u"Vn attach target three"), kNoWindow);
    EXPECT_TRUE(ws.IsWindow(one));
    EXPECT_TRUE(ws.IsWindowVisible(one));
    EXPECT_EQ(ws.GetWindowCaption(one), u"Vn attach target one");
    EXPECT_TRUE(IdentityTextEquals(ws.GetWindowExeName(one), u"vn_win_tests.exe"));
    EXPECT_FALSE(ws.IsOwnWindow(one));
    auto rect = ws.GetWindowRect(one);
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(rect->right - rect->left, 300);
    EXPECT_FALSE(ws.IsIconic(one));
    EXPECT_FALSE(ws.PlacementMinimized(one));

    ShowWindow(targets.Window(0), SW_MINIMIZE);
    test::PumpMessagesFor(300);
    EXPECT_TRUE(ws.IsIconic(one));
    EXPECT_TRUE(ws.PlacementMinimized(one));

    ShowWindow(targets.Window(1), SW_HIDE);
    test::PumpMessagesFor(100);
    EXPECT_FALSE(ws.IsWindowVisible(two));
    EXPECT_EQ(ws.FindWindowByTitle(u"Vn attach target two"), two);  // the title search sees hidden windows too

    targets.Quit();
    EXPECT_FALSE(ws.IsWindow(one));
    EXPECT_FALSE(ws.GetWindowRect(one).has_value());
    EXPECT_FALSE(ws.PlacementMinimized(one));
}

} // namespace
} // namespace vn
