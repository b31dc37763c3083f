// A store save must never lose the store: whatever step fails, and wherever the
// process stops, the next start loads the previous store or the new one, whole.
#include "store/index_file.h"
#include "memory_file_system.h"
#include "store/note_store.h"

#include <gtest/gtest.h>

#include <algorithm>

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

    Outcome LoadFrom(const MemoryFileSystem& disk) {
        MemoryFileSystem fs = disk.Survivor();
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
        void Save() {
            std::vector<StoreNote*> notes = factory.List();
            notes.push_back(&added[0]);
            notes.push_back(&added[1]);
            store.SaveStore(notes);
        }
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
            try {
                session.Save();
            } catch (const Error&) {
            }
            const bool reached = fs.Steps() >= failing;
            // Until its index is in place the new store does not exist; from then
            // on it is the newest complete store, even if the swap failed.
            const auto& log = fs.Log();
            EXPECT_EQ(LoadFrom(fs), NewStoreCompleted(log, failing - 1) ? sc.next : sc.previous)
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
// change, and one after a deletion (which moves the later bodies). A start then
// finds the store of the last save whose index took its name, or the one before.
TEST_F(StoreSafetyTest, APowerCutAtAnyMomentLeavesACompleteStoreOldOrNew) {
    for (const Scenario& sc : scenarios) {
        // The saves once without a cut, for what each leaves.
        auto run = [&](MemoryFileSystem& fs, std::vector<Outcome>* after) {
            Session session(fs, *this);
            session.Save();
            if (after) after->push_back(LoadFrom(fs));
            session.added[0].body = "{\\rtf1 D changed}";
            session.Save();
            if (after) after->push_back(LoadFrom(fs));
            auto& listed = session.factory.listed;
            if (!listed.empty()) listed.erase(listed.begin());
            session.Save();
            if (after) after->push_back(LoadFrom(fs));
        };
        MemoryFileSystem base = sc.base.Survivor();
        base.MakeDurable();
        std::vector<Outcome> stores{sc.previous};
        MemoryFileSystem dry = base.Survivor();
        dry.TrackPowerCuts();
        const int64_t start = dry.Steps();
        run(dry, &stores);
        const std::vector<std::u16string> log(dry.Log().begin() + start, dry.Log().end());
        ASSERT_EQ(stores[1], sc.next) << sc.name;

        for (int64_t n = 0; n <= static_cast<int64_t>(log.size()); ++n) {
            MemoryFileSystem fs = base.Survivor();
            fs.TrackPowerCuts();
            fs.KillAfter(n); // n steps done, the next one cut short
            try {
                run(fs, nullptr);
            } catch (ProcessKilled) {
            }
            // How many saves had put their index in place by step n.
            size_t done = 0;
            for (int64_t i = 0; i < n && i < static_cast<int64_t>(log.size()); ++i)
                if (log[static_cast<size_t>(i)].ends_with(u"Information.new\\Jotlets.txt")) ++done;
            MemoryFileSystem disk = fs.PowerCutSurvivor();
            EXPECT_EQ(LoadFrom(disk), stores[done]) << sc.name << ", power cut after step " << n << " of "
                                                     << log.size() << ": " << EncodeUtf8(log[std::max<int64_t>(n, 1) - 1]);
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

} // namespace
} // namespace vn
