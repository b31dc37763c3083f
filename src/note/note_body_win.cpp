#include "note/note_body_win.h"

#include <algorithm>

#include "platform/scope_exit.h"

namespace vn {
namespace {
constexpr wchar_t kBackPanelClass[] = L"VnNoteBackPanel";
constexpr wchar_t kScrollBoxClass[] = L"VnNoteScrollBox";

HBRUSH WhiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }
} // namespace

// ---- pRchEdtBack1 ---------------------------------------------------------------

NoteBackPanel::~NoteBackPanel() { DestroyHandle(); }

void NoteBackPanel::Create(HWND parent, const note::Rect& bounds) {
    RegisterClass(kBackPanelClass, 0, WhiteBrush());
    CreateNative(0, kBackPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top,
                 bounds.width, bounds.height, parent);
}

LRESULT NoteBackPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(Handle(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, WhiteBrush());
        return 1;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

// ---- ScrollBox ------------------------------------------------------------------

NoteScrollBox::~NoteScrollBox() { DestroyHandle(); }

void NoteScrollBox::Create(HWND parent, const note::Rect& bounds) {
    RegisterClass(kScrollBoxClass, 0, WhiteBrush());
    position_ = {};
    range_ = {};
    CreateNative(WS_EX_CLIENTEDGE, kScrollBoxClass, L"",
                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, bounds.left, bounds.top,
                 bounds.width, bounds.height, parent);
}

void NoteScrollBox::SetBounds(const note::Rect& bounds) {
    if (!HasHandle()) return;
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

note::Size NoteScrollBox::Size() const {
    if (!HasHandle()) return {};
    RECT r;
    GetWindowRect(Handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

note::Size NoteScrollBox::ContentExtent() const {
    note::Size extent;
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&r), 2);
        extent.width = std::max<int>(extent.width, r.right + position_.x);
        extent.height = std::max<int>(extent.height, r.bottom + position_.y);
    }
    return extent;
}

void NoteScrollBox::UpdateScrollRange() {
    if (!HasHandle() || updating_) return;
    updating_ = true;
    const auto done = OnScopeExit([this] { updating_ = false; });
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    RECT client;
    GetClientRect(Handle(), &client);
    // The client area as it would be without bars.
    const int fullWidth = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
    const int fullHeight = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);

    bool needH = false, needV = false;
    const note::Size extent = ContentExtent();
    if (barsVisible_) {
        needH = extent.width > fullWidth;
        needV = extent.height > fullHeight;
        // One bar takes room from the other direction and may make it needed too.
        if (needH && !needV) needV = extent.height > fullHeight - barHeight;
        if (needV && !needH) needH = extent.width > fullWidth - barWidth;
    }
    const int visibleWidth = fullWidth - (needV ? barWidth : 0);
    const int visibleHeight = fullHeight - (needH ? barHeight : 0);
    range_ = {needH ? extent.width : 0, needV ? extent.height : 0};

    note::Point target{std::clamp(position_.x, 0, std::max(0, range_.width - visibleWidth)),
                       std::clamp(position_.y, 0, std::max(0, range_.height - visibleHeight))};
    if (target != position_) {
        ScrollWindowEx(Handle(), position_.x - target.x, position_.y - target.y, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        position_ = target;
    }

    auto apply = [&](int bar, bool need, int extentSize, int page, int pos) {
        ShowScrollBar(Handle(), bar, need ? TRUE : FALSE);
        if (!need) return;
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = extentSize - 1;
        si.nPage = static_cast<UINT>(std::max(0, page));
        si.nPos = pos;
        SetScrollInfo(Handle(), bar, &si, TRUE);
    };
    apply(SB_HORZ, needH, extent.width, visibleWidth, position_.x);
    apply(SB_VERT, needV, extent.height, visibleHeight, position_.y);
}

void NoteScrollBox::SetScrollBarsVisible(bool visible) {
    barsVisible_ = visible;
    if (!visible) ScrollTo({0, 0});
    UpdateScrollRange();
}

void NoteScrollBox::ScrollTo(note::Point position) {
    if (!HasHandle()) return;
    RECT client;
    GetClientRect(Handle(), &client);
    note::Point target{std::clamp(position.x, 0, std::max<int>(0, range_.width - client.right)),
                       std::clamp(position.y, 0, std::max<int>(0, range_.height - client.bottom))};
    if (target == position_) return;
    ScrollWindowEx(Handle(), position_.x - target.x, position_.y - target.y, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    position_ = target;
    if (range_.width > 0) SetScrollPos(Handle(), SB_HORZ, position_.x, TRUE);
    if (range_.height > 0) SetScrollPos(Handle(), SB_VERT, position_.y, TRUE);
}

void NoteScrollBox::OnScroll(int bar, WORD request) {
    RECT client;
    GetClientRect(Handle(), &client);
    const bool vertical = bar == SB_VERT;
    const int page = vertical ? client.bottom : client.right;
    const int current = vertical ? position_.y : position_.x;
    int next = current;
    switch (request) {
    case SB_LINEUP: next = current - lineStep_; break;
    case SB_LINEDOWN: next = current + lineStep_; break;
    case SB_PAGEUP: next = current - page; break;
    case SB_PAGEDOWN: next = current + page; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = vertical ? range_.height : range_.width; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), bar, &si);
        next = si.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(vertical ? note::Point{position_.x, next} : note::Point{next, position_.y});
}

LRESULT NoteScrollBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        UpdateScrollRange();
        return 0;
    case WM_HSCROLL:
        if (lParam == 0) OnScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        if (lParam == 0) OnScroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // The check boxes of the gutter sit on the white body.
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(WhiteBrush());
    default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
