#include "note/handle_budget.h"

#include <gtest/gtest.h>

namespace vn::note {
namespace {

TEST(HandleBudget, RefusesWhatWouldEatIntoTheReserveAndCountsOnlyWhatItGrants) {
    // Quota 1,012 USER objects: 12 above the reserve, room for three note windows.
    HandleBudget budget({kReserve.user + 12, kDefaultQuota.gdi}, {});
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(budget.Take(kNoteWindowCost)) << i;
    EXPECT_FALSE(budget.Take(kNoteWindowCost));
    EXPECT_FALSE(budget.Take(kCheckBoxCost));
    EXPECT_EQ(budget.Taken(), (GuiObjects{12, 3}));
    budget.Give(kNoteWindowCost);
    EXPECT_TRUE(budget.Take(kCheckBoxCost));
    EXPECT_EQ(budget.Taken(), (GuiObjects{9, 2}));
    // Giving back more than was taken (a window gone twice) never makes room out of nothing.
    for (int i = 0; i < 5; ++i) budget.Give(kNoteWindowCost);
    EXPECT_EQ(budget.Taken(), (GuiObjects{0, 0}));
}

TEST(HandleBudget, TheSystemsCountWinsWhenItIsLargerEitherKindAlone) {
    GuiObjects system{0, 0};
    HandleBudget budget({2000, 2000}, [&] { return system; });
    const struct {
        GuiObjects system;
        GuiObjects cost;
        bool fits;
    } cases[] = {
        {{0, 0}, {1000, 0}, true},      // Wine's zeros: only what the notes took counts
        {{999, 0}, {1, 0}, true},       // exactly up to the reserve
        {{1000, 0}, {1, 0}, false},
        {{0, 1000}, {0, 1}, false},     // GDI alone full refuses a window
        {{0, 1000}, {1, 0}, true},      // ... but not a box, which takes none
    };
    for (const auto& c : cases) {
        system = c.system;
        HandleBudget fresh({2000, 2000}, [&] { return system; });
        EXPECT_EQ(fresh.Take(c.cost), c.fits) << c.system.user << "/" << c.system.gdi;
    }
    // Taken objects count when the system reports fewer (it does not count them).
    system = {0, 0};
    ASSERT_TRUE(budget.Take({990, 0}));
    system = {500, 0};
    EXPECT_EQ(budget.Used(), (GuiObjects{990, 0}));
    EXPECT_FALSE(budget.Take({11, 0}));
    budget.SetQuota({2011, 2000});
    EXPECT_TRUE(budget.Take({11, 0}));
}

TEST(HandleBudget, AShortageOfNoteWindowsIsToBeToldOnceUntilANoteWindowFitsAgain) {
    HandleBudget budget({kReserve.user + kNoteWindowCost.user, kDefaultQuota.gdi}, {});
    EXPECT_FALSE(budget.ShortageToTell());
    ASSERT_TRUE(budget.TakeNoteWindow());
    EXPECT_FALSE(budget.TakeNoteWindow());
    EXPECT_FALSE(budget.TakeNoteWindow());  // the next tick, still no room
    EXPECT_TRUE(budget.ShortageToTell());
    EXPECT_FALSE(budget.TakeNoteWindow());
    EXPECT_FALSE(budget.ShortageToTell()) << "told once, not every tick";
    EXPECT_FALSE(budget.Take(kCheckBoxCost));  // a box without room is no shortage of windows
    EXPECT_FALSE(budget.ShortageToTell());

    budget.Give(kNoteWindowCost);  // a note closed: the waiting one fits
    ASSERT_TRUE(budget.TakeNoteWindow());
    EXPECT_FALSE(budget.ShortageToTell());
    EXPECT_FALSE(budget.TakeNoteWindow());  // a later shortage is told again
    EXPECT_TRUE(budget.ShortageToTell());
    EXPECT_EQ(budget.Taken(), kNoteWindowCost);
}

TEST(HandleBudget, WhatMustBeMadeIsCountedEvenBeyondTheRoom) {
    HandleBudget budget({kReserve.user + 1, kDefaultQuota.gdi}, {});
    budget.Count(kHiddenEditorCost);
    EXPECT_EQ(budget.Taken(), kHiddenEditorCost);
    EXPECT_FALSE(budget.Take(kCheckBoxCost)) << "it leaves no room for a box";
    budget.Give(kHiddenEditorCost);
    EXPECT_TRUE(budget.Take(kCheckBoxCost));
}

} // namespace
} // namespace vn::note
