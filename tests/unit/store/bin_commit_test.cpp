// A delete to the recycle bin and a restore from it write the store and the bin
// together: whatever step fails, wherever the process is killed, wherever the
// power goes, the next start finds every note in exactly one of them.
#include "store/bin_commit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "memory_file_system.h"
#include "store/fake_note.h"
#include "store/store_fingerprint.h"

namespace vn {
namespace {

using test::FakeController;
using test::FakeNote;

constexpr int64_t kNow = 1'800'000'000;

// Where a start finds each note, by caption: its description in the store or in the bin.
struct Places {
    std::multimap<std::string, std::string> store, bin;
    bool operator==(const Places&) const = default;
};

void PrintTo(const Places& p, std::ostream* os) {
    for (const auto& [caption, note] : p.store) *os << "\n  store " << note;
    for (const auto& [caption, note] : p.bin) *os << "\n  bin   " << note;
}

std::string Describe(const CapturedNote& n, const std::string& body) {
    return EncodeUtf8(n.exeName + u"|" + n.caption + u"=" + n.ownerLabel + u"|" + n.timeLabel + u"|" + n.checkStates) +
           " :" + body;
}

class BinCommitTest : public ::testing::Test {
protected:
    const std::u16string data = u"C:\\Users\\u\\AppData\\Local\\Vantory Note\\";
    Windows1252CodePage cp;

    // A run of the program: the start, then what the test does with `commit`.
    struct Session {
        Session(MemoryFileSystem& fs, BinCommitTest& t, int64_t now = kNow)
            : store(fs, t.cp, t.data), bin(fs, t.data), commit(store, bin) {
            factory.Load(store);
            try {
                bin.Load();
            } catch (const BinUnreadableError&) {
            }
            commit.SettleAtStart(now);
        }
        size_t Position(const std::u16string& caption) const {
            for (size_t p = 0; p < factory.listed.size(); ++p)
                if (factory.listed[p]->caption == caption) return p;
            ADD_FAILURE() << "no note " << EncodeUtf8(caption);
            return 0;
        }
        // As the controller deletes: the bin gets the note, and the note goes only when that worked.
        SaveOutcome Delete(const std::u16string& caption) {
            const size_t p = Position(caption);
            StoreNote* gone = factory.listed[p];
            BinCommit::Moved moved = commit.MoveToBin(CaptureStore(std::span(&gone, 1)).notes,
                                                      CaptureStore(StoreOrderWithout(factory.List(), {p})), kNow);
            if (moved.outcome.saved) factory.listed.erase(factory.listed.begin() + static_cast<ptrdiff_t>(p));
            return moved.outcome;
        }
        uint64_t BinId(const std::u16string& caption) const {
            for (const BinEntry& e : bin.Entries())
                if (e.InBin() && e.note.caption == caption) return e.id;
            ADD_FAILURE() << "nothing in the bin: " << EncodeUtf8(caption);
            return 0;
        }
        // As the controller restores: a note made from the entry, listed when that worked.
        SaveOutcome Restore(const std::u16string& caption) {
            const uint64_t id = BinId(caption);
            const CapturedNote& e = bin.Find(id)->note;
            auto note = std::make_unique<FakeNote>(e.exeName, e.caption, e.ownerLabel, e.timeLabel, *bin.Body(id));
            note->pending = e.checkStates;
            std::vector<StoreNote*> notes = factory.List();
            notes.push_back(note.get());
            SaveOutcome outcome = commit.Restore({id}, CaptureStore(notes));
            if (outcome.saved) {
                factory.listed.push_back(note.get());
                factory.notes.push_back(std::move(note));
            }
            return outcome;
        }
        SaveOutcome Save() { return commit.Write(CaptureStore(factory.List())); }

        Places Found() {
            Places p;
            for (const FakeNote* n : factory.listed) p.store.emplace(EncodeUtf8(n->caption), n->Describe());
            for (const BinEntry& e : bin.Entries())
                if (e.InBin()) p.bin.emplace(EncodeUtf8(e.note.caption), Describe(e.note, *bin.Body(e.id)));
            return p;
        }

        FakeController factory;
        NoteStore store;
        RecycleBin bin;
        BinCommit commit;
    };

