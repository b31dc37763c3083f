// Store save, load and fill through the engine, on a file system in memory.
#include "attach/identity.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "memory_file_system.h"
#include "store/note_store.h"
#include "store/store_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "store/fake_note.h"

namespace vn {
namespace {

using test::FakeController;
using test::FakeNote;
using test::Pointers;
using Lines = std::vector<std::u16string>;

class NoteStoreTest : public ::testing::Test {
protected:
    const std::u16string data = u"C:\\Users\\u\\AppData\\Local\\Vantory Note\\";

    void Put(const std::u16string& relative, const std::string& bytes) {
        fs.CreateFolders(ParentPath(data + relative));
        fs.WriteFile(data + relative, bytes);
    }
    std::string Bytes(const std::u16string& relative) { return fs.ReadFile(data + relative); }
    Lines Index(const std::u16string& relative = u"Information\\Jotlets.txt") {
        return DecodeIndexFile(Bytes(relative), cp);
    }
    void Save(std::vector<StoreNote*> notes) { store.SaveStore(notes); }
    std::vector<std::u16string> FilesBelowData() {
        std::vector<std::u16string> out;
        for (auto& f : fs.Files()) out.push_back(f.substr(data.size()));
        std::sort(out.begin(), out.end());
        return out;
    }

    MemoryFileSystem fs;
    Windows1252CodePage cp;
    NoteStore store{fs, cp, data};
    std::vector<FakeNote> abc{
        {u"a.exe", u"Alpha", u"WS-01", u"01.02.2020 10:00:00", "{\\rtf1 A}", 2, {{1, true}}},
        {u"b.exe", u"Beta", u"WS-01", u"02.02.2020", "{\\rtf1 B}", 0},
        {u"c.exe", u"Gamma", u"WS-02", u"03.02.2020 11:00:00", "{\\rtf1 C}", 3, {{0, true}, {2, true}}},
    };
};

TEST_F(NoteStoreTest, SaveWritesFromTheHighestPositionAndALoadReversesTheList) {
    Save(Pointers(abc));
    EXPECT_EQ(Index(), (Lines{
                           u"c.exe|Gamma=WS-02|03.02.2020 11:00:00|Information\\2.txt|101",
                           u"b.exe|Beta=WS-01|02.02.2020|Information\\1.txt|",
                           u"a.exe|Alpha=WS-01|01.02.2020 10:00:00|Information\\0.txt|01",
                       }));
    EXPECT_EQ(Bytes(u"Information\\2.txt"), "{\\rtf1 C}");
    EXPECT_EQ(Bytes(u"Information\\0.txt"), "{\\rtf1 A}");
    // Body files are written C, B, A and the index after all of them.
    std::vector<std::u16string> writes;
    for (const auto& step : fs.Log())
        if (step.starts_with(u"write ")) writes.push_back(step.substr(step.find_last_of(u'\\') + 1));
    EXPECT_EQ(writes, (Lines{u"2.txt", u"1.txt", u"0.txt", u"Jotlets.tmp"}));
    EXPECT_EQ(FilesBelowData(), (Lines{u"Information\\0.txt", u"Information\\1.txt", u"Information\\2.txt",
                                       u"Information\\Jotlets.txt"}))
        << "nothing but the store's own files is left";

    FakeController loaded;
    NoteStore restarted(fs, cp, data);
    EXPECT_EQ(loaded.Load(restarted), Index());
    ASSERT_EQ(loaded.listed.size(), 3u);
    EXPECT_EQ(loaded.listed[0]->caption, u"Gamma");
    EXPECT_EQ(loaded.listed[2]->caption, u"Alpha");
    EXPECT_EQ(loaded.listed[0]->pending, u"101");
    EXPECT_EQ(loaded.listed[1]->pending, u"") << "an empty check-state string leaves nothing pending";
    EXPECT_EQ(loaded.listed[2]->Describe(), abc[0].Describe());

    restarted.SaveStore(loaded.List());
    EXPECT_EQ(Bytes(u"Information\\2.txt"), "{\\rtf1 A}");
    EXPECT_EQ(Bytes(u"Information\\0.txt"), "{\\rtf1 C}");
    EXPECT_EQ(Index()[0], u"a.exe|Alpha=WS-01|01.02.2020 10:00:00|Information\\2.txt|01")
        << "states still pending are written as they were read";
}

TEST_F(NoteStoreTest, ALaterSaveReusesTheOldFilesAndLeavesNoStaleOnes) {
    Save(Pointers(abc));
    Save(Pointers(abc));
    fs.ClearLog();
    Save({&abc[1]});
    EXPECT_EQ(Index(), (Lines{u"b.exe|Beta=WS-01|02.02.2020|Information\\0.txt|"}));
    EXPECT_EQ(Bytes(u"Information\\0.txt"), "{\\rtf1 B}");
    // The store holds no body file of the old one; the staging folder holds the
    // old store's bodies for the next save to overwrite, and never an index.
    EXPECT_EQ(FilesBelowData(), (Lines{u"Information.new\\0.txt", u"Information.new\\1.txt", u"Information.new\\2.txt",
                                       u"Information\\0.txt", u"Information\\Jotlets.txt"}));
    for (const auto& step : fs.Log()) EXPECT_FALSE(step.starts_with(u"mkdir")) << EncodeUtf8(step);
}

TEST_F(NoteStoreTest, AStoreWithoutNotesIsAZeroByteIndex) {
    Save({});
    EXPECT_EQ(FilesBelowData(), (Lines{u"Information\\Jotlets.txt"}));
    EXPECT_EQ(Bytes(u"Information\\Jotlets.txt"), "");
}

TEST_F(NoteStoreTest, NoStoreLoadsNothingAndWritesNothing) {
    FakeController factory;
    EXPECT_TRUE(factory.Load(store).empty());
    EXPECT_TRUE(factory.notes.empty());
    EXPECT_TRUE(fs.Log().empty());
}

TEST_F(NoteStoreTest, RecordsThatCannotBecomeNotesSurviveTheNextSave) {
    const std::string unloadable = std::string(test::kUnloadableBody) + " damaged";
    Put(u"Information\\0.txt", "{\\rtf1 good}");
    Put(u"Information\\1.txt", "{\\rtf1 empty caption}");
    Put(u"Information\\2.txt", "{\\rtf1 one item}");
    Put(u"Information\\3.txt", unloadable);
    Put(u"Temp Export\\5.txt", "{\\rtf1 imported}");
    const Lines stored = {
        u"a.exe|Good one=WS|t1|Information\\0.txt|10",
        u"b.exe|=WS|t2|Information\\1.txt|1",          // empty caption: name part of one item
        u"c.exe=WS|t3|Information\\2.txt|",            // one item
        u"d.exe|Missing body=WS|t4|Information\\7.txt|1",
        u"e.exe|Short=WS|t5",                          // no body file field
        u"f.exe|Rejected=WS|t6|Information\\3.txt|",   // the note refuses the body
        u"",
        u"g.exe|Elsewhere=WS|t7|Temp Export\\5.txt|",  // a body outside the store is not read
        u"h.exe|Lost import=WS|t8|Temp Export\\6.txt|",
    };
    Put(u"Information\\Jotlets.txt", EncodeIndexFile(stored, cp));

    FakeController factory;
    EXPECT_EQ(factory.Load(store), stored);
    ASSERT_EQ(factory.listed.size(), 1u) << "the bad records do not end the load";
    EXPECT_EQ(factory.listed[0]->caption, u"Good one");
    EXPECT_EQ(factory.discarded, 1) << "the note that refused its body is destroyed, not listed";
    EXPECT_EQ(store.KeptRecords().size(), 8u);

    Save(factory.List());
    const Lines expected = {
        u"a.exe|Good one=WS|t1|Information\\0.txt|10",
        u"b.exe|=WS|t2|Information\\1.txt|1",
        u"c.exe=WS|t3|Information\\2.txt|",
        u"d.exe|Missing body=WS|t4|Information\\3.txt|1",
        u"e.exe|Short=WS|t5",
        u"f.exe|Rejected=WS|t6|Information\\4.txt|",
        u"",
        u"g.exe|Elsewhere=WS|t7|Temp Export\\5.txt|",
        u"h.exe|Lost import=WS|t8|Temp Export\\6.txt|",
    };
    EXPECT_EQ(Index(), expected);
    EXPECT_EQ(Bytes(u"Information\\1.txt"), "{\\rtf1 empty caption}");
    EXPECT_EQ(Bytes(u"Information\\2.txt"), "{\\rtf1 one item}");
    EXPECT_EQ(Bytes(u"Information\\4.txt"), unloadable);
    EXPECT_FALSE(fs.Exists(data + u"Information\\3.txt")) << "a missing body gets a number no file has";

    FakeController again;
    NoteStore restarted(fs, cp, data);
    again.Load(restarted);
    EXPECT_EQ(again.listed.size(), 1u);
    restarted.SaveStore(again.List());
    EXPECT_EQ(Index(), expected) << "the kept records keep their place and their numbers";
}

TEST_F(NoteStoreTest, CaptionsAndLabelsOfAnyKindComeBackAfterARestart) {
    std::vector<FakeNote> notes{
        {u"browser.exe", u"search?q=x - Browser", u"WS-01", u"t", "{\\rtf1 query}", 1, {{0, true}}},
        {u"browser.exe", u"News | Site - Browser", u"WS-01", u"t", "{\\rtf1 news}"},
        {u"editor.exe", u"'Quoted' \"title\" =|= - Editor", u"HALL'B", u"it's \"noon\"", "{\\rtf1 quotes}", 2},
        {u"x.exe", u"|", u"", u"", "{\\rtf1 empty labels}"},
    };
    Save(Pointers(notes));
    EXPECT_EQ(Index()[3], u"browser.exe|search?q=x - Browser=WS-01|t|Information\\0.txt|1")
        << "an ordinary writer's bytes";
    FakeController loaded;
    EXPECT_EQ(loaded.Load(NoteStore(fs, cp, data)).size(), 4u);
    ASSERT_EQ(loaded.listed.size(), 4u);
    EXPECT_TRUE(NoteStore(fs, cp, data).KeptRecords().empty());
    for (size_t i = 0; i < notes.size(); ++i)
        EXPECT_EQ(loaded.listed[notes.size() - 1 - i]->Describe(), notes[i].Describe());
}

TEST_F(NoteStoreTest, ABodyFieldOutsideTheStoreFolderIsNeverRead) {
    Put(u"..\\secret.txt", "{\\rtf1 secret}");
    Put(u"Information\\0.txt", "{\\rtf1 own}");
    const Lines stored = {
        u"a.exe|Own=WS|t|Information\\0.txt|",
        u"b.exe|Climbs=WS|t|..\\secret.txt|",
        u"c.exe|Climbs in=WS|t|Information\\..\\..\\secret.txt|",
        u"d.exe|Absolute=WS|t|C:\\Users\\u\\AppData\\Local\\secret.txt|",
        u"e.exe|Share=WS|t|\\\\server\\share\\secret.txt|",
    };
    Put(u"Information\\Jotlets.txt", EncodeIndexFile(stored, cp));
    FakeController loaded;
    loaded.Load(store);
    ASSERT_EQ(loaded.listed.size(), 1u);
    EXPECT_EQ(loaded.listed[0]->body, "{\\rtf1 own}");
    for (const KeptRecord& kept : store.KeptRecords()) EXPECT_FALSE(kept.body) << EncodeUtf8(kept.line);

    Save(loaded.List());
    EXPECT_EQ(Index(), stored) << "the records are kept as they were, unread";
    for (const auto& name : fs.List(data + u"Information"))
        if (name != u"Jotlets.txt") EXPECT_EQ(Bytes(u"Information\\" + name).find("secret"), std::string::npos) << EncodeUtf8(name);
}

TEST_F(NoteStoreTest, ACaptionInAnotherScriptStillMatchesItsWindowAfterARestart) {
    std::vector<FakeNote> notes{{u"editor.exe", u"\u041e\u0442\u0447\u0451\u0442 - Editor", u"WS-01", u"t", "{\\rtf1 x}"}};
    Save(Pointers(notes));
    EXPECT_TRUE(Bytes(u"Information\\Jotlets.txt").starts_with("\xEF\xBB\xBF"));
    FakeController factory;
    factory.Load(NoteStore(fs, cp, data));
    ASSERT_EQ(factory.listed.size(), 1u);
    EXPECT_EQ(factory.listed[0]->caption, notes[0].caption);
}

// A caption (or label) with a line break would end its record line early and
// leave two broken records: it is stored on one line, and the note still knows
// its window by it.
TEST_F(NoteStoreTest, ACaptionOnSeveralLinesIsStoredOnOneLine) {
    std::vector<FakeNote> notes{
        {u"a.exe", u"Report\r\nDraft - Editor", u"WS", u"t", "{\\rtf1 a}", 1, {{0, true}}},
        {u"b.exe", u"one\rtwo", u"W\nS", u"12:00\r\n", "{\\rtf1 b}"},
        {u"c.exe", u"Plain", u"WS", u"t", "{\\rtf1 c}"},
    };
    Save(Pointers(notes));
    EXPECT_EQ(Index(), (Lines{u"c.exe|Plain=WS|t|Information\\2.txt|", u"b.exe|one two=W S|12:00  |Information\\1.txt|",
                              u"a.exe|Report  Draft - Editor=WS|t|Information\\0.txt|1"}));
    FakeController loaded;
    NoteStore restarted(fs, cp, data);
    loaded.Load(restarted);
    ASSERT_EQ(loaded.listed.size(), 3u);
    EXPECT_TRUE(restarted.KeptRecords().empty());
    for (size_t i = 0; i < notes.size(); ++i) {
        const FakeNote& back = *loaded.listed[notes.size() - 1 - i];
        EXPECT_TRUE(IdentityTextEquals(back.caption, notes[i].caption)) << EncodeUtf8(back.caption);
        EXPECT_EQ(back.body, notes[i].body);
    }
}

// The capture takes every note as it is; the write needs none of them, and a
// change after the capture goes to the disk with the next save, whole.
TEST_F(NoteStoreTest, ASnapshotHoldsTheNotesAsTheyWereWhenCaptured) {
    auto notes = std::make_unique<std::vector<FakeNote>>(abc);
    const StoreSnapshot first = CaptureStore(Pointers(*notes));
    (*notes)[1].body = "{\\rtf1 B typed after the capture}";
    (*notes)[1].owner = u"WS-02";
    std::vector<FakeNote> later = *notes;
    notes.reset(); // the notes may even be gone by the time the writer runs

    ASSERT_TRUE(store.Write(first).saved);
    EXPECT_EQ(Index()[1], u"b.exe|Beta=WS-01|02.02.2020|Information\\1.txt|");
    EXPECT_EQ(Bytes(u"Information\\1.txt"), "{\\rtf1 B}");
    ASSERT_TRUE(store.Write(CaptureStore(Pointers(later))).saved);
    EXPECT_EQ(Index()[1], u"b.exe|Beta=WS-02|02.02.2020|Information\\1.txt|");
    EXPECT_EQ(Bytes(u"Information\\1.txt"), "{\\rtf1 B typed after the capture}");
}

TEST_F(NoteStoreTest, LoadTakesTheCompleteStoreAnInterruptedSwapLeftBehind) {
    const Lines record = {u"a.exe|Alpha=WS|t|Information\\0.txt|1"};
    struct Case {
        const char* name;
        std::vector<std::pair<std::u16string, std::string>> files;
        std::string body;
    } cases[] = {
        {"stopped between the two renames",
         {{u"Information.new\\0.txt", "new"}, {u"Information.new\\Jotlets.txt", EncodeIndexFile(record, cp)},
          {u"Information.old\\0.txt", "old"}, {u"Information.old\\Jotlets.txt", EncodeIndexFile(record, cp)}},
         "new"},
        {"swap failed, new store complete beside the old one",
         {{u"Information\\0.txt", "old"}, {u"Information\\Jotlets.txt", EncodeIndexFile(record, cp)},
          {u"Information.new\\0.txt", "new"}, {u"Information.new\\Jotlets.txt", EncodeIndexFile(record, cp)}},
         "new"},
        {"swap undone only half",
         {{u"Information\\0.txt", "stray"},
          {u"Information.new\\0.txt", "new"},
          {u"Information.old\\0.txt", "old"}, {u"Information.old\\Jotlets.txt", EncodeIndexFile(record, cp)}},
         "old"},
    };
    for (const auto& c : cases) {
        fs = MemoryFileSystem();
        for (const auto& [path, bytes] : c.files) Put(path, bytes);
        FakeController factory;
        factory.Load(NoteStore(fs, cp, data));
        ASSERT_EQ(factory.listed.size(), 1u) << c.name;
        EXPECT_EQ(factory.listed[0]->body, c.body) << c.name;
        EXPECT_EQ(Bytes(u"Information\\0.txt"), c.body) << c.name << ": the store is put back in its folder";
    }
}

TEST_F(NoteStoreTest, AnIndexThatCannotBeReadIsNeverReplaced) {
    Save({&abc[0]});
    const std::u16string index = data + u"Information\\Jotlets.txt";
    fs.Lock(index);
    FakeController factory;
    NoteStore restarted(fs, cp, data);
    EXPECT_THROW(factory.Load(restarted), Error);

    FakeNote fresh{u"z.exe", u"Zeta", u"WS", u"t", "{\\rtf1 Z}"};
    EXPECT_THROW(restarted.SaveStore(std::vector<StoreNote*>{&fresh}), Error);
    fs.Lock(index, false);
    EXPECT_EQ(Index(), (Lines{u"a.exe|Alpha=WS-01|01.02.2020 10:00:00|Information\\0.txt|01"}));

    // Readable again: the save keeps the records it never loaded, beside the new note.
    restarted.SaveStore(std::vector<StoreNote*>{&fresh});
    EXPECT_EQ(Index(), (Lines{u"z.exe|Zeta=WS|t|Information\\0.txt|",
                              u"a.exe|Alpha=WS-01|01.02.2020 10:00:00|Information\\1.txt|01"}));
    EXPECT_EQ(Bytes(u"Information\\1.txt"), "{\\rtf1 A}");
}

// What a save did to body files and the index: "write 3.txt", "rename 4.txt > 3.txt".
class IncrementalSaveTest : public NoteStoreTest {
protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i)
            notes.push_back({u"n.exe", u"Note " + DecimalText(i), u"WS", u"t", "{\\rtf1 body " + std::to_string(i) + "}", 1});
    }
    Lines FileSteps() const {
        Lines steps;
        for (const auto& step : fs.Log()) {
            if (step.starts_with(u"write ")) steps.push_back(u"write " + step.substr(step.find_last_of(u'\\') + 1));
            if (step.starts_with(u"rename ") && step.ends_with(u".txt") && !step.ends_with(u"Jotlets.txt")) {
                size_t arrow = step.find(u" > ");
                std::u16string from = step.substr(0, arrow), to = step.substr(arrow + 3);
                steps.push_back(u"rename " + from.substr(from.find_last_of(u'\\') + 1) + u" > " +
                                to.substr(to.find_last_of(u'\\') + 1));
            }
        }
        return steps;
    }
    // The store folder a full save of the same notes leaves on a fresh disk.
    void ExpectSameAsAFullSave() {
        MemoryFileSystem other;
        NoteStore(other, cp, data).SaveStore(Pointers(notes));
        Lines names = fs.List(data + u"Information"), expected = other.List(data + u"Information");
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(names, expected);
        for (const auto& name : names)
            EXPECT_EQ(Bytes(u"Information\\" + name), other.ReadFile(data + u"Information\\" + name)) << EncodeUtf8(name);
    }
    std::vector<FakeNote> notes;
};

