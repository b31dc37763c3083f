// A store save must never lose the store: whatever step fails, and wherever the
// process stops, the next start loads the previous store or the new one, whole.
#include "store/index_file.h"
#include "memory_file_system.h"
#include "store/note_store.h"
#include "store/store_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "store/fake_note.h"

namespace vn {
namespace {

using test::FakeController;
using test::FakeNote;

// What a start finds: the notes it creates and the records it keeps aside.
struct Outcome {
    std::vector<std::string> notes;
    std::vector<std::string> kept;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    for (const auto& n : o.notes) *os << "\n  note " << n;
    for (const auto& k : o.kept) *os << "\n  kept " << k;
}

class StoreSafetyTest : public ::testing::Test {
protected:
    const std::u16string data = u"C:\\Users\\u\\AppData\\Local\\Vantory Note\\";

    // The disk before the run, and what a start finds before and after its save.
    struct Scenario {
        const char* name;
        bool hadStore;
        MemoryFileSystem base;
        Outcome previous, next;
    };

    void SetUp() override {
        scenarios.push_back(Make("previous store", true, false));
        scenarios.push_back(Make("first save", false, false));
        scenarios.push_back(Make("after earlier saves", true, true));
    }

    // With earlier saves, the staging folder holds more body files of an older
    // store than the next one writes, and a stray backup folder is left too.
    Scenario Make(const char* name, bool withStore, bool earlierSaves) {
        Scenario s{name, withStore, {}, {}, {}};
        // The store as a previous run left it, with a record no note can be made of.
        auto put = [&](const std::u16string& rel, const std::string& bytes) {
            s.base.CreateFolders(ParentPath(data + rel));
            s.base.WriteFile(data + rel, bytes);
        };
        if (withStore) {
            put(u"Information\\0.txt", "{\\rtf1 C}");
            put(u"Information\\1.txt", "{\\rtf1 B}");
            put(u"Information\\2.txt", "{\\rtf1 A}");
            put(u"Information\\3.txt", "{\\rtf1 kept}");
            put(u"Information\\Jotlets.txt",
                EncodeIndexFile({u"a.exe|Alpha=WS|t0|Information\\2.txt|01", u"b.exe|Beta=WS|t1|Information\\1.txt|",
                                 u"c.exe|Gamma=WS|t2|Information\\0.txt|1", u"x.exe=WS|t3|Information\\3.txt|1"},
                                cp));
        }
        if (earlierSaves) {
            std::vector<FakeNote> extra{{u"p.exe", u"P", u"WS", u"t", "{\\rtf1 P}"},
                                        {u"q.exe", u"Q", u"WS", u"t", "{\\rtf1 Q}"},
                                        {u"r.exe", u"R", u"WS", u"t", "{\\rtf1 R}"}};
            {
                NoteStore store(s.base, cp, data);
                FakeController factory;
                factory.Load(store);
                std::vector<StoreNote*> notes = factory.List();
                for (FakeNote& n : extra) notes.push_back(&n);
                store.SaveStore(notes);
            }
            NoteStore store(s.base, cp, data);
            FakeController factory;
            factory.Load(store);
            std::vector<StoreNote*> notes = factory.List();
            notes.erase(notes.begin(), notes.begin() + 3);
            store.SaveStore(notes);
            put(u"Information.old\\9.txt", "stray");
            EXPECT_TRUE(s.base.Exists(data + u"Information.new\\6.txt"));
            EXPECT_FALSE(s.base.Exists(data + u"Information.new\\Jotlets.txt"));
        }
        s.base.ClearLog();
        s.previous = LoadFrom(s.base);
        EXPECT_EQ(s.previous.notes.size(), withStore ? 3u : 0u);

        MemoryFileSystem clean = s.base.Survivor();
        Session session(clean, *this);
        session.Save();
        s.next = LoadFrom(clean);
        EXPECT_NE(s.next, s.previous);
        return s;
    }

    // `blocked`: whatever kept the folders from being swapped still does.
    Outcome LoadFrom(const MemoryFileSystem& disk, const std::function<void(MemoryFileSystem&)>& blocked = {}) {
        MemoryFileSystem fs = disk.Survivor();
        if (blocked) blocked(fs);
        FakeController factory;
        NoteStore store(fs, cp, data);
        factory.Load(store);
        Outcome out{factory.Describe(), {}};
        for (const KeptRecord& k : store.KeptRecords())
            out.kept.push_back(EncodeUtf8(k.line.substr(0, k.line.find(u'='))) + " :" + k.body.value_or("-"));
        return out;
    }

