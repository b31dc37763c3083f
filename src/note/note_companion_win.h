#pragma once
// The hidden helper window that all notes of one controller share, with or without
// native windows of their own: it carries every note's timers (the tracking tick
// runs while an unbound note has no window), the deferred release after a close,
// and it is the owner of a note's window while the note has no target.
//
// One window for all notes, not one per note: creating a window costs the system
// far more than a note's other start-up work, and every hidden top-level window
// lengthens the title search that each unbound note's tick makes. For the same
// reason the notes' timers of one interval share one system timer: a thousand
// waiting notes cost one timer message per tick instead of a thousand.
#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/window_win.h"

namespace vn {

class NoteCompanionWindow final : public Window {
public:
    struct Events {
        std::function<void(UINT_PTR id)> onTimer;
        // The deferred release posted by PostRelease; the note's owner may free it here.
        std::function<void()> onRelease;
    };

    // One note's share of the window: its timers and its release. Leaving (the
    // destructor) stops its timers and drops a release still on its way.
    class Member {
    public:
        // Timer ids of a member: 0 .. kMaxTimerId.
        static constexpr UINT_PTR kMaxTimerId = 7;

        Member(NoteCompanionWindow& window, Events events);
        ~Member();
        Member(const Member&) = delete;
        Member& operator=(const Member&) = delete;

        // Window-message timers: they run on the thread's message loop. A timer fires
        // every `milliseconds` until stopped, in step with the other members' timers
        // of that interval; starting it again makes it fire at their next tick.
        // Raises OSError.
        void StartTimer(UINT_PTR id, UINT milliseconds);
        void StopTimer(UINT_PTR id);
        // Posts the release; it arrives once the current message has been handled.
        void PostRelease();
        // The shared window: the owner of the note's window while it has no target.
        HWND Handle() const noexcept { return window_.Handle(); }

    private:
        friend class NoteCompanionWindow;
        NoteCompanionWindow& window_;
        Events events_;
        UINT_PTR key_;
        std::array<UINT, kMaxTimerId + 1> intervals_{};  // of each running timer; 0: stopped
    };

    NoteCompanionWindow() = default;
    ~NoteCompanionWindow() override;

    // Creates the hidden window (never shown, no taskbar button). Raises OSError.
    void Create();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A member's timer: its key and its own timer id.
    struct TimerRef {
        UINT_PTR key;
        UINT_PTR id;
        bool operator==(const TimerRef&) const = default;
    };

    UINT_PTR Join(Member& member);
    void Leave(UINT_PTR key) noexcept;
    void AddTimer(TimerRef timer, UINT milliseconds);
    void RemoveTimer(TimerRef timer, UINT milliseconds) noexcept;
    void Tick(UINT milliseconds);

    // Members by key. A key is never reused, so a timer or a release that comes
    // after its member left finds nothing.
    std::unordered_map<UINT_PTR, Member*> members_;
    UINT_PTR nextKey_ = 1;
    // The running timers by interval; the system timer of an interval has the
    // interval as its id.
    std::map<UINT, std::vector<TimerRef>> timers_;
};

} // namespace vn