TEST_F(IncrementalSaveTest, ASaveAfterOneChangeWritesThatBodyAndTheIndexOnly) {
    Save(Pointers(notes));
    Save(Pointers(notes));
    notes[3].body = "{\\rtf1 changed}";
    fs.ClearLog();
    Save(Pointers(notes));
    EXPECT_EQ(FileSteps(), (Lines{u"write 3.txt", u"write Jotlets.tmp"}));
    ExpectSameAsAFullSave();
    // The staging folder is one save behind: it lacks the same change.
    fs.ClearLog();
    Save(Pointers(notes));
    EXPECT_EQ(FileSteps(), (Lines{u"write 3.txt", u"write Jotlets.tmp"}));
    ExpectSameAsAFullSave();

    // After a restart the list is reversed: the next two saves move every body by
    // renames (the first reads what the staging folder holds), the third writes
    // only the change again.
    FakeController loaded;
    NoteStore restarted(fs, cp, data);
    loaded.Load(restarted);
    for (int save = 0; save < 2; ++save) {
        fs.ClearLog();
        restarted.SaveStore(loaded.List());
        for (const auto& step : FileSteps()) EXPECT_FALSE(step.starts_with(u"write ") && step != u"write Jotlets.tmp")
            << EncodeUtf8(step);
        notes.assign(loaded.listed.size(), FakeNote());
        for (size_t i = 0; i < notes.size(); ++i) notes[i] = *loaded.listed[i];
        ExpectSameAsAFullSave();
    }
    loaded.listed[0]->body = "{\\rtf1 changed again}";
    fs.ClearLog();
    restarted.SaveStore(loaded.List());
    EXPECT_EQ(FileSteps(), (Lines{u"write 0.txt", u"write Jotlets.tmp"}));
}

