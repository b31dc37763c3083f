#include "attach/note_binding.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "attach/fake_desktop.h"
#include "platform/errors.h"

namespace vn {
namespace {

using test::FakeDesktop;
using Log = std::vector<std::string>;

const std::u16string kExe = u"notepad.exe";
const std::u16string kCaption = u"Untitled - Notepad";

// The note window as far as the tick sees it. Targets in `refusingOwners` play
// programs running with higher rights; `failCreation` plays any other refusal.
class FakeNote : public BindingNoteView {
public:
    explicit FakeNote(NoteBinding b) : binding(std::move(b)) {}

    void Tick(FakeDesktop& desk, bool picking = false) { binding.TimerTimer(picking, desk, *this); }
    void Tick(FakeDesktop& desk, WindowChanges& changes) { binding.TimerTimer(false, desk, *this, changes); }
    Log TakeLog() { return std::exchange(log, {}); }

    // What a save does: it needs the body's window whatever the target thinks of it.
    void CreateNativeWindowForSave() {
        try {
            CreateNativeWindowIfNeeded();
        } catch (const TSNCreateWindowHandleAccessDeniedException&) {
            binding.OwnedWindowRefused();
            CreateNativeWindowIfNeeded();
        }
    }

    bool IsShown() const override { return shown; }
    void Hide() override {
        shown = false;
        log.push_back("hide");
    }
    int Left() const override { return left; }
    int Top() const override { return top; }
    void RecreateNativeWindow() override {
        hasNative = false;
        log.push_back("recreate");
    }
    void CreateNativeWindowIfNeeded() override {
        if (hasNative) return;
        WindowId owner = binding.NativeWindowOwner();
        if (refusingOwners.count(owner)) throw TSNCreateWindowHandleAccessDeniedException();
        if (failCreation) throw OSError(1400, "Invalid window handle.");
        hasNative = true;
        nativeOwner = owner;
        log.push_back("create");
    }
    void ApplyPlacement(int l, int t) override {
        left = l;
        top = t;
        log.push_back("place " + std::to_string(l) + "," + std::to_string(t));
    }
    void UpdateLayout() override { log.push_back("layout"); }
    void Show() override {
        shown = true;
        log.push_back("show");
    }
    bool KeepAboveTarget(WindowId target) override { return !desktop || desktop->IsWindow(target); }
    bool WindowVisible() const override { return windowHidden ? false : shown; }
    // What the system leaves on screen once followed: the window shows again.
    void FollowTarget(WindowId) override { windowHidden = false; }

