#include "platform/tray_icon_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/dpi_win.h"
#include "platform/scope_exit.h"

namespace vn {
namespace {

constexpr UINT kCallback = WM_APP + 41;

// Asks the shell whether it knows the icon: changing an icon it does not have fails.
bool ShellHasIcon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TrayIcon::kIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

TEST(TrayIcon, ComesBackWhenTheShellRestartsAndGoesWhenHidden) {
    TrayIcon tray(kCallback);
    tray.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    tray.SetTip(u"Vantory Note");
    tray.SetVisible(true);
    HWND window = tray.MessageWindow();
    ASSERT_TRUE(IsWindow(window));
    ASSERT_TRUE(ShellHasIcon(window)) << "the shell has no notification area here";

    // A restarted shell has forgotten every icon and says so to all top-level windows.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TrayIcon::kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    ASSERT_FALSE(ShellHasIcon(window));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellHasIcon(window));

    // Texts beyond the data block's room are cut, never overrun.
    tray.SetTip(std::u16string(500, u'x'));
    tray.SetBalloonText(std::u16string(1000, u'y'));
    tray.SetBalloonTitle(std::u16string(300, u'z'));
    tray.ShowBalloon();
    EXPECT_TRUE(ShellHasIcon(window));

    tray.SetVisible(false);
    EXPECT_FALSE(ShellHasIcon(window));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(ShellHasIcon(window)) << "a hidden icon must not come back with the shell";
}

TEST(TrayIcon, PassesTheMouseMessagesOverTheIcon) {
    std::vector<UINT> seen;
    TrayIcon tray(kCallback);
    tray.SetOnMouse([&](UINT message) { seen.push_back(message); });
    tray.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    tray.SetVisible(true);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP})
        SendMessageW(tray.MessageWindow(), kCallback, TrayIcon::kIconId, message);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP}));
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    BITMAP picture{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(picture), &picture);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return picture.bmWidth;
}

TEST(TrayIcon, AnIconFromTheResourcesComesAtTheSizeAskedAndFollowsTheScale) {
    auto unpin = OnScopeExit([] { PinDpiForTests(std::nullopt); });
    // The small icon at 100 % (16 px on Windows and Wine) at each scale.
    const auto asked = [](int dpi) { return MulDiv(GetSystemMetrics(SM_CXSMICON), dpi, 96); };
    PinDpiForTests(144);
    TrayIcon tray(kCallback);
    tray.SetIconResource(nullptr, IDI_APPLICATION);
    tray.SetVisible(true);
    ASSERT_TRUE(ShellHasIcon(tray.MessageWindow()));
    EXPECT_EQ(tray.IconSize(), asked(144));
    EXPECT_EQ(IconWidth(tray.Icon()), asked(144));

    for (int dpi : {192, 120, 96}) {
        PinDpiForTests(dpi);
        SendMessageW(tray.MessageWindow(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), 0);
        EXPECT_EQ(IconWidth(tray.Icon()), asked(dpi)) << dpi;
    }
    // A shell that comes back after a change of scale gets the icon at the new size.
    PinDpiForTests(144);
    SendMessageW(tray.MessageWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(IconWidth(tray.Icon()), asked(144));
    EXPECT_TRUE(ShellHasIcon(tray.MessageWindow()));
}

} // namespace
} // namespace vn
