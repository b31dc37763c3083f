#pragma once
// A listed note without a window of its own, for the tests and benchmarks that
// list notes but make no windows: the window operations find no window.
#include "note/jotlet.h"

namespace vn::test {

class WindowlessJotlet : public Jotlet {
public:
    WindowId NoteWindow() const noexcept override { return kNoWindow; }
    WindowId TargetWindow() const noexcept override { return kNoWindow; }
    bool NoteWindowVisible() const override { return false; }
    bool NoteWindowEnabled() const override { return false; }
    void EnableNoteWindow(bool) override {}
    void ActivateNoteWindow() override {}
    bool IsTile() const noexcept override { return false; }
    void BringToFront() override {}
    void StickTo(WindowId) override {}
    bool HandlerRunning() const noexcept override { return false; }
};

} // namespace vn::test
