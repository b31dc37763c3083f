#pragma once
// The base of the tests' stand-ins for the controller: the real window system and
// a companion window of its own, made when the first note asks.
#include <memory>

#include "attach/window_system_win.h"
#include "note/note_companion_win.h"
#include "note/note_host.h"

namespace vn::test {

class TestNoteHost : public NoteHost {
public:
    WindowSystem& TrackingWindows() override { return TheWindowSystem(); }
    NoteCompanionWindow& NoteCompanion() override {
        if (!companion_) {
            companion_ = std::make_unique<NoteCompanionWindow>();
            companion_->Create();
        }
        return *companion_;
    }

private:
    std::unique_ptr<NoteCompanionWindow> companion_;
};

} // namespace vn::test
