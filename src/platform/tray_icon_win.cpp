#include "platform/tray_icon_win.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/scaled_window_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {
constexpr wchar_t kReceiverClass[] = L"VnTrayIconWindow";
constexpr UINT kBalloonTimeout = 5000;  // ms; newer shells use their own setting

template <size_t N>
void CopyTruncated(wchar_t (&target)[N], const std::u16string& text) {
    size_t n = std::min(text.size(), N - 1);
    std::copy_n(reinterpret_cast<const wchar_t*>(text.data()), n, target);
    target[n] = L'\0';
}
} // namespace

class TrayIcon::Receiver : public Window {
public:
    explicit Receiver(TrayIcon& owner) : owner_(owner) {
        RegisterClass(kReceiverClass);
        CreateNative(WS_EX_TOOLWINDOW, kReceiverClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        owner_.OnMessage(message, wParam, lParam);
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    TrayIcon& owner_;
};

TrayIcon::TrayIcon(UINT callbackMessage)
    : callbackMessage_(callbackMessage), taskbarCreatedMessage_(RegisterWindowMessageW(L"TaskbarCreated")) {}

TrayIcon::~TrayIcon() {
    if (visible_) Notify(NIM_DELETE, false);
}

HWND TrayIcon::MessageWindow() const noexcept { return receiver_ ? receiver_->Handle() : nullptr; }

void TrayIcon::EnsureReceiver() {
    if (!receiver_) receiver_ = std::make_unique<Receiver>(*this);
}

BOOL TrayIcon::Notify(DWORD message, bool balloon) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = MessageWindow();
    data.uID = kIconId;
    data.uCallbackMessage = callbackMessage_;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = icon_;
    CopyTruncated(data.szTip, tip_);
    CopyTruncated(data.szInfo, balloonText_);
    CopyTruncated(data.szInfoTitle, balloonTitle_);
    data.uTimeout = kBalloonTimeout;
    data.dwInfoFlags = balloonIcon_;
    if (balloon) data.uFlags |= NIF_INFO;
    return Shell_NotifyIconW(message, &data);
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    iconName_ = nullptr;
    iconSize_ = 0;
    if (visible_) Notify(NIM_MODIFY, false);
    ownIcon_.reset();
}

void TrayIcon::SetIconResource(HINSTANCE module, const wchar_t* name) {
    EnsureReceiver();
    iconModule_ = module;
    iconName_ = name;
    iconSize_ = 0;
    LoadResourceIcon();
}

int TrayIcon::IconSize() const noexcept {
    // The hidden window stands on the primary monitor, where the notification area is.
    return SystemMetricForDpi(SM_CXSMICON, DpiOfWindow(MessageWindow()));
}

void TrayIcon::LoadResourceIcon() {
    const int size = IconSize();
    if (!iconName_ || size == iconSize_) return;
    UniqueIcon icon = LoadIconOfSize(iconModule_, iconName_, size);
    if (!icon) return;  // the one shown stays
    icon_ = icon.get();
    iconSize_ = size;
    if (visible_) Notify(NIM_MODIFY, false);
    // The shell copied the old one; it can go now.
    ownIcon_ = std::move(icon);
}

void TrayIcon::SetTip(std::u16string tip) {
    tip_ = std::move(tip);
    if (visible_) Notify(NIM_MODIFY, false);
}

void TrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (visible) {
        EnsureReceiver();
        Notify(NIM_ADD, false);
    } else {
        Notify(NIM_DELETE, false);
    }
    visible_ = visible;
}

void TrayIcon::SetBalloonTitle(std::u16string title) {
    balloonTitle_ = std::move(title);
    if (visible_) Notify(NIM_MODIFY, false);
}

void TrayIcon::SetBalloonText(std::u16string text) {
    balloonText_ = std::move(text);
    if (visible_) Notify(NIM_MODIFY, false);
}

void TrayIcon::SetBalloonIcon(DWORD infoFlags) {
    balloonIcon_ = infoFlags;
    if (visible_) Notify(NIM_MODIFY, false);
}

void TrayIcon::ShowBalloon() {
    ++balloonsShown_;
    if (visible_) Notify(NIM_MODIFY, true);
}

void TrayIcon::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == callbackMessage_) {
        if (onMouse_) onMouse_(static_cast<UINT>(LOWORD(lParam)));
    } else if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        // The shell restarted and forgot every icon.
        if (visible_) Notify(NIM_ADD, false);
        LoadResourceIcon();
    } else if (message == kDpiChangedMessage || message == WM_DISPLAYCHANGE || message == WM_SETTINGCHANGE) {
        // The notification area may show icons at another size now.
        LoadResourceIcon();
    }
}

} // namespace vn
