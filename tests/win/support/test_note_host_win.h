#pragma once
// The base of the tests' stand-ins for the controller: the real window system and
// a companion window of its own, made when the first note asks.
#include <memory>

#include "attach/stacking_order_win.h"
#include "attach/window_system_win.h"
#include "note/handle_budget.h"
#include "note/note_chrome_win.h"
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
    NoteChrome& Chrome() override {
        if (!chrome_) chrome_ = std::make_unique<NoteChrome>();
        return *chrome_;
    }
    note::HandleBudget& Budget() override { return budget; }
    StackingOrder& Stacking() override { return stacking_; }

    // The notes' share of window and drawing objects: the default quota and only what
    // the notes take, unless a test sets a quota of its own.
    note::HandleBudget budget{note::kDefaultQuota, {}};

private:
    std::unique_ptr<NoteCompanionWindow> companion_;
    std::unique_ptr<NoteChrome> chrome_;
    StackingOrder stacking_{100};
};

} // namespace vn::test