    NoteBinding binding;
    bool shown = false;
    int left = 300;
    int top = 40;
    bool hasNative = false;
    WindowId nativeOwner = kUnboundWindow;
    std::set<WindowId> refusingOwners;
    bool failCreation = false;
    // The system took the note's window off the screen by itself.
    bool windowHidden = false;
    // Where the target's existence is looked up when nothing was seen of it.
    const FakeDesktop* desktop = nullptr;
    Log log;
};

FakeNote StoredNote(std::u16string exe = kExe, std::u16string caption = kCaption) {
    return FakeNote(NoteBinding::ForStoredNote(std::move(exe), std::move(caption)));
}

const Log kFirstShowing = {"recreate", "create", "place 105,205", "layout", "show"};

TEST(NoteBinding, ConstructionForAStoredNoteAndForALiveWindow) {
    auto stored = NoteBinding::ForStoredNote(u"NOTEPAD.EXE", u" Doc ");
    EXPECT_EQ(stored.WndParent(), kUnboundWindow);
    EXPECT_EQ(stored.WndParentCaption(), u" Doc ");  // taken as stored, not trimmed
    EXPECT_TRUE(stored.ParentBindingPending());
    EXPECT_EQ(stored.CaptionText(), u"NOTEPAD.EXE -  Doc ");
    EXPECT_EQ(stored.NativeWindowOwner(), kNoWindow);

    FakeDesktop desk;
    WindowId target = desk.Open(u"  Untitled - Notepad\t", kExe);
    auto live = NoteBinding::ForLiveWindow(target, desk);
    EXPECT_EQ(live.WndParent(), target);
    EXPECT_EQ(live.WndParentExeName(), kExe);
    EXPECT_EQ(live.WndParentCaption(), kCaption);
    EXPECT_FALSE(live.ParentBindingPending());
    EXPECT_EQ(live.CaptionText(), u"notepad.exe - Untitled - Notepad");
    EXPECT_EQ(live.NativeWindowOwner(), target);
}

enum class Start { Unbound, Shown, BoundWaiting };
enum class Bound { Target, Unbound };

struct TickCase {
    const char* name;
    Start start;
    void (*change)(FakeDesktop&, WindowId target);
    bool picking;
    Bound bound;
    bool shown;
    bool pending;
    bool foregroundAsked;
    Log log;
};

TEST(NoteBinding, EveryTransitionOfOneTick) {
    const TickCase cases[] = {
        {"exe differing in a-z case binds, placed at corner + 5", Start::Unbound,
         [](FakeDesktop& d, WindowId t) { d[t].exeName = u"NOTEPAD.EXE"; }, false, Bound::Target, true, false, false,
         kFirstShowing},
        {"hidden window", Start::Unbound, [](FakeDesktop& d, WindowId t) { d[t].visible = false; }, false,
         Bound::Unbound, false, true, false, {}},
        {"other program's window", Start::Unbound, [](FakeDesktop& d, WindowId t) { d[t].exeName = u"write.exe"; },
         false, Bound::Unbound, false, true, false, {}},
        {"exe differing in an accented letter's case", Start::Unbound,
         [](FakeDesktop& d, WindowId t) { d[t].exeName = u"NOTEPAD\u00c9.EXE"; }, false, Bound::Unbound, false, true,
         false, {}},
        {"no window", Start::Unbound, [](FakeDesktop& d, WindowId t) { d.Destroy(t); }, false, Bound::Unbound, false,
         true, false, {}},
        {"minimised target binds and waits", Start::Unbound, [](FakeDesktop& d, WindowId t) { d.Minimize(t); }, false,
         Bound::Target, false, true, false, {"recreate"}},
        {"placement says minimised", Start::Unbound, [](FakeDesktop& d, WindowId t) { d[t].placementMinimized = true; }, false,
         Bound::Target, false, true, false, {"recreate"}},
        {"iconic", Start::Unbound, [](FakeDesktop& d, WindowId t) { d[t].iconic = true; }, false, Bound::Target, false,
         true, false, {"recreate"}},
        {"rectangle unreadable", Start::Unbound, [](FakeDesktop& d, WindowId t) { d[t].rect.reset(); }, false,
         Bound::Target, false, true, true, {"recreate"}},
        {"left parked at -10000", Start::Unbound,
         [](FakeDesktop& d, WindowId t) { d[t].rect = ScreenRect{-10000, 0, 100, 100}; }, false, Bound::Target, false,
         true, true, {"recreate"}},
        {"top parked at -10000", Start::Unbound,
         [](FakeDesktop& d, WindowId t) { d[t].rect = ScreenRect{0, -10000, 100, 100}; }, false, Bound::Target, false,
         true, true, {"recreate"}},
        {"-9999 is on screen", Start::Unbound,
         [](FakeDesktop& d, WindowId t) { d[t].rect = ScreenRect{-9999, -9999, 0, 0}; }, false, Bound::Target, true,
         false, false, {"recreate", "create", "place -9994,-9994", "layout", "show"}},
        {"picking suspends binding", Start::Unbound, [](FakeDesktop&, WindowId) {}, true, Bound::Unbound, false, true,
         false, {}},
        {"target destroyed", Start::Shown, [](FakeDesktop& d, WindowId t) { d.Destroy(t); }, false, Bound::Unbound,
         false, false, false, {"hide"}},
        {"target hidden", Start::Shown, [](FakeDesktop& d, WindowId t) { d[t].visible = false; }, false,
         Bound::Unbound, false, false, false, {"hide"}},
        {"caption changed", Start::Shown, [](FakeDesktop& d, WindowId t) { d[t].title = u"a.txt - Notepad"; }, false,
         Bound::Unbound, false, false, false, {"hide"}},
        {"caption changed in an accented letter's case", Start::Shown,
         [](FakeDesktop& d, WindowId t) { d[t].title = u"\u00c9 - Notepad"; }, false, Bound::Unbound, false, false,
         false, {"hide"}},
        {"caption changed in a-z case only", Start::Shown,
         [](FakeDesktop& d, WindowId t) { d[t].title = u"UNTITLED - notepad"; }, false, Bound::Target, true, false,
         false, {}},
        {"caption padded with blanks", Start::Shown,
         [](FakeDesktop& d, WindowId t) { d[t].title = u" Untitled - Notepad\r\n"; }, false, Bound::Target, true,
         false, false, {}},
        {"target minimised: the system hides the note", Start::Shown,
         [](FakeDesktop& d, WindowId t) { d.Minimize(t); }, false, Bound::Target, true, false, false, {}},
        {"target moved: the note stays", Start::Shown,
         [](FakeDesktop& d, WindowId t) { d[t].rect = ScreenRect{0, 0, 50, 50}; }, false, Bound::Target, true, false,
         false, {}},
        {"picking suspends losing", Start::Shown, [](FakeDesktop& d, WindowId t) { d.Destroy(t); }, true,
         Bound::Target, true, false, false, {}},
        {"restored target: first placement", Start::BoundWaiting, [](FakeDesktop& d, WindowId t) { d.Restore(t); },
         false, Bound::Target, true, false, false, {"create", "place 105,205", "layout", "show"}},
        {"still minimised", Start::BoundWaiting, [](FakeDesktop&, WindowId) {}, false, Bound::Target, false, true,
         false, {}},
        {"waiting target destroyed", Start::BoundWaiting, [](FakeDesktop& d, WindowId t) { d.Destroy(t); }, false,
         Bound::Unbound, false, true, false, {"hide"}},
        {"picking suspends showing", Start::BoundWaiting, [](FakeDesktop& d, WindowId t) { d.Restore(t); }, true,
         Bound::Target, false, true, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop desk;
        WindowId target = desk.Open(kCaption, kExe);
        FakeNote note = StoredNote();
        if (c.start == Start::Shown) note.Tick(desk);
        if (c.start == Start::BoundWaiting) {
            desk.Minimize(target);
            note.Tick(desk);
        }
        ASSERT_EQ(note.binding.IsBound(), c.start != Start::Unbound);
        ASSERT_EQ(note.shown, c.start == Start::Shown);
        note.TakeLog();

        c.change(desk, target);
        note.Tick(desk, c.picking);
        EXPECT_EQ(note.binding.WndParent(), c.bound == Bound::Target ? target : kUnboundWindow);
        EXPECT_EQ(note.shown, c.shown);
        EXPECT_EQ(note.binding.ParentBindingPending(), c.pending);
        EXPECT_EQ(!desk.ForegroundRequests().empty(), c.foregroundAsked);
        EXPECT_EQ(note.TakeLog(), c.log);
        if (c.shown) {
            EXPECT_EQ(note.nativeOwner, target);
        }
    }
}

TEST(NoteBinding, TwoNotesWithOneIdentityShowTogetherOnOneWindow) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe);
    FakeNote a = StoredNote();
    FakeNote b = StoredNote(u"Notepad.EXE", kCaption);
    a.Tick(desk);
    b.Tick(desk);
    for (FakeNote* n : {&a, &b}) {
        EXPECT_EQ(n->binding.WndParent(), target);
        EXPECT_TRUE(n->shown);
        EXPECT_EQ(n->nativeOwner, target);
    }
}

TEST(NoteBinding, OnlyTheFirstWindowOfATitleIsExamined) {
    FakeDesktop desk;
    WindowId second = desk.Open(kCaption, kExe);
    WindowId first = desk.Open(kCaption, kExe);
    desk[first].visible = false;
    FakeNote note = StoredNote();
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), kUnboundWindow);
    EXPECT_EQ(desk.exeQueries, 0);  // no process walk without a visible window of the caption

    desk[first].visible = true;
    desk[first].exeName = u"other.exe";
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), kUnboundWindow);

    desk.Destroy(first);
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), second);
    EXPECT_TRUE(note.shown);
}

