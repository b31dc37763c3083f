#pragma once
// The hidden helper window that all notes of one controller share, with or without
// native windows of their own: it carries every note's timers (the tracking tick
// runs while an unbound note has no window), the deferred release after a close,
// and it is the owner of a note's window while the note has no target.
//
// One window for all notes, not one per note: creating a window costs the system
// far more than a note's other start-up work, and every hidden top-level window
// lengthens the title search that each unbound note's tick makes.
#include <windows.h>

#include <functional>
#include <unordered_map>

#include "platform/window_win.h"

namespace vn {

class NoteCompanionWindow final : public Window {
public:
    struct Events {
        std::function<void(UINT_PTR id)> onTimer;
        // The deferred release posted by PostRelease; the note may free itself here.
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

        // Window-message timers: they run on the thread's message loop. Raises OSError.
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
        unsigned timers_ = 0;  // bit per running timer id
    };

    NoteCompanionWindow() = default;
    ~NoteCompanionWindow() override;

    // Creates the hidden window (never shown, no taskbar button). Raises OSError.
    void Create();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UINT_PTR Join(Member& member);
    void Leave(UINT_PTR key) noexcept;

    // Members by key. A key is never reused, so a timer or a release that comes
    // after its member left finds nothing.
    std::unordered_map<UINT_PTR, Member*> members_;
    UINT_PTR nextKey_ = 1;
};

} // namespace vn