// A save in place writes only the bodies "Information" lacks, under names no
// file there has, and leaves no file the index does not name; the next swapped
// save names the bodies by position again.
TEST_F(IncrementalSaveTest, ASaveInPlaceWritesOnlyWhatChanged) {
    Save(Pointers(notes));
    Save(Pointers(notes));
    fs.Hold(data + u"Information");
    notes[3].body = "{\\rtf1 changed}";
    fs.ClearLog();
    EXPECT_EQ(store.Write(CaptureStore(Pointers(notes))).path, SavePath::InPlace);
    Lines inPlace;
    for (const auto& step : fs.Log())
        if (step.starts_with(u"write " + data + u"Information\\")) inPlace.push_back(step.substr(step.find_last_of(u'\\') + 1));
    EXPECT_EQ(inPlace, (Lines{u"10.txt", u"Jotlets.tmp"}));
    EXPECT_EQ(Index()[6], u"n.exe|Note 3=WS|t|Information\\10.txt|0");
    Lines files = fs.List(data + u"Information");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Lines{u"0.txt", u"1.txt", u"10.txt", u"2.txt", u"4.txt", u"5.txt", u"6.txt", u"7.txt", u"8.txt",
                            u"9.txt", u"Jotlets.txt"}));

    notes[4].body = "{\\rtf1 changed too}";
    fs.ClearLog();
    EXPECT_EQ(store.Write(CaptureStore(Pointers(notes))).path, SavePath::InPlace);
    EXPECT_EQ(Index()[5], u"n.exe|Note 4=WS|t|Information\\3.txt|0") << "the lowest free number";

    fs.Hold(data + u"Information", false);
    EXPECT_EQ(store.Write(CaptureStore(Pointers(notes))).path, SavePath::Swapped);
    ExpectSameAsAFullSave();
}