    // What the next start finds; `blocked` is whatever keeps the store's folders from being swapped.
    Places Start(const MemoryFileSystem& disk, const std::function<void(MemoryFileSystem&)>& blocked = {}) {
        MemoryFileSystem fs = disk.Survivor();
        if (blocked) blocked(fs);
        Session s(fs, *this);
        return s.Found();
    }

    // Notes A, B and C in the store and X in the bin, on the disk at rest.
    MemoryFileSystem Base() {
        MemoryFileSystem fs;
        std::vector<FakeNote> notes{{u"a.exe", u"A", u"WS", u"t1", "{\\rtf1 A}", 2, {{1, true}}},
                                    {u"b.exe", u"B|=%", u"WS", u"t2", "{\\rtf1 B}", 1, {{0, true}}},
                                    {u"c.exe", u"C", u"W\u00e9", u"t3", "{\\rtf1 C}"},
                                    {u"x.exe", u"X", u"WS", u"t4", "{\\rtf1 X}", 2, {{0, true}}}};
        NoteStore(fs, cp, data).SaveStore(test::Pointers(notes));
        Session s(fs, *this);
        EXPECT_TRUE(s.Delete(u"X").saved);
        fs.MakeDurable();
        return fs;
    }

    // Every note of the base is in exactly one place, whole.
    void ExpectEachOnce(const Places& p, const Places& base, const std::string& where) {
        std::map<std::string, std::string> all;
        for (const auto& [caption, note] : base.store) all[caption] = note;
        for (const auto& [caption, note] : base.bin) all[caption] = note;
        ASSERT_EQ(p.store.size() + p.bin.size(), all.size()) << where << ::testing::PrintToString(p);
        for (const auto& [caption, note] : all) {
            const size_t inStore = p.store.count(caption), inBin = p.bin.count(caption);
            EXPECT_EQ(inStore + inBin, 1u) << where << ": " << caption << ::testing::PrintToString(p);
            auto found = inStore ? p.store.find(caption) : p.bin.find(caption);
            if (inStore + inBin == 1) EXPECT_EQ(found->second, note) << where;
        }
    }

    // Delete B, restore X, delete A and undo that at once, delete C, then an ordinary save.
    static void Operations(Session& s) {
        s.Delete(u"B|=%");
        s.Restore(u"X");
        s.Delete(u"A");
        s.Restore(u"A");
        s.Delete(u"C");
        s.Save();
    }

