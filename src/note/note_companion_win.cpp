#include "note/note_companion_win.h"

#include <string>

#include "platform/errors.h"
#include "platform/text_win.h"

namespace vn {
namespace {
constexpr wchar_t kClassName[] = L"VnNoteCompanion";
// Posted to carry a close to the next turn of the message loop; wParam: the member's key.
constexpr UINT kReleaseMessage = WM_APP + 0x51;
// A timer's id on the window: the member's key above the member's own timer id.
constexpr unsigned kTimerIdBits = 3;
static_assert(NoteCompanionWindow::Member::kMaxTimerId < (UINT_PTR{1} << kTimerIdBits));
} // namespace

NoteCompanionWindow::~NoteCompanionWindow() { DestroyHandle(); }

void NoteCompanionWindow::Create() {
    if (HasHandle()) return;
    RegisterClass(kClassName);
    // A hidden top-level window rather than a message-only one: only a top-level
    // window can own a note's window while the note has no target.
    CreateNative(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
}

UINT_PTR NoteCompanionWindow::Join(Member& member) {
    Create();
    const UINT_PTR key = nextKey_++;
    members_[key] = &member;
    return key;
}

void NoteCompanionWindow::Leave(UINT_PTR key) noexcept { members_.erase(key); }

LRESULT NoteCompanionWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        auto it = members_.find(wParam >> kTimerIdBits);
        if (it != members_.end() && it->second->events_.onTimer)
            it->second->events_.onTimer(wParam & Member::kMaxTimerId);
        return 0;
    }
    case kReleaseMessage: {
        auto it = members_.find(wParam);
        // The handler may free the member: touch nothing of it afterwards.
        if (it != members_.end() && it->second->events_.onRelease) {
            auto release = it->second->events_.onRelease;
            release();
        }
        return 0;
    }
    case WM_CLOSE:
        return 0;  // only the notes decide when their helper goes
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

NoteCompanionWindow::Member::Member(NoteCompanionWindow& window, Events events)
    : window_(window), events_(std::move(events)), key_(window.Join(*this)) {}

NoteCompanionWindow::Member::~Member() {
    for (UINT_PTR id = 0; id <= kMaxTimerId; ++id) StopTimer(id);
    window_.Leave(key_);
}

void NoteCompanionWindow::Member::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (id > kMaxTimerId) throw Error("A note has no timer " + std::to_string(id) + ".");
    if (!SetTimer(window_.Handle(), (key_ << kTimerIdBits) | id, milliseconds, nullptr)) RaiseLastOSError();
    timers_ |= 1u << id;
}

void NoteCompanionWindow::Member::StopTimer(UINT_PTR id) {
    if (!(timers_ & (1u << id))) return;
    timers_ &= ~(1u << id);
    if (window_.HasHandle()) KillTimer(window_.Handle(), (key_ << kTimerIdBits) | id);
}

void NoteCompanionWindow::Member::PostRelease() {
    if (!PostMessageW(window_.Handle(), kReleaseMessage, key_, 0)) RaiseLastOSError();
}

} // namespace vn