TEST(NoteBinding, ATargetParkedOffScreenIsBroughtForwardEachTickUntilItIsUsable) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe, {-32000, -32000, -31000, -31000});
    FakeNote note = StoredNote();
    note.Tick(desk);
    note.Tick(desk);
    EXPECT_EQ(desk.ForegroundRequests(), (std::vector<WindowId>{target, target}));
    EXPECT_FALSE(note.shown);
    EXPECT_TRUE(note.binding.ParentBindingPending());

    desk[target].rect = ScreenRect{40, 60, 500, 500};
    note.Tick(desk);
    EXPECT_TRUE(note.shown);
    EXPECT_EQ(note.left, 45);
    EXPECT_EQ(note.top, 65);
    EXPECT_EQ(desk.ForegroundRequests().size(), 2u);
}

TEST(NoteBinding, ANoteComesBackWhereItWasOnceItsFirstPlacementIsDone) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe);
    FakeNote note = StoredNote();
    note.Tick(desk);
    note.left = 400;  // the user dragged it
    note.top = 50;

    desk[target].title = u"a.txt - Notepad";
    note.Tick(desk);
    EXPECT_FALSE(note.shown);
    desk[target].rect = ScreenRect{0, 0, 10, 10};
    desk[target].title = kCaption;
    note.TakeLog();
    note.Tick(desk);
    EXPECT_EQ(note.TakeLog(), (Log{"recreate", "create", "place 400,50", "layout", "show"}));
}

