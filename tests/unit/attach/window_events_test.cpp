#include "attach/window_events.h"

#include <gtest/gtest.h>

#include <map>

namespace vn {
namespace {

constexpr WindowId kListed = 0x10;    // a top-level window in the last look
constexpr WindowId kUnlisted = 0x99;  // never listed (an inner window, most likely)
constexpr std::uint32_t kLocationChange = 0x800B;
constexpr std::uint32_t kFocus = 0x8005;
constexpr std::int32_t kObjectClient = -4;

TEST(WindowEvents, OnlyReportsAboutAWindowItselfCountAndAGoneWindowWakesTheSearchesOnlyIfItWasListed) {
    using enum WindowStanding;
    struct Case {
        const char* name;
        std::uint32_t event;
        WindowId window;
        WindowStanding standing;
        bool windowChanged;
        bool anyChanged;
        std::int32_t object = kObjectWindow;
        std::int32_t child = kChildSelf;
    } const cases[] = {
        {"created", kEventObjectCreate, kListed, TopLevel, true, true},
        {"shown", kEventObjectShow, kListed, TopLevel, true, true},
        {"hidden", kEventObjectHide, kListed, TopLevel, true, true},
        {"retitled", kEventObjectNameChange, kListed, TopLevel, true, true},
        {"minimised", kEventSystemMinimizeStart, kListed, TopLevel, true, true},
        {"restored", kEventSystemMinimizeEnd, kListed, TopLevel, true, true},
        {"destroyed, was listed", kEventObjectDestroy, kListed, Gone, true, true},
        {"hidden and gone, was listed", kEventObjectHide, kListed, Gone, true, true},
        {"destroyed, never listed", kEventObjectDestroy, kUnlisted, Gone, true, false},
        {"an inner window retitled", kEventObjectNameChange, kUnlisted, Inner, false, false},
        {"the program's own window made", kEventObjectCreate, kUnlisted, Own, false, false},
        {"the client area renamed", kEventObjectNameChange, kListed, TopLevel, false, false, kObjectClient},
        {"an item of the window renamed", kEventObjectNameChange, kListed, TopLevel, false, false, kObjectWindow, 3},
        {"moved", kLocationChange, kListed, TopLevel, false, false},
        {"focused", kFocus, kListed, TopLevel, false, false},
        {"no window", kEventObjectShow, kNoWindow, TopLevel, false, false},
    };

    WindowChanges changes;
    changes.StartWatching([] { return std::uint64_t{1000}; }, 600000,
                          [](WindowChanges& c) { c.Look({kListed, 0x20}, {}, [](WindowId) { return std::nullopt; }); },
                          600000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowChanges::Stamp before = changes.Now();
        bool asked = false;
        TakeWindowEvent(changes, c.event, c.window, c.object, c.child, [&](WindowId w) {
            EXPECT_EQ(w, c.window);
            asked = true;
            return c.standing;
        });
        EXPECT_EQ(changes.ChangedSince(c.window, before), c.windowChanged);
        EXPECT_EQ(changes.AnyChangedSince(before), c.anyChanged);
        EXPECT_FALSE(changes.ChangedSince(0x20, before)) << "another window counted as changed";
        // Asking where a window stands is a question to the window server: only a
        // report about a window itself of an event that matters asks it.
        const bool mayMatter = c.windowChanged || c.standing == Inner || c.standing == Own;
        EXPECT_EQ(asked, mayMatter);
    }
}

} // namespace
} // namespace vn