    struct Way {
        const char* name;
        std::function<void(MemoryFileSystem&)> blocked; // none: the store's folders are swapped
    };
    std::vector<Way> Ways() const {
        return {{"swapped", {}}, {"in place", [this](MemoryFileSystem& fs) { fs.Hold(data + u"Information"); }}};
    }
};

TEST_F(BinCommitTest, DeleteAndRestoreMoveTheNoteAndSurviveARestart) {
    MemoryFileSystem fs = Base();
    const Places base = Start(fs);
    EXPECT_EQ(base.bin.count("X"), 1u);
    EXPECT_EQ(base.store.size(), 3u);
    Session s(fs, *this);
    Operations(s);
    const Places after = Start(fs);
    ExpectEachOnce(after, base, "after the operations");
    EXPECT_EQ(after.bin.count("B|=%") + after.bin.count("C") + after.store.count("X"), 3u)
        << ::testing::PrintToString(after);
    EXPECT_EQ(s.Found(), after);
    // Nothing is left marked on the disk, and no body file but the bin's entries'.
    RecycleBin onDisk(fs, data);
    onDisk.Load();
    for (const BinEntry& e : onDisk.Entries()) EXPECT_EQ(e.mark, BinMark::None) << EncodeUtf8(e.note.caption);
    EXPECT_EQ(fs.List(data + u"Recycle Bin").size(), 3u); // the index and two bodies
}

TEST_F(BinCommitTest, AProcessKilledAtAnyStepLeavesEachNoteInExactlyOnePlace) {
    for (const Way& way : Ways()) {
        const MemoryFileSystem base = Base();
        const Places before = Start(base);
        for (int64_t n = 0;; ++n) {
            MemoryFileSystem fs = base.Survivor();
            if (way.blocked) way.blocked(fs);
            Session s(fs, *this);
            fs.KillAfter(n);
            bool killed = false;
            try {
                Operations(s);
            } catch (ProcessKilled) {
                killed = true;
            }
            const std::string where = std::string(way.name) + ", killed after step " + std::to_string(n);
            const MemoryFileSystem disk = fs.Survivor();
            const Places found = Start(disk, way.blocked);
            ExpectEachOnce(found, before, where);
            // The start that settles may be killed too; the next one finds the same.
            for (int64_t m = 0;; ++m) {
                MemoryFileSystem again = disk.Survivor();
                again.KillAfter(m);
                bool startKilled = false;
                try {
                    Session start(again, *this);
                } catch (ProcessKilled) {
                    startKilled = true;
                }
                EXPECT_EQ(Start(again, way.blocked), found) << where << ", start killed after step " << m;
                if (!startKilled) break;
            }
            if (!killed) break;
        }
    }
}

TEST_F(BinCommitTest, APowerCutAtAnyMomentLeavesEachNoteInExactlyOnePlace) {
    for (const Way& way : Ways()) {
        const MemoryFileSystem base = Base();
        const Places before = Start(base);
        size_t steps = 0;
        for (int64_t n = 0;; ++n) {
            MemoryFileSystem fs = base.Survivor();
            fs.TrackPowerCuts();
            if (way.blocked) way.blocked(fs);
            Session s(fs, *this);
            fs.KillAfter(n);
            bool cut = false;
            try {
                Operations(s);
            } catch (ProcessKilled) {
                cut = true;
            }
            ExpectEachOnce(Start(fs.PowerCutSurvivor(), way.blocked), before,
                           std::string(way.name) + ", power cut after step " + std::to_string(n));
            if (!cut) break;
            ++steps;
        }
        EXPECT_GT(steps, 20u) << way.name;
    }
}

// A step that fails (the program goes on) either completes the operation or leaves
// everything as it was: the note stays where it was, also after the next save and
// after a restart at any moment in between.
TEST_F(BinCommitTest, AFailingStepCancelsTheOperationOrCompletesIt) {
    struct Case {
        const char* name;
        std::u16string caption;
        std::function<SaveOutcome(Session&)> run;
        bool fromBin; // where the note was before
    };
    const std::vector<Case> cases{{"delete", u"B|=%", [](Session& s) { return s.Delete(u"B|=%"); }, false},
                                  {"restore", u"X", [](Session& s) { return s.Restore(u"X"); }, true}};
    for (const Way& way : Ways()) {
        for (const Case& c : cases) {
            const MemoryFileSystem base = Base();
            const Places before = Start(base);
            const std::string caption = EncodeUtf8(c.caption);
            for (int64_t n = 1;; ++n) {
                MemoryFileSystem fs = base.Survivor();
                if (way.blocked) way.blocked(fs);
                Session s(fs, *this);
                const int64_t failing = fs.Steps() + n;
                fs.FailStep(n);
                const bool done = c.run(s).saved;
                const std::string where = std::string(way.name) + ", " + c.name + ", step " + std::to_string(n) +
                                          " fails" + (done ? " (done)" : " (cancelled)");
                const bool inBin = done != c.fromBin;
                ExpectEachOnce(Start(fs, way.blocked), before, where + ", restart");
                EXPECT_EQ(s.Found().bin.count(caption), inBin ? 1u : 0u) << where;
                fs.ClearFaults();
                if (way.blocked) way.blocked(fs);
                // The next save holds a change, so that its store is not the marked one.
                FakeNote& a = *s.factory.listed[s.Position(u"A")];
                a.body = "{\\rtf1 A edited}";
                Places edited = before;
                edited.store.find("A")->second = a.Describe();
                EXPECT_TRUE(s.Save().saved) << where;
                const Places next = Start(fs, way.blocked);
                ExpectEachOnce(next, edited, where + ", next save");
                EXPECT_EQ(next.bin.count(caption), inBin ? 1u : 0u) << where << ::testing::PrintToString(next);
                EXPECT_EQ(s.Found(), next) << where;
                if (fs.Steps() < failing) break;
            }
        }
    }
}

TEST_F(BinCommitTest, ABinThatCannotBeWrittenCancelsTheDelete) {
    struct Case {
        const char* name;
        std::function<void(MemoryFileSystem&, const std::u16string& bin)> apply;
    };
    const std::vector<Case> cases{
        {"read-only bin folder", [](MemoryFileSystem& fs, const std::u16string& bin) { fs.ReadOnly(bin); }},
        {"bin folder held open", [](MemoryFileSystem& fs, const std::u16string& bin) { fs.Hold(bin + u"\\Deleted.txt"); }},
        {"bin index unreadable", [](MemoryFileSystem& fs, const std::u16string& bin) { fs.Lock(bin + u"\\Deleted.txt"); }},
        {"disk full", [](MemoryFileSystem& fs, const std::u16string&) { fs.Full(); }},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs = Base();
        const Places before = Start(fs);
        c.apply(fs, data + u"Recycle Bin");
        Session s(fs, *this);
        EXPECT_FALSE(s.Delete(u"A").saved) << c.name;
        EXPECT_EQ(s.factory.listed.size(), 3u) << c.name;
        fs.ClearFaults();
        EXPECT_EQ(Start(fs), before) << c.name;
    }
}

TEST_F(BinCommitTest, EntriesOlderThanThirtyDaysGoForGoodAtStart) {
    constexpr int64_t day = 24 * 60 * 60;
    MemoryFileSystem fs = Base(); // X deleted at kNow
    {
        Session s(fs, *this, kNow + day);
        ASSERT_TRUE(s.Delete(u"A").saved); // deleted at kNow too
    }
    // A note deleted 30 days ago to the second stays; one second more and it goes.
    for (const auto& [now, left] : std::vector<std::pair<int64_t, size_t>>{
             {kNow + 30 * day, 2}, {kNow + 30 * day + 1, 0}}) {
        MemoryFileSystem copy = fs.Survivor();
        Session s(copy, *this, now);
        EXPECT_EQ(s.Found().bin.size(), left) << now - kNow;
        EXPECT_EQ(Start(copy).bin.size(), left) << now - kNow;
        EXPECT_EQ(Start(copy).store.size(), 2u);
    }
    // A clock set back keeps everything.
    MemoryFileSystem copy = fs.Survivor();
    Session s(copy, *this, kNow - 365 * day);
    EXPECT_EQ(s.Found().bin.size(), 2u);
}

// The store a delete writes: the last note takes each vacated place.
TEST(StoreOrderWithout, EachNoteThatGoesLeavesItsPlaceToTheLastOne) {
    FakeNote n[5];
    std::vector<StoreNote*> list{&n[0], &n[1], &n[2], &n[3], &n[4]};
    const std::vector<std::pair<std::vector<size_t>, std::vector<StoreNote*>>> cases{
        {{1}, {&n[0], &n[4], &n[2], &n[3]}},
        {{4}, {&n[0], &n[1], &n[2], &n[3]}},
        {{1, 3}, {&n[0], &n[4], &n[2]}},
        {{3, 1, 3}, {&n[0], &n[4], &n[2]}},
        {{3, 4}, {&n[0], &n[1], &n[2]}},
        {{0, 1, 2, 3, 4}, {}},
        {{7}, list},
    };
    for (const auto& [positions, expected] : cases)
        EXPECT_EQ(StoreOrderWithout(list, positions), expected) << ::testing::PrintToString(positions);
}

TEST_F(BinCommitTest, TheFingerprintOfASaveIsTheOneReadFromTheDisk) {
    for (const Way& way : Ways()) {
        MemoryFileSystem fs = Base();
        if (way.blocked) way.blocked(fs);
        Session s(fs, *this);
        s.factory.listed[0]->body = "{\\rtf1 changed}";
        std::vector<uint64_t> told;
        const StoreSnapshot snapshot = CaptureStore(s.factory.List());
        ASSERT_TRUE(s.store.Write(snapshot, [&](uint64_t f) { told.push_back(f); }).saved);
        // Saved in place, the swap was tried first, with a fingerprint of its own.
        ASSERT_EQ(told.size(), way.blocked ? 2u : 1u) << way.name;
        EXPECT_EQ(told.back(), s.store.FingerprintOnDisk()) << way.name;
        // The same index with another body is another store.
        const uint64_t saved = told.back();
        s.factory.listed[0]->body = "{\\rtf1 other}";
        ASSERT_TRUE(s.store.Write(CaptureStore(s.factory.List()), [&](uint64_t f) { told.push_back(f); }).saved);
        EXPECT_NE(told.back(), saved) << way.name;
        EXPECT_EQ(told.back(), s.store.FingerprintOnDisk()) << way.name;
        // A start takes it from what its load read.
        Session next(fs, *this);
        EXPECT_EQ(told.back(), next.store.FingerprintOnDisk()) << way.name << ", after a load";
    }
}

} // namespace
} // namespace vn