    // A run of the program: load, edit one note, add one, then a store save.
    struct Session {
        Session(MemoryFileSystem& fs, StoreSafetyTest& t) : store(fs, t.cp, t.data) {
            factory.Load(store);
            if (factory.listed.size() >= 2) {
                factory.listed[1]->body = "{\\rtf1 B edited}";
                factory.listed[0]->ticks[0] = true;
                factory.listed[0]->pending.clear();
                factory.listed[0]->lines = 2;
            }
            added[0] = FakeNote{u"d.exe", u"Delta", u"WS", u"t4", "{\\rtf1 D}", 1, {{0, true}}};
            added[1] = FakeNote{u"e.exe", u"Epsilon", u"WS", u"t5", "{\\rtf1 E}"};
        }
        std::vector<StoreNote*> Notes() const {
            std::vector<StoreNote*> notes = factory.List();
            notes.push_back(const_cast<FakeNote*>(&added[0]));
            notes.push_back(const_cast<FakeNote*>(&added[1]));
            return notes;
        }
        void Save() { store.SaveStore(Notes()); }
        SaveOutcome Write() { return store.Write(CaptureStore(Notes())); }
        FakeController factory;
        NoteStore store;
        FakeNote added[2];
    };

    // Whether the first `done` steps of a log include putting the new store's
    // index in place: from then on the new store is the one to load.
    bool NewStoreCompleted(const std::vector<std::u16string>& log, int64_t done) const {
        const std::u16string completed =
            u"rename " + data + u"Information.new\\Jotlets.tmp > " + data + u"Information.new\\Jotlets.txt";
        const auto last = log.begin() + std::clamp<int64_t>(done, 0, static_cast<int64_t>(log.size()));
        return std::find(log.begin(), last, completed) != last;
    }

    // How many saves beyond the store the disk held before them a start finds,
    // after the first `done` steps of a log. An index that takes its name in the
    // staging folder puts the save's store on the disk, and its retirement takes
    // it off again; a save is done when its store is in "Information", swapped in
    // or its index replaced there. Failed steps changed nothing.
    size_t StoresAhead(const std::vector<std::u16string>& log, size_t done) const {
        const std::u16string store = data + u"Information", staging = store + u".new";
        const std::u16string staged = u"rename " + staging + u"\\Jotlets.tmp > " + staging + u"\\Jotlets.txt",
                             retired = u"rename " + staging + u"\\Jotlets.txt > " + staging + u"\\retired.del",
                             swapped = u"rename " + staging + u" > " + store,
                             replaced = u"rename " + store + u"\\Jotlets.tmp > " + store + u"\\Jotlets.txt";
        size_t saved = 0;
        bool pending = false;
        for (size_t i = 0; i < std::min(done, log.size()); ++i) {
            if (log[i] == staged) pending = true;
            if (log[i] == retired) pending = false;
            if (log[i] == swapped || log[i] == replaced) {
                ++saved;
                pending = false;
            }
        }
        return saved + (pending ? 1 : 0);
    }

    // What keeps the folder swap from being done while the files of
    // "Information" can still be replaced.
    struct Blocker {
        const char* name;
        std::function<void(MemoryFileSystem&)> apply;
    };
    std::vector<Blocker> Blockers() const {
        return {{"Information held open", [this](MemoryFileSystem& fs) { fs.Hold(data + u"Information"); }},
                {"data folder immutable", [this](MemoryFileSystem& fs) { fs.ReadOnly(data, false); }}};
    }

