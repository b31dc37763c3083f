#include "attach/window_changes.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace vn {
namespace {

TEST(WindowChanges, StampsOrderChangesAndTheSweepCoversEverything) {
    WindowChanges unwatched;
    EXPECT_TRUE(unwatched.ChangedSince(0x10, unwatched.Now()));  // unwatched: anything may have changed
    EXPECT_TRUE(unwatched.AnyChangedSince(unwatched.Now()));

    std::uint64_t clock = 1000;
    WindowChanges changes;
    changes.StartWatching([&] { return clock; }, 10000, {}, 0);
    const auto s1 = changes.Now();
    EXPECT_FALSE(changes.ChangedSince(0x10, s1));
    EXPECT_FALSE(changes.AnyChangedSince(s1));
    changes.WindowChanged(0x20);
    EXPECT_FALSE(changes.ChangedSince(0x10, s1));
    EXPECT_TRUE(changes.ChangedSince(0x20, s1));
    EXPECT_TRUE(changes.AnyChangedSince(s1));
    const auto s2 = changes.Now();
    EXPECT_FALSE(changes.ChangedSince(0x20, s2));  // changed before s2

    changes.AllChanged();
    EXPECT_TRUE(changes.ChangedSince(0x10, s2));
    EXPECT_TRUE(changes.ChangedSince(0x20, s1));  // the dropped change stays covered
    const auto s3 = changes.Now();
    EXPECT_FALSE(changes.ChangedSince(0x20, s3));

    clock += 9999;
    EXPECT_EQ(changes.Now(), s3);  // no sweep yet
    clock += 1;
    changes.Now();  // the sweep
    EXPECT_TRUE(changes.ChangedSince(0x10, s3));
    const auto s4 = changes.Now();
    clock -= 5000;  // a clock that went back sweeps too
    changes.Now();
    EXPECT_TRUE(changes.ChangedSince(0x10, s4));

    changes.StopWatching();
    EXPECT_TRUE(changes.ChangedSince(0x10, changes.Now()));
}

// A desktop the looks read: top-level windows, the active ones and their states.
struct LookedDesk {
    std::vector<WindowId> topLevel{0x10, 0x20, 0x30};
    std::vector<WindowId> active{0x10};
    std::map<WindowId, WatchedWindowState> states{{0x10, {true, false, u"Untitled - Notepad"}},
                                                  {0x20, {true, false, u"Mail"}},
                                                  {0x30, {true, false, u"Report"}}};
    std::vector<WindowId> read;
    std::uint64_t clock = 1000;
    WindowChanges changes;

    LookedDesk() {
        changes.StartWatching([this] { return clock; }, 60000,
                              [this](WindowChanges& c) {
                                  c.Look(topLevel, active, [this](WindowId w) -> std::optional<WatchedWindowState> {
                                      read.push_back(w);
                                      auto it = states.find(w);
                                      if (it == states.end()) return std::nullopt;
                                      return it->second;
                                  });
                              },
                              250);
    }
    // The first Now() of the next round: it looks.
    WindowChanges::Stamp NextRound() {
        clock += 500;
        return changes.Now();
    }
};

TEST(WindowChanges, ALookSeesWindowsComeAndGoAndWhatHappensToTheActiveOnes) {
    struct Case {
        const char* name;
        void (*change)(LookedDesk&);
        std::vector<WindowId> changed;  // of 0x10, 0x20, 0x30, 0x40
    } const cases[] = {
        {"nothing", [](LookedDesk&) {}, {}},
        {"a window appears", [](LookedDesk& d) { d.topLevel.push_back(0x40); }, {0x40}},
        {"a window goes without a word (its program ended)",
         [](LookedDesk& d) { d.topLevel.erase(d.topLevel.begin() + 1); }, {0x20}},
        {"the active window is retitled", [](LookedDesk& d) { d.states[0x10].title = u"a.txt - Notepad"; }, {0x10}},
        {"the active window hides", [](LookedDesk& d) { d.states[0x10].visible = false; }, {0x10}},
        {"the active window is minimised and another becomes active",
         [](LookedDesk& d) {
             d.states[0x10].minimized = true;
             d.active = {0x20};
         },
         {0x10, 0x20}},
        {"a window in the background is retitled: left to the sweep",
         [](LookedDesk& d) { d.states[0x30].title = u"Other"; }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LookedDesk desk;
        desk.NextRound();  // the first look
        const auto before = desk.NextRound();
        EXPECT_EQ(desk.changes.Now(), before) << "one look a round";
        c.change(desk);
        desk.NextRound();
        std::vector<WindowId> changed;
        for (WindowId w : {0x10, 0x20, 0x30, 0x40})
            if (desk.changes.ChangedSince(w, before)) changed.push_back(w);
        EXPECT_EQ(changed, c.changed);
    }
}

TEST(WindowChanges, AWindowIsWatchedForAWhileAfterItWasActive) {
    LookedDesk desk;
    desk.NextRound();
    desk.active = {0x20};
    desk.NextRound();
    // Minimised a moment after it lost the foreground: still seen.
    for (int i = 1; i < WindowChanges::kWatchedLooks - 1; ++i) desk.NextRound();
    auto before = desk.changes.Now();
    desk.states[0x10].minimized = true;
    desk.NextRound();
    EXPECT_TRUE(desk.changes.ChangedSince(0x10, before));

    // Long after, it is no longer read at all.
    for (int i = 0; i < WindowChanges::kWatchedLooks; ++i) desk.NextRound();
    desk.read.clear();
    before = desk.NextRound();
    desk.states[0x10].minimized = false;
    desk.NextRound();
    EXPECT_FALSE(desk.changes.ChangedSince(0x10, before));
    EXPECT_EQ(desk.read, (std::vector<WindowId>{0x20, 0x20}));
}

TEST(WindowChanges, TitlesReadNowAndThenShowAWindowRetitledInTheBackground) {
    std::uint64_t clock = 1000;
    WindowChanges changes;
    changes.StartWatching([&] { return clock; }, 60000, {}, 0);
    EXPECT_FALSE(changes.TitlesDue()) << "titles are read only when asked for";
    changes.ReadTitlesEvery(2000);
    EXPECT_TRUE(changes.TitlesDue());
    changes.LookAtTitles({{0x10, u"a.txt - Notepad"}, {0x20, u"Mail"}});
    const auto before = changes.Now();
    clock += 1999;
    EXPECT_FALSE(changes.TitlesDue());
    clock += 1;
    ASSERT_TRUE(changes.TitlesDue());
    changes.LookAtTitles({{0x10, u"b.txt - Notepad"}, {0x20, u"Mail"}, {0x30, u"New"}});
    EXPECT_TRUE(changes.ChangedSince(0x10, before));
    EXPECT_FALSE(changes.ChangedSince(0x20, before));
    EXPECT_FALSE(changes.ChangedSince(0x30, before)) << "a new window is the window list's to see";
}

TEST(WindowChanges, ALookThatFailsCountsEverythingAsChanged) {
    std::uint64_t clock = 1000;
    bool fail = false;
    WindowChanges changes;
    changes.StartWatching([&] { return clock; }, 60000,
                          [&](WindowChanges&) {
                              if (fail) throw std::runtime_error("no window list");
                          },
                          250);
    clock += 500;
    const auto before = changes.Now();
    fail = true;
    clock += 500;
    EXPECT_THROW(changes.Now(), std::runtime_error);
    EXPECT_TRUE(changes.ChangedSince(0x10, before));
}

} // namespace
} // namespace vn
