#pragma once
// A hidden helper window that every note owns for its whole life, with or without a
// native window of its own: it carries the note's timers (the tracking tick runs
// while an unbound note has no window), the deferred release after a close, and it
// is the owner of the note's window while the note has no target.
#include <windows.h>

#include <functional>

#include "platform/window_win.h"

namespace vn {

class NoteCompanionWindow final : public Window {
public:
    struct Events {
        std::function<void(UINT_PTR id)> onTimer;
        // The deferred release posted by PostRelease; the note may free itself here.
        std::function<void()> onRelease;
    };

    explicit NoteCompanionWindow(Events events);
    ~NoteCompanionWindow() override;

    // Creates the hidden window (never shown, no taskbar button). Raises OSError.
    void Create();
    // Window-message timers: they run on the thread's message loop.
    void StartTimer(UINT_PTR id, UINT milliseconds);
    void StopTimer(UINT_PTR id);
    // Posts the release; it arrives once the current message has been handled.
    void PostRelease();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Events events_;
};

} // namespace vn
