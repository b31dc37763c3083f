#pragma once
// The notification-area icon: tooltip, balloons, and the mouse messages over the
// icon. A hidden top-level window of its own receives the callback message and the
// shell's "TaskbarCreated" broadcast (which only top-level windows get), so the icon
// comes back after the shell restarts. An icon from a resource comes at the size the
// notification area shows (the small icon size at the DPI of the primary monitor),
// and again at the new size when that DPI or the system's metrics change.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

namespace vn {

class TrayIcon {
public:
    // lParam of the callback: the mouse message over the icon (WM_RBUTTONUP, ...).
    using MouseHandler = std::function<void(UINT mouseMessage)>;

    // `callbackMessage`: the message the shell sends to the hidden window for mouse
    // events over the icon.
    explicit TrayIcon(UINT callbackMessage);
    ~TrayIcon();  // removes the icon (NIM_DELETE)
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void SetIcon(HICON icon);  // not owned
    // The icon resource `name` of `module` (null: a system icon), loaded at the size
    // asked now and whenever the size changes. `name` is kept: a literal or an id.
    void SetIconResource(HINSTANCE module, const wchar_t* name);
    // The icon handed to the shell.
    HICON Icon() const noexcept { return icon_; }
    // The size in pixels the notification area shows an icon at now.
    int IconSize() const noexcept;
    void SetTip(std::u16string tip);
    void SetOnMouse(MouseHandler handler) { onMouse_ = std::move(handler); }

    // NIM_ADD / NIM_DELETE. Raises nothing: a shell without a notification area
    // simply shows nothing, and the icon is added when the shell comes.
    void SetVisible(bool visible);
    bool Visible() const noexcept { return visible_; }

    // Balloon: title, text and icon (NIIF_INFO 1, NIIF_ERROR 3) are kept, and each
    // change is passed on to the shell; ShowBalloon shows the current ones.
    void SetBalloonTitle(std::u16string title);
    void SetBalloonText(std::u16string text);
    void SetBalloonIcon(DWORD infoFlags);
    void ShowBalloon();
    const std::u16string& BalloonTitle() const noexcept { return balloonTitle_; }
    const std::u16string& BalloonText() const noexcept { return balloonText_; }
    DWORD BalloonIcon() const noexcept { return balloonIcon_; }
    // How many balloons were requested; lets a test see that one was shown again.
    unsigned BalloonsShown() const noexcept { return balloonsShown_; }

    // The hidden window that carries the icon (hWnd of the data block) and the
    // icon's number (uID).
    HWND MessageWindow() const noexcept;
    static constexpr UINT kIconId = 1;

private:
    class Receiver;
    void EnsureReceiver();
    BOOL Notify(DWORD message, bool balloon);
    // Loads the resource icon when it is not yet loaded at the size asked now.
    void LoadResourceIcon();
    void OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<Receiver> receiver_;
    MouseHandler onMouse_;
    HICON icon_ = nullptr;
    UniqueIcon ownIcon_;
    HINSTANCE iconModule_ = nullptr;
    const wchar_t* iconName_ = nullptr;
    int iconSize_ = 0;  // of ownIcon_
    std::u16string tip_;
    std::u16string balloonTitle_;
    std::u16string balloonText_;
    DWORD balloonIcon_ = NIIF_INFO;
    bool visible_ = false;
    unsigned balloonsShown_ = 0;
    UINT callbackMessage_;
    UINT taskbarCreatedMessage_ = 0;
};

} // namespace vn