    Windows1252CodePage cp;
    std::vector<Scenario> scenarios;
};

TEST_F(StoreSafetyTest, AFailingStepKeepsThePreviousStoreUntilTheNewOneIsComplete) {
    for (const Scenario& sc : scenarios) {
        for (int64_t n = 1;; ++n) {
            MemoryFileSystem fs = sc.base.Survivor();
            Session session(fs, *this);
            const int64_t failing = fs.Steps() + n;
            fs.FailStep(n);
            bool saved = true;
            try {
                session.Save();
            } catch (const Error&) {
                saved = false;
            }
            const bool reached = fs.Steps() >= failing;
            // Until its index is in place the new store does not exist; from then
            // on it is the newest complete store, even if the swap failed. A save
            // that could not be staged or swapped in goes into the store folder.
            const auto& log = fs.Log();
            EXPECT_EQ(LoadFrom(fs), saved || NewStoreCompleted(log, failing - 1) ? sc.next : sc.previous)
                << sc.name << ", step " << n << ": " << EncodeUtf8(log[std::min<size_t>(failing, log.size()) - 1]);
            // Whatever the failure left behind, the next save goes through.
            fs.ClearFaults();
            session.Save();
            EXPECT_EQ(LoadFrom(fs), sc.next) << sc.name << ", save after step " << n << " failed";
            if (!reached) break;
        }
    }
}

TEST_F(StoreSafetyTest, AProcessKilledAtAnyStepLeavesACompleteStore) {
    for (const Scenario& sc : scenarios) {
        for (int64_t n = 0;; ++n) {
            MemoryFileSystem fs = sc.base.Survivor();
            Session session(fs, *this);
            fs.KillAfter(n);
            bool killed = false;
            try {
                session.Save();
            } catch (ProcessKilled) {
                killed = true;
            }
            MemoryFileSystem disk = fs.Survivor();
            Outcome found = LoadFrom(disk);
            EXPECT_EQ(found, NewStoreCompleted(fs.Log(), fs.Steps() - 1) ? sc.next : sc.previous)
                << sc.name << ", killed after step " << n;
            if (!killed) {
                EXPECT_EQ(found, sc.next);
                break;
            }
            // The start that repairs an interrupted swap may be killed as well.
            for (int64_t m = 0;; ++m) {
                MemoryFileSystem again = disk.Survivor();
                again.KillAfter(m);
                FakeController factory;
                bool loadKilled = false;
                try {
                    factory.Load(NoteStore(again, cp, data));
                } catch (ProcessKilled) {
                    loadKilled = true;
                }
                EXPECT_EQ(LoadFrom(again), found)
                    << sc.name << ", save killed after step " << n << ", load after step " << m;
                if (!loadKilled) break;
            }
        }
    }
}

// A power cut keeps only what was flushed (MemoryFileSystem::PowerCutSurvivor).
// Cut at every step of three saves in a row: a full one, one after a single
// change, and one after a deletion (which moves the later bodies); swapped in,
// or saved in place where the folders cannot be swapped. A start then finds the
// store of the last save done, or of the next one while that is complete in the
// staging folder (StoresAhead); after the last save, its notes, never the stale
// copy a staging folder held.
TEST_F(StoreSafetyTest, APowerCutAtAnyMomentLeavesACompleteStoreOldOrNew) {
    std::vector<Blocker> ways = Blockers();
    ways.insert(ways.begin(), Blocker{"swapped", {}});
    for (const Blocker& way : ways) {
        const SavePath path = way.apply ? SavePath::InPlace : SavePath::Swapped;
        for (const Scenario& sc : scenarios) {
            if (way.apply && !sc.hadStore) continue;
            const std::string name = std::string(way.name) + ", " + sc.name;
            // The saves once without a cut, for what each leaves.
            auto run = [&](MemoryFileSystem& fs, std::vector<Outcome>* after) {
                Session session(fs, *this);
                if (way.apply) way.apply(fs);
                auto save = [&] {
                    EXPECT_EQ(session.Write().path, path) << name;
                    if (!after) return;
                    // A start finds the notes just saved, last position first.
                    after->push_back(LoadFrom(fs, way.apply));
                    std::vector<std::string> saved;
                    for (StoreNote* note : session.Notes()) saved.insert(saved.begin(), static_cast<FakeNote*>(note)->Describe());
                    EXPECT_EQ(after->back().notes, saved) << name << ", save " << after->size() - 1;
                };
                save();
                session.added[0].body = "{\\rtf1 D changed}";
                save();
                auto& listed = session.factory.listed;
                if (!listed.empty()) listed.erase(listed.begin());
                save();
            };
            MemoryFileSystem base = sc.base.Survivor();
            base.MakeDurable();
            std::vector<Outcome> stores{sc.previous};
            MemoryFileSystem dry = base.Survivor();
            dry.TrackPowerCuts();
            const int64_t start = dry.Steps();
            run(dry, &stores);
            const std::vector<std::u16string> log(dry.Log().begin() + start, dry.Log().end());
            ASSERT_EQ(stores[1], sc.next) << name;
            ASSERT_EQ(StoresAhead(log, log.size()), 3u) << name;

            for (size_t n = 0; n <= log.size(); ++n) {
                MemoryFileSystem fs = base.Survivor();
                fs.TrackPowerCuts();
                fs.KillAfter(static_cast<int64_t>(n)); // n steps done, the next one cut short
                try {
                    run(fs, nullptr);
                } catch (ProcessKilled) {
                }
                const MemoryFileSystem disk = fs.PowerCutSurvivor();
                const Outcome& expected = stores[StoresAhead(log, n)];
                const std::string where = name + ", power cut after step " + std::to_string(n) + " of " +
                                          std::to_string(log.size()) + ": " + EncodeUtf8(log[std::max<size_t>(n, 1) - 1]);
                EXPECT_EQ(LoadFrom(disk), expected) << where;
                if (way.apply) EXPECT_EQ(LoadFrom(disk, way.apply), expected) << where << ", still blocked";
            }
        }
    }
}

TEST_F(StoreSafetyTest, ASwapThatCannotBeUndoneLeavesTheNewStoreToLoad) {
    const Scenario& sc = scenarios[0];
    MemoryFileSystem probe = sc.base.Survivor();
    Session dry(probe, *this);
    const int64_t start = probe.Steps();
    dry.Save();
    const std::u16string swapIn = u"rename " + data + u"Information.new > " + data + u"Information";
    int64_t swapStep = 0;
    for (size_t i = static_cast<size_t>(start); i < probe.Log().size(); ++i)
        if (probe.Log()[i] == swapIn) swapStep = static_cast<int64_t>(i) + 1 - start;
    ASSERT_GT(swapStep, 0);

    MemoryFileSystem fs = sc.base.Survivor();
    Session session(fs, *this);
    fs.FailStep(swapStep);     // the new store cannot move in
    fs.FailStep(swapStep + 1); // and the old one cannot move back
    EXPECT_THROW(session.Save(), Error);
    EXPECT_FALSE(fs.Exists(data + u"Information"));
    EXPECT_EQ(LoadFrom(fs), sc.next);
}

TEST_F(StoreSafetyTest, ANoteWhoseBodyCannotBeReadFailsTheSaveButNotTheStore) {
    const Scenario& sc = scenarios[0];
    MemoryFileSystem fs = sc.base.Survivor();
    Session session(fs, *this);
    session.factory.listed[2]->unreadable = true;
    EXPECT_THROW(session.Save(), Error);
    EXPECT_EQ(LoadFrom(fs), sc.previous);
}

// Where the folders cannot be swapped, a save goes into "Information" itself,
// and a failing step there leaves the previous store or the new one, as ever.
TEST_F(StoreSafetyTest, ASaveInPlaceLeavesTheOldStoreOrTheNewWhateverStepFails) {
    for (const Blocker& blocker : Blockers()) {
        for (const Scenario& sc : scenarios) {
            if (!sc.hadStore) continue;
            for (int64_t n = 1;; ++n) {
                MemoryFileSystem fs = sc.base.Survivor();
                Session session(fs, *this);
                blocker.apply(fs);
                const int64_t start = fs.Steps(), failing = start + n;
                fs.FailStep(n);
                const SaveOutcome outcome = session.Write();
                const std::string where = std::string(blocker.name) + ", " + sc.name + ", step " + std::to_string(n);
                const std::vector<std::u16string> log(fs.Log().end() - (fs.Steps() - start), fs.Log().end());
                const Outcome expected = StoresAhead(log, log.size()) ? sc.next : sc.previous;
                EXPECT_EQ(LoadFrom(fs), expected) << where;
                EXPECT_EQ(LoadFrom(fs, blocker.apply), expected) << where << ", still blocked";
                if (outcome.saved) {
                    EXPECT_EQ(outcome.path, SavePath::InPlace) << where;
                    EXPECT_EQ(expected, sc.next) << where;
                }
                // The next save goes through, still in place.
                fs.ClearFaults();
                blocker.apply(fs);
                EXPECT_EQ(session.Write().path, SavePath::InPlace) << where;
                EXPECT_EQ(LoadFrom(fs, blocker.apply), sc.next) << where << ", next save";
                EXPECT_FALSE(fs.Exists(data + u"Information.new\\Jotlets.txt"))
                    << where << ": a staging folder with an index would come back over the store";
                if (fs.Steps() < failing) break;
            }
        }
    }
}

} // namespace
} // namespace vn