TEST(NoteBinding, ANoteWhoseTargetWasReplacedRebindsInTheSameTick) {
    FakeDesktop desk;
    WindowId old = desk.Open(kCaption, kExe);
    FakeNote note = StoredNote();
    note.Tick(desk);
    desk.Destroy(old);
    WindowId replacement = desk.Open(kCaption, kExe);
    note.TakeLog();
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), replacement);
    EXPECT_EQ(note.TakeLog(), (Log{"hide", "recreate", "create", "place 105,205", "layout", "show"}));
    EXPECT_EQ(note.nativeOwner, replacement);
}

TEST(NoteBinding, ANoteForALiveWindowShowsAtItsOwnPositionWhenTheTickComesFirst) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe);
    FakeNote note(NoteBinding::ForLiveWindow(target, desk));
    note.Tick(desk);
    EXPECT_EQ(note.TakeLog(), (Log{"create", "place 300,40", "layout", "show"}));
}

TEST(NoteBinding, ANoteMovedOntoAPickedWindowTakesItsIdentityAndIsPlacedAtItsCornerByTheNextTick) {
    FakeDesktop desk;
    desk.Open(u"Other - Notepad", kExe);
    WindowId picked = desk.Open(u" Report - WordPad ", u"wordpad.exe", {40, 60, 600, 500});
    FakeNote note(NoteBinding::ForPickedWindow(picked, desk));
    EXPECT_EQ(note.binding.WndParent(), picked);
    EXPECT_EQ(note.binding.CaptionText(), u"wordpad.exe - Report - WordPad");
    note.left = 900, note.top = 900;  // where it stood on its old window
    note.Tick(desk);
    EXPECT_EQ(note.TakeLog(), (Log{"create", "place 45,65", "layout", "show"}));
    EXPECT_EQ(note.nativeOwner, picked);
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), picked) << "it stays";

    // On a monitor at 150 % the offset from the corner is 8 px.
    WindowId scaled = desk.Open(u"Plan - WordPad", u"wordpad.exe", {40, 60, 600, 500});
    desk[scaled].monitorDpi = 144;
    FakeNote onScaled(NoteBinding::ForPickedWindow(scaled, desk));
    onScaled.Tick(desk);
    EXPECT_EQ(onScaled.TakeLog(), (Log{"create", "place 48,68", "layout", "show"}));
}

TEST(NoteBinding, IdentitiesNoWindowCanKeepNeverBind) {
    struct Case {
        const char* name;
        std::u16string storedCaption;
        std::u16string windowTitle;
        bool ownWindow;
    } const cases[] = {
        // The system's title search matches these, the lost-target test would let go at once.
        {"untrimmed stored caption", u"Doc ", u"Doc ", false},
        {"empty caption", u"", u"", false},
        // A record naming one of the program's own windows (All Notes): no pick takes one.
        {"the program's own window", u"All Notes", u"All Notes", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop desk;
        desk[desk.Open(c.windowTitle, kExe)].own = c.ownWindow;
        FakeNote note = StoredNote(kExe, c.storedCaption);
        note.Tick(desk);
        note.Tick(desk);
        EXPECT_EQ(note.binding.WndParent(), kUnboundWindow);
        EXPECT_TRUE(note.TakeLog().empty());
    }
}

TEST(NoteBinding, AClosedNoteNeverBindsAgain) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe);
    FakeNote note = StoredNote();
    note.Tick(desk);
    note.binding.Close();
    EXPECT_EQ(note.binding.WndParent(), kNoWindow);
    EXPECT_EQ(note.binding.NativeWindowOwner(), kNoWindow);
    note.shown = false;
    desk.Destroy(target);
    desk.Open(kCaption, kExe);
    note.TakeLog();
    note.Tick(desk);
    note.Tick(desk);
    EXPECT_EQ(note.binding.WndParent(), kNoWindow);
    EXPECT_TRUE(note.TakeLog().empty());
}