TEST_F(IncrementalSaveTest, DeletingANoteMovesTheLaterBodiesByRenames) {
    Save(Pointers(notes));
    Save(Pointers(notes));
    notes.erase(notes.begin() + 7);
    fs.ClearLog();
    Save(Pointers(notes));
    EXPECT_EQ(FileSteps(), (Lines{u"rename 8.txt > 7.txt", u"rename 9.txt > 8.txt", u"write Jotlets.tmp"}));
    ExpectSameAsAFullSave();
    fs.ClearLog();
    Save(Pointers(notes));
    EXPECT_EQ(FileSteps(), (Lines{u"rename 8.txt > 7.txt", u"rename 9.txt > 8.txt", u"write Jotlets.tmp"}));
    ExpectSameAsAFullSave();
}

// A record whose body cannot be read is written back with a body file name that
// no file has, never the name of a file an older store left in the staging folder.
TEST_F(NoteStoreTest, ARecordWithoutItsBodyNeverTakesAnotherNotesText) {
    for (bool unlockedBeforeTheSave : {false, true}) {
        fs = MemoryFileSystem();
        for (int i = 0; i < 4; ++i) Put(u"Information.new\\" + DecimalText(i) + u".txt", "{\\rtf1 stale}");
        Put(u"Information\\0.txt", "{\\rtf1 A}");
        Put(u"Information\\1.txt", "{\\rtf1 B}");
        Put(u"Information\\Jotlets.txt", EncodeIndexFile({u"a.exe|A=WS|t|Information\\0.txt|",
                                                          u"b.exe|Locked=WS|t|Information\\1.txt|",
                                                          u"c.exe|Missing=WS|t|Information\\5.txt|"},
                                                         cp));
        fs.Lock(data + u"Information\\1.txt");
        FakeController first;
        NoteStore store(fs, cp, data);
        first.Load(store);
        ASSERT_EQ(first.listed.size(), 1u);
        if (unlockedBeforeTheSave) fs.Lock(data + u"Information\\1.txt", false);
        store.SaveStore(first.List());
        store.SaveStore(first.List());
        fs.ClearFaults();

        FakeController restarted;
        NoteStore again(fs, cp, data);
        restarted.Load(again);
        Lines bodies;
        for (const FakeNote* note : restarted.listed) bodies.push_back(note->caption + u": " + DecodeUtf8(note->body));
        for (const KeptRecord& kept : again.KeptRecords())
            if (kept.body) bodies.push_back(kept.line.substr(0, kept.line.find(u'=')) + u": " + DecodeUtf8(*kept.body));
        std::sort(bodies.begin(), bodies.end());
        if (unlockedBeforeTheSave) {
            EXPECT_EQ(bodies, (Lines{u"A: {\\rtf1 A}", u"Locked: {\\rtf1 B}"})) << "read when the save came";
        } else {
            EXPECT_EQ(bodies, (Lines{u"A: {\\rtf1 A}"}));
        }
    }
}

} // namespace
} // namespace vn
