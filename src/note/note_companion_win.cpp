#include "note/note_companion_win.h"

#include <algorithm>
#include <string>

#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/text_win.h"

namespace vn {
namespace {
constexpr wchar_t kClassName[] = L"VnNoteCompanion";
// Posted to carry a close to the next turn of the message loop; wParam: the member's key.
constexpr UINT kReleaseMessage = WM_APP + 0x51;
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

void NoteCompanionWindow::AddTimer(TimerRef timer, UINT milliseconds) {
    auto& running = timers_[milliseconds];
    if (running.empty() && !SetTimer(Handle(), milliseconds, milliseconds, nullptr)) {
        timers_.erase(milliseconds);
        RaiseLastOSError();
    }
    running.push_back(timer);
}

void NoteCompanionWindow::RemoveTimer(TimerRef timer, UINT milliseconds) noexcept {
    auto it = timers_.find(milliseconds);
    if (it == timers_.end()) return;
    std::erase(it->second, timer);
    if (it->second.empty()) {
        timers_.erase(it);
        if (HasHandle()) KillTimer(Handle(), milliseconds);
    }
}

void NoteCompanionWindow::Tick(UINT milliseconds) {
    auto it = timers_.find(milliseconds);
    if (it == timers_.end()) return;
    // A handler may start, stop or free timers of this interval: go through the
    // ones running now, and only those still running when their turn comes.
    const std::vector<TimerRef> due = it->second;
    for (const TimerRef& timer : due) {
        auto member = members_.find(timer.key);
        if (member == members_.end() || member->second->intervals_[timer.id] != milliseconds) continue;
        // One note's failing tick must not cost the others theirs.
        Guarded([&] {
            if (auto& onTimer = member->second->events_.onTimer) onTimer(timer.id);
        });
    }
}

LRESULT NoteCompanionWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        Tick(static_cast<UINT>(wParam));
        return 0;
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
    if (milliseconds == 0) milliseconds = USER_TIMER_MINIMUM;  // as SetTimer takes 0
    StopTimer(id);
    window_.AddTimer({key_, id}, milliseconds);
    intervals_[id] = milliseconds;
}

void NoteCompanionWindow::Member::StopTimer(UINT_PTR id) {
    if (id > kMaxTimerId || intervals_[id] == 0) return;
    window_.RemoveTimer({key_, id}, intervals_[id]);
    intervals_[id] = 0;
}

void NoteCompanionWindow::Member::PostRelease() {
    if (!PostMessageW(window_.Handle(), kReleaseMessage, key_, 0)) RaiseLastOSError();
}

} // namespace vn