TEST(NoteBinding, ARefusingTargetRaisesOnceAndTheNoteStaysSavableUntilAnotherWindowTakesIt) {
    FakeDesktop desk;
    WindowId elevated = desk.Open(kCaption, kExe);
    FakeNote note = StoredNote();
    note.refusingOwners.insert(elevated);

    EXPECT_THROW(note.Tick(desk), TSNCreateWindowHandleAccessDeniedException);
    EXPECT_EQ(note.binding.WndParent(), elevated);
    EXPECT_TRUE(note.binding.RefusedByTarget());
    EXPECT_TRUE(note.binding.ParentBindingPending());
    EXPECT_FALSE(note.shown);
    // The same window would refuse again; the tick leaves it alone instead of
    // raising a balloon every half second.
    EXPECT_NO_THROW(note.Tick(desk));
    EXPECT_FALSE(note.shown);

    note.CreateNativeWindowForSave();
    EXPECT_TRUE(note.hasNative);
    EXPECT_EQ(note.nativeOwner, kNoWindow);
    EXPECT_NO_THROW(note.Tick(desk));
    EXPECT_FALSE(note.shown);  // never shown without its target as owner

    // Another elevated window of the same identity is a new attempt, and raises anew.
    desk.Destroy(elevated);
    WindowId elevatedAgain = desk.Open(kCaption, kExe);
    note.refusingOwners.insert(elevatedAgain);
    EXPECT_THROW(note.Tick(desk), TSNCreateWindowHandleAccessDeniedException);

    // A window of the same program with ordinary rights gets the note at its corner.
    desk.Destroy(elevatedAgain);
    WindowId plain = desk.Open(kCaption, kExe, {10, 20, 300, 300});
    note.Tick(desk);
    EXPECT_TRUE(note.shown);
    EXPECT_EQ(note.nativeOwner, plain);
    EXPECT_EQ(note.left, 15);
    EXPECT_EQ(note.top, 25);
    EXPECT_FALSE(note.binding.ParentBindingPending());
}

TEST(NoteBinding, ARefusalMetWhileSavingIsRememberedByTheTick) {
    FakeDesktop desk;
    WindowId elevated = desk.Open(kCaption, kExe);
    desk.Minimize(elevated);
    FakeNote note = StoredNote();
    note.refusingOwners.insert(elevated);
    note.Tick(desk);  // binds, waits for the restore
    note.CreateNativeWindowForSave();
    EXPECT_EQ(note.nativeOwner, kNoWindow);
    desk.Restore(elevated);
    EXPECT_NO_THROW(note.Tick(desk));
    EXPECT_FALSE(note.shown);
}

TEST(NoteBinding, OtherCreationFailuresAreRetriedByLaterTicks) {
    FakeDesktop desk;
    WindowId target = desk.Open(kCaption, kExe);
    FakeNote note = StoredNote();
    note.failCreation = true;
    EXPECT_THROW(note.Tick(desk), OSError);
    EXPECT_THROW(note.Tick(desk), OSError);
    EXPECT_EQ(note.binding.WndParent(), target);
    EXPECT_TRUE(note.binding.ParentBindingPending());
    note.failCreation = false;
    note.Tick(desk);
    EXPECT_TRUE(note.shown);
    EXPECT_EQ(note.left, 105);
}

// Seen changes: a tick that settled the note asks again only after a change that
// concerns it, or after the sweep.
struct Watched {
    static constexpr std::uint64_t kSweepMs = 10000;
    std::uint64_t clock = 5000;
    WindowChanges changes;
    Watched() { changes.StartWatching([this] { return clock; }, kSweepMs, {}, 0); }
};

