// The tracking ticks with the program's look at the real desktop: a note asks about
// its target only when the look saw something of it, and still follows what the
// person does to the window they work in within a tick or two, a target whose
// program ended, and the stacking order.
#include "note_test_fixture_win.h"

#include <functional>

#include "attach/desktop_look_win.h"
#include "attach/window_changes.h"

namespace vn::test {
namespace {

class WatchingHost : public RecordingHost {
public:
    explicit WatchingHost(std::uint64_t sweepMs) {
        changes_.StartWatching([] { return static_cast<std::uint64_t>(GetTickCount64()); }, sweepMs,
                               [this](WindowChanges& c) { LookAtDesktop(c, Stacking()); }, 250);
    }
    WindowChanges& Changes() override { return changes_; }

private:
    WindowChanges changes_;
};

bool IsAbove(HWND upper, HWND lower) {
    for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (h == upper) return true;
    return false;
}

// Lets the notes' own timers run until `done`, for at most `ms`.
bool Within(DWORD ms, const std::function<bool()>& done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; PumpMessagesFor(20))
        if (done()) return true;
    return done();
}

// Three ticks: the look of the next round, the tick after it, and room for a busy machine.
constexpr DWORD kFewTicks = 1500;

class NoteTrackingTest : public NoteWindowTest {
protected:
    NotePtr StoredNoteShownOn(WatchingHost& host, const std::u16string& caption, HWND target) {
        auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
        EXPECT_TRUE(Within(3000, [&] { return note->IsShown() && note->WndParent() == target; }));
        return note;
    }
};

TEST_F(NoteTrackingTest, ANoteFollowsWhatThePersonDoesToTheWindowTheyWorkIn) {
    WatchingHost watching(600000);  // no sweep during the test: only the look sees
    const std::u16string caption = UniqueCaption(u"Vn tracked target");
    TargetProcess targets({caption});
    HWND target = targets.Window(0);
    NotePtr note = StoredNoteShownOn(watching, caption, target);
    ASSERT_TRUE(note->IsShown());
    HWND noteWindow = note->Handle();
    struct Step {
        const char* name;
        std::function<void()> act;
        std::function<bool()> seen;
    } const steps[] = {
        {"retitled", [&] { SetWindowTextW(target, L"Vn tracked elsewhere"); }, [&] { return !note->IsShown(); }},
        {"titled back", [&] { SetWindowTextW(target, W(caption)); }, [&] { return note->IsShown(); }},
        {"minimised", [&] { ShowWindow(target, SW_MINIMIZE); },
         [&] { return note->IsShown() && !IsWindowVisible(note->Handle()); }},
        {"restored", [&] { ShowWindow(target, SW_RESTORE); }, [&] { return IsWindowVisible(note->Handle()); }},
        {"hidden", [&] { ShowWindow(target, SW_HIDE); }, [&] { return !note->IsShown(); }},
        {"shown again", [&] { ShowWindow(target, SW_SHOW); }, [&] { return note->IsShown(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        SetForegroundWindow(IsWindowVisible(target) ? target : noteWindow);
        PumpMessagesFor(600);  // the looks watch the window the person works in
        step.act();
        EXPECT_TRUE(Within(kFewTicks, step.seen));
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteTrackingTest, ANoteOnAWindowInTheBackgroundStaysAboveItAndGoesWithItsProgram) {
    WatchingHost watching(2000);
    const std::u16string caption = UniqueCaption(u"Vn background target");
    TargetProcess targets({caption, UniqueCaption(u"Vn background other")});
    HWND target = targets.Window(0);
    NotePtr note = StoredNoteShownOn(watching, caption, target);
    ASSERT_TRUE(note->IsShown());
    SetForegroundWindow(targets.Window(1));
    PumpMessagesFor(600);

    // Raised above its note without an activation: the ticks put the note back on top.
    SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(Within(kFewTicks, [&] { return IsAbove(note->Handle(), target); }));

    // Retitled in the background: seen by the sweep.
    SetWindowTextW(target, L"Vn background elsewhere");
    EXPECT_TRUE(Within(2000 + kFewTicks, [&] { return !note->IsShown(); }));
    SetWindowTextW(target, W(caption));
    EXPECT_TRUE(Within(2000 + kFewTicks, [&] { return note->IsShown(); }));

    // Its program ends without destroying the window: gone from the desktop's list.
    targets.Kill();
    EXPECT_TRUE(Within(kFewTicks, [&] { return !note->IsShown(); }));
    EXPECT_EQ(note->WndParent(), reinterpret_cast<HWND>(-1));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
