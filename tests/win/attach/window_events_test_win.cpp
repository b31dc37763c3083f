// The system's window events with real windows of a second program. Wine reports
// only the creation of windows (and focus changes), so that is what shows here
// that a report reaches the ticks' changes; Wine also reports the program's own
// windows, which the hook asks to leave out and drops itself. What each kind of
// report means is tested with the portable rule
// (tests/unit/attach/window_events_test.cpp).
#include "attach/window_events_win.h"

#include <gtest/gtest.h>

#include <functional>

#include "attach/window_system_win.h"
#include "target_process_win.h"

namespace vn::test {
namespace {

bool PumpUntil(DWORD ms, const std::function<bool()>& done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; PumpMessagesFor(20))
        if (done()) return true;
    return done();
}

// Changes that only the reports fill: no look, no sweep during the test.
struct ReportedChanges {
    WindowChanges changes;
    ReportedChanges() {
        changes.StartWatching([] { return static_cast<std::uint64_t>(GetTickCount64()); }, 600000, {}, 0);
    }
};

TEST(AttachWindowEvents, AnotherProgramsNewWindowIsReportedWhileTheObjectLivesAndTheProgramsOwnAreNot) {
    ReportedChanges reported;
    WindowChanges& changes = reported.changes;
    {
        WindowEvents events(changes);
        ASSERT_TRUE(events.Installed());
        WindowEvents second(changes);
        EXPECT_FALSE(second.Installed()) << "one per thread: the procedure finds only one";

        const WindowChanges::Stamp before = changes.Now();
        HWND own = CreateWindowExW(0, L"STATIC", L"Vn own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 120, 80,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(own);
        SetWindowTextW(own, L"Vn own window, retitled");
        TargetProcess targets({u"Vn reported target"});
        EXPECT_TRUE(PumpUntil(5000, [&] { return changes.ChangedSince(ToWindowId(targets.Window(0)), before); }))
            << "the creation of another program's window was not reported";
        EXPECT_FALSE(changes.ChangedSince(ToWindowId(own), before)) << "the program's own window was reported";
        DestroyWindow(own);
        targets.Kill();
    }

    // Unhooked with its object; a report still queued for it goes nowhere.
    const WindowChanges::Stamp after = changes.Now();
    TargetProcess later({u"Vn unreported target"});
    PumpMessagesFor(1000);
    const WindowId window = ToWindowId(later.Window(0));
    WindowEvents::WindowEventProc(nullptr, EVENT_OBJECT_CREATE, later.Window(0), OBJID_WINDOW, CHILDID_SELF, 0, 0);
    EXPECT_FALSE(changes.ChangedSince(window, after)) << "reported after the object was gone";
    EXPECT_FALSE(changes.AnyChangedSince(after));

    // A new object on the same thread hears again.
    WindowEvents again(changes);
    ASSERT_TRUE(again.Installed());
    later.Kill();
    TargetProcess third({u"Vn reported again"});
    EXPECT_TRUE(PumpUntil(5000, [&] { return changes.ChangedSince(ToWindowId(third.Window(0)), after); }));
    third.Kill();
}

} // namespace
} // namespace vn::test
