// A save that cannot be done says why, in words a person can act on, and leaves
// the store as it was; the texts that tell it; an index that could not be read
// at the start, read later.
#include "memory_file_system.h"
#include "store/index_file.h"
#include "store/note_store.h"
#include "store/save_texts.h"
#include "store/store_snapshot.h"

#include <gtest/gtest.h>

#include <functional>

#include "store/fake_note.h"

namespace vn {
namespace {

using test::FakeController;
using test::FakeNote;
using Lines = std::vector<std::u16string>;

class SaveFailureTest : public ::testing::Test {
protected:
    const std::u16string data = u"C:\\Users\\u\\AppData\\Local\\Vantory Note\\";
    const std::u16string index = data + u"Information\\Jotlets.txt";

    std::vector<std::string> Captions(MemoryFileSystem disk) {
        FakeController factory;
        factory.Load(NoteStore(disk, cp, data));
        std::vector<std::string> out;
        for (const FakeNote* note : factory.listed) out.push_back(EncodeUtf8(note->caption) + ": " + note->body);
        return out;
    }

    MemoryFileSystem fs;
    Windows1252CodePage cp;
};

TEST_F(SaveFailureTest, EachCauseIsToldAndTheStoreStaysAsItWas) {
    struct Case {
        const char* name;
        std::function<void(MemoryFileSystem&)> cause;
        bool beforeTheStart; // the start cannot read the index either
        SaveFailure reason;
    } const cases[] = {
        {"Information and its index held by another program",
         [&](MemoryFileSystem& f) {
             f.Hold(data + u"Information");
             f.Hold(index);
         },
         false, SaveFailure::InUse},
        {"disk full", [](MemoryFileSystem& f) { f.Full(); }, false, SaveFailure::DiskFull},
        {"data folder read-only", [&](MemoryFileSystem& f) { f.ReadOnly(data); }, false, SaveFailure::ReadOnly},
        {"a device error at every step",
         [](MemoryFileSystem& f) {
             for (int64_t n = 1; n < 100; ++n) f.FailStep(n);
         },
         false, SaveFailure::Other},
        {"index locked since the start", [&](MemoryFileSystem& f) { f.Lock(index); }, true,
         SaveFailure::IndexUnreadable},
    };
    for (const Case& c : cases) {
        fs = MemoryFileSystem();
        std::vector<FakeNote> first{{u"a.exe", u"Alpha", u"WS", u"t", "{\\rtf1 A}"},
                                    {u"b.exe", u"Beta", u"WS", u"t", "{\\rtf1 B}"}};
        NoteStore(fs, cp, data).SaveStore(test::Pointers(first));
        NoteStore(fs, cp, data).SaveStore(test::Pointers(first)); // a staging folder as well
        const std::vector<std::string> before = Captions(fs.Survivor());

        if (c.beforeTheStart) c.cause(fs);
        NoteStore store(fs, cp, data);
        FakeController factory;
        if (c.beforeTheStart) {
            EXPECT_THROW(factory.Load(store), IndexUnreadableError) << c.name;
        } else {
            factory.Load(store);
            c.cause(fs);
        }
        FakeNote added{u"z.exe", u"Zeta", u"WS", u"t", "{\\rtf1 Z}"};
        std::vector<StoreNote*> notes = factory.List();
        notes.push_back(&added);

        const SaveOutcome failed = store.Write(CaptureStore(notes));
        EXPECT_FALSE(failed.saved) << c.name;
        EXPECT_EQ(failed.reason, c.reason) << c.name << ": " << failed.detail;
        EXPECT_EQ(Captions(fs.Survivor()), before) << c.name;

        fs.ClearFaults();
        EXPECT_TRUE(store.Write(CaptureStore(notes)).saved) << c.name;
        EXPECT_EQ(Captions(fs.Survivor()).front(), "Zeta: {\\rtf1 Z}") << c.name;
    }
}

// The index is read when it can be, its notes come in beside the ones made
// meanwhile, and no save writes over it before: whether a save or the retry
// reads it first.
TEST_F(SaveFailureTest, AnIndexReadLateBringsItsNotesBesideTheNewOnes) {
    for (bool saveReadsItFirst : {false, true}) {
        fs = MemoryFileSystem();
        fs.CreateFolders(data + u"Information");
        fs.WriteFile(data + u"Information\\0.txt", "{\\rtf1 A}");
        fs.WriteFile(data + u"Information\\1.txt", std::string(test::kUnloadableBody));
        fs.WriteFile(data + u"Information\\2.txt", "{\\rtf1 B}");
        const std::string stored = EncodeIndexFile({u"a.exe|Alpha=WS|t|Information\\0.txt|1",
                                                    u"r.exe|Refused=WS|t|Information\\1.txt|",
                                                    u"b.exe|Beta=WS|t|Information\\2.txt|"},
                                                   cp);
        fs.WriteFile(index, stored);
        fs.Lock(index);

        NoteStore store(fs, cp, data);
        FakeController factory;
        EXPECT_THROW(factory.Load(store), IndexUnreadableError);
        EXPECT_TRUE(store.IndexUnread());
        FakeNote meanwhile{u"z.exe", u"Zeta", u"WS", u"t", "{\\rtf1 Z}"};
        factory.listed.push_back(&meanwhile);
        EXPECT_EQ(store.Write(CaptureStore(factory.List())).reason, SaveFailure::IndexUnreadable);
        EXPECT_FALSE(store.RetryUnreadIndex());
        fs.Lock(index, false);
        EXPECT_EQ(fs.ReadFile(index), stored) << "never written over while unread";

        if (saveReadsItFirst) {
            // Until notes take them, its records go back as they came.
            ASSERT_TRUE(store.Write(CaptureStore(factory.List())).saved);
            EXPECT_EQ(DecodeIndexFile(fs.ReadFile(index), cp),
                      (Lines{u"z.exe|Zeta=WS|t|Information\\0.txt|", u"a.exe|Alpha=WS|t|Information\\1.txt|1",
                             u"r.exe|Refused=WS|t|Information\\2.txt|", u"b.exe|Beta=WS|t|Information\\3.txt|"}));
        }
        std::optional<LoadedStore> late = store.RetryUnreadIndex();
        ASSERT_TRUE(late) << saveReadsItFirst;
        EXPECT_EQ(late->notes.size(), 3u);
        factory.AddLate(store, *late);
        EXPECT_FALSE(store.RetryUnreadIndex()) << "handed out once";
        ASSERT_TRUE(store.Write(CaptureStore(factory.List())).saved);

        FakeController restarted;
        NoteStore again(fs, cp, data);
        restarted.Load(again);
        std::vector<std::u16string> captions;
        for (const FakeNote* note : restarted.listed) captions.push_back(note->caption);
        EXPECT_EQ(captions, (Lines{u"Beta", u"Alpha", u"Zeta"})) << saveReadsItFirst;
        ASSERT_EQ(again.KeptRecords().size(), 1u) << "the refused record stays, once";
        EXPECT_TRUE(again.KeptRecords()[0].line.starts_with(u"r.exe|Refused="));
    }
}

TEST(SaveTexts, TheWarningAndTheQuestionNameTheReasonInPlainWords) {
    EXPECT_EQ(CannotSaveText(SaveFailure::InUse),
              u"Vantory Note cannot save your notes right now: the folder is in use by another program. "
              u"They are kept, and saved as soon as it can.");
    EXPECT_EQ(UnsavedAtQuitText(SaveFailure::DiskFull), u"Your latest changes could not be saved: the disk is full.");
    EXPECT_EQ(SaveFailurePhrase(SaveFailure::ReadOnly), u"the folder is read-only");
    EXPECT_EQ(SaveFailurePhrase(SaveFailure::IndexUnreadable), u"the list of notes cannot be read");
    EXPECT_EQ(std::u16string(kSavedAgainText), u"Your notes are saved again.");
}

} // namespace
} // namespace vn
