#include "note/note_host.h"

#include "attach/window_system_win.h"
#include "note/note_companion_win.h"

namespace vn {

NoteHost::NoteHost() = default;
NoteHost::~NoteHost() = default;

WindowSystem& NoteHost::TrackingWindows() { return TheWindowSystem(); }

NoteCompanionWindow& NoteHost::NoteCompanion() {
    if (!companion_) {
        auto companion = std::make_unique<NoteCompanionWindow>();
        companion->Create();
        companion_ = std::move(companion);
    }
    return *companion_;
}

} // namespace vn