TEST(NoteBinding, AShownNoteLetsGoOfItsTargetOnceAChangeOrTheSweepSaysItMayHaveChanged) {
    enum class Report { None, OtherWindow, Target, All, SweepDue, Ended };
    struct Case {
        const char* name;
        Report report;
        bool hidden;
    } const cases[] = {
        {"nothing seen: the tick asks nothing", Report::None, false},
        {"a change of another window", Report::OtherWindow, false},
        {"a change of the target", Report::Target, true},
        {"everything may have changed", Report::All, true},
        {"nothing seen, but the sweep is due", Report::SweepDue, true},
        {"nothing seen, but the target's program ended", Report::Ended, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop desk;
        Watched w;
        WindowId target = desk.Open(kCaption, kExe);
        WindowId other = desk.Open(u"Other", kExe);
        FakeNote note = StoredNote();
        note.desktop = &desk;
        note.Tick(desk, w.changes);
        ASSERT_TRUE(note.shown);
        note.Tick(desk, w.changes);
        note.TakeLog();

        desk[target].title = u"a.txt - Notepad";
        switch (c.report) {
        case Report::Ended: desk.Destroy(target); break;
        case Report::None: break;
        case Report::OtherWindow: w.changes.WindowChanged(other); break;
        case Report::Target: w.changes.WindowChanged(target); break;
        case Report::All: w.changes.AllChanged(); break;
        case Report::SweepDue: w.clock += Watched::kSweepMs; break;
        }
        w.clock += 500;
        note.Tick(desk, w.changes);
        EXPECT_EQ(note.shown, !c.hidden);
        EXPECT_EQ(note.TakeLog(), c.hidden ? Log{"hide"} : Log{});
    }
}

TEST(NoteBinding, AnUnboundNoteSearchesAgainAfterAChangeOfAnyWindow) {
    FakeDesktop desk;
    Watched w;
    FakeNote note = StoredNote();
    note.Tick(desk, w.changes);
    const int searches = desk.titleSearches;
    WindowId target = desk.Open(kCaption, kExe);
    note.Tick(desk, w.changes);
    EXPECT_EQ(desk.titleSearches, searches);  // nothing seen: no search
    EXPECT_FALSE(note.shown);

    // The window's appearance seen; the note binds and settles on it.
    w.changes.WindowChanged(target);
    note.Tick(desk, w.changes);
    EXPECT_TRUE(note.shown);
    EXPECT_EQ(note.binding.WndParent(), target);

    // Lost on a change, found nothing: settled unbound until the next change.
    desk.Destroy(target);
    w.changes.WindowChanged(target);
    note.Tick(desk, w.changes);
    EXPECT_FALSE(note.shown);
    WindowId again = desk.Open(kCaption, kExe);
    note.Tick(desk, w.changes);
    EXPECT_FALSE(note.shown);
    w.changes.WindowChanged(again);
    note.Tick(desk, w.changes);
    EXPECT_EQ(note.binding.WndParent(), again);
}

TEST(NoteBinding, ANoteNotAsTheLastTickLeftItIsAskedAbout) {
    struct Case {
        const char* name;
        void (*setUp)(FakeDesktop&, WindowId target, FakeNote&);
        void (*change)(FakeDesktop&, WindowId target, FakeNote&);
    } const cases[] = {
        // A minimised or parked target, or room for a window, is waited for tick by tick.
        {"waiting for a minimised target", [](FakeDesktop& d, WindowId t, FakeNote&) { d.Minimize(t); },
         [](FakeDesktop& d, WindowId t, FakeNote&) { d.Restore(t); }},
        {"waiting for a target parked off screen",
         [](FakeDesktop& d, WindowId t, FakeNote&) { d[t].rect = ScreenRect{-32000, -32000, -31000, -31000}; },
         [](FakeDesktop& d, WindowId t, FakeNote&) { d[t].rect = ScreenRect{100, 200, 900, 700}; }},
        {"a window that failed to be made", [](FakeDesktop&, WindowId, FakeNote& n) { n.failCreation = true; },
         [](FakeDesktop&, WindowId, FakeNote& n) { n.failCreation = false; }},
        // The note hidden by someone else than its tick is no longer what the tick left.
        {"the note hidden meanwhile", [](FakeDesktop&, WindowId, FakeNote&) {},
         [](FakeDesktop&, WindowId, FakeNote& n) { n.shown = false; }},
        {"the note's window taken off the screen by the system", [](FakeDesktop&, WindowId, FakeNote&) {},
         [](FakeDesktop&, WindowId, FakeNote& n) { n.windowHidden = true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop desk;
        Watched w;
        WindowId target = desk.Open(kCaption, kExe);
        FakeNote note = StoredNote();
        c.setUp(desk, target, note);
        try {
            note.Tick(desk, w.changes);
        } catch (const OSError&) {
        }
        c.change(desk, target, note);
        note.Tick(desk, w.changes);
        EXPECT_TRUE(note.shown);
        EXPECT_TRUE(note.WindowVisible());
        EXPECT_EQ(note.binding.WndParent(), target);
    }
}

} // namespace
} // namespace vn
