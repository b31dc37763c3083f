// The note store in the running program: the note window as the store sees it,
// and the controller's load, delayed save, deletion, shutdown save and selection
// save on real files.
#include <gtest/gtest.h>

#include "exchange/zip_archive.h"
#include "platform/code_page_win.h"
#include "platform/file_system.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "store/note_store.h"
#include "store/save_texts.h"

#include "note_test_fixture_win.h"
#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

// Makes the notes of a load as the controller does, and keeps them.
class NoteFactory {
public:
    explicit NoteFactory(NoteHost& host) : host_(host) {}
    void Load(NoteStore& store) {
        for (const StoredRecord& record : store.LoadNotes().notes) {
            notes.push_back(std::make_unique<TFStickyNote>(host_, record.exeName, record.caption));
            try {
                FillStickyNote(notes.back()->Stored(), record);
            } catch (const std::exception&) {
                notes.pop_back();
                store.SetAside(record);
            }
        }
    }
    std::vector<NotePtr> notes;

private:
    NoteHost& host_;
};

TEST(WiringStoredNote, LabelsBodiesAndCheckStatesGoToDiskAndComeBack) {
    DataFolder folder("vn-wiring-stored-note");
    FileSystem& files = PlatformFileSystem();
    WindowsCodePage codePage;
    NoteStore store(files, codePage, folder.Path());
    RecordingHost host;

    // A note filled from a record keeps its check states pending and its body unread;
    // a note whose body was typed has no pending states: "0" for each line.
    const std::string storedBody = Rtf("first\\par {\\b second}");
    auto pad = std::make_unique<TFStickyNote>(host, u"notepad.exe", u"Untitled - Notepad");
    pad->Stored().SetOwnerLabel(u"PC-1");
    pad->Stored().SetTimeLabel(u"1/2/2024 3:04:05 PM");
    pad->Stored().LoadBody(BodyFile::Read(storedBody, codePage));
    pad->Stored().SetPendingCheckStates(u"10");
    auto calc = std::make_unique<TFStickyNote>(host, u"calc.exe", u"Calculator");
    calc->Stored().SetOwnerLabel(u"PC-2");
    calc->Stored().SetTimeLabel(u"5/6/2024 7:08:09 AM");
    calc->Editor().LoadBody("one\r\ntwo\r\nthree");
    EXPECT_EQ(host.saves, 2) << "filling a body is a change";

    std::vector<StoreNote*> list{&pad->Stored(), &calc->Stored()};
    store.SaveStore(list);
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"),
              IndexFile({"calc.exe|Calculator=PC-2|5/6/2024 7:08:09 AM|Information\\1.txt|000",
                         "notepad.exe|Untitled - Notepad=PC-1|1/2/2024 3:04:05 PM|Information\\0.txt|10"}));
    EXPECT_EQ(folder.Read("Information\\0.txt"), storedBody) << "an unread body is written as it was read";
    EXPECT_EQ(folder.Read("Information\\1.txt").rfind("{\\rtf", 0), 0u) << "a typed body is written as RTF";

    NoteFactory factory(host);
    factory.Load(store);
    ASSERT_EQ(factory.notes.size(), 2u);
    TFStickyNote& calcBack = *factory.notes[0];
    TFStickyNote& padBack = *factory.notes[1];
    EXPECT_EQ(calcBack.WndParentExeName(), u"calc.exe");
    EXPECT_EQ(calcBack.WndParentCaption(), u"Calculator");
    EXPECT_EQ(calcBack.OwnerText(), u"PC-2");
    EXPECT_EQ(calcBack.TimeText(), u"5/6/2024 7:08:09 AM");
    EXPECT_EQ(calcBack.Editor().Text(), u"one\rtwo\rthree");
    EXPECT_EQ(calcBack.PendingCheckStates(), u"000");
    EXPECT_EQ(padBack.Editor().Text(), u"first\rsecond");
    EXPECT_EQ(padBack.Editor().SelAttributes().style, 0u);
    padBack.Editor().SetSelStart(8);
    EXPECT_EQ(padBack.Editor().SelAttributes().style, static_cast<unsigned>(StyleBold));
    EXPECT_EQ(padBack.PendingCheckStates(), u"10");
    // Loaded notes wait for their windows, unbound and unseen.
    EXPECT_EQ(padBack.WndParent(), reinterpret_cast<HWND>(-1));
    EXPECT_TRUE(padBack.ParentBindingPending());
    EXPECT_FALSE(padBack.IsShown());
    EXPECT_FALSE(padBack.HasHandle());
}

class WiringStoreTest : public WiringTest {
protected:
    WiringStoreTest() : WiringTest("vn-wiring-store") {}

    void WriteStore() {
        folder.Write("Information\\0.txt", Rtf("one"));
        folder.Write("Information\\1.txt", Rtf("bad"));
        folder.Write("Information\\2.txt", Rtf("two"));
        folder.Write("Information\\Jotlets.txt",
                     IndexFile({"notepad.exe|Vn absent one=PC|t1|Information\\0.txt|1",
                                "bad.exe=PC|t|Information\\1.txt|0",
                                "notepad.exe|Vn absent two=PC|t2|Information\\2.txt|01"}));
    }
    // The index held by another program, opened without sharing reading.
    UniqueFileHandle HoldIndex() {
        return UniqueFileHandle(CreateFileW(W(folder.Path() + u"Information\\Jotlets.txt"), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    // The timer's save is written on the writer: wait for it.
    void FireSaveTimer() {
        SendMessageW(main->Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::SaveTimer), 0);
        main->FinishWrites();
    }
};

TEST_F(WiringStoreTest, LoadedNotesWaitAndEveryChangeReachesTheStore) {
    WriteStore();
    Start();
    ASSERT_EQ(main->Jotlets().size(), 2u);
    EXPECT_EQ(main->StickyNoteList().size(), 3u);
    EXPECT_EQ(Note(0).WndParentCaption(), u"Vn absent one");
    EXPECT_EQ(Note(1).WndParentCaption(), u"Vn absent two");
    EXPECT_FALSE(Note(0).IsShown());
    // Filling the editors scheduled the save that follows a start with stored notes.
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::SaveTimer));

    FireSaveTimer();
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::SaveTimer)) << "a one-shot";
    // Last position first; the record that made no note goes back behind them.
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"),
              IndexFile({"notepad.exe|Vn absent two=PC|t2|Information\\1.txt|01",
                         "notepad.exe|Vn absent one=PC|t1|Information\\0.txt|1",
                         "bad.exe=PC|t|Information\\2.txt|0"}));
    EXPECT_EQ(folder.Read("Information\\1.txt"), Rtf("two"));
    EXPECT_EQ(folder.Read("Information\\2.txt"), Rtf("bad"));

    // Deleting: the note leaves the list and the store at once, into the recycle bin.
    main->DeleteJotlets(u"0");
    ASSERT_EQ(main->Jotlets().size(), 1u);
    EXPECT_EQ(Note(0).WndParentCaption(), u"Vn absent two");
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt").find("Vn absent one"), std::string::npos);
    EXPECT_NE(folder.Read("Recycle Bin\\Deleted.txt").find("Vn absent one"), std::string::npos);

    // A typed change, then quitting before the save timer fires: the shutdown saves it.
    Note(0).Editor().LoadBody("typed");
    main->Destroy();
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::SaveTimer));
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"),
              IndexFile({"notepad.exe|Vn absent two=PC|t2|Information\\0.txt|01",
                         "bad.exe=PC|t|Information\\1.txt|0"}));
    EXPECT_NE(folder.Read("Information\\0.txt").find("typed"), std::string::npos);
}

TEST_F(WiringStoreTest, ASelectionSavePacksTheChosenNotesAndLeavesTheStoreAlone) {
    WriteStore();
    Start();
    const std::string before = folder.Read("Information\\Jotlets.txt");
    const std::u16string archive = folder.Path() + u"chosen.vnx";
    main->SaveToFile(archive, u"1");
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"), before);

    DataFolder unpacked("vn-wiring-unpacked");
    ExtractZipFile(archive, unpacked.Path());
    EXPECT_EQ(unpacked.Read("Jotlets.txt"),
              IndexFile({"notepad.exe|Vn absent two=PC|t2|Temp Export\\1.txt|01"}));
    EXPECT_EQ(unpacked.Read("1.txt"), Rtf("two"));
}

TEST_F(WiringStoreTest, AnUnreadableIndexNeitherStopsTheStartNorIsReplaced) {
    // An index file the program cannot open (here: a folder of that name).
    std::filesystem::create_directories(folder / "Information\\Jotlets.txt");
    Start();
    EXPECT_TRUE(main->Jotlets().empty());
    EXPECT_TRUE(main->MouseHookInstalled()) << "the start went on: notes can be added";
    main->Destroy();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Information\\Jotlets.txt"))
        << "a save replaced a store it could not read";
}

TEST_F(WiringStoreTest, NoStoreSaveBeforeTheStoreWasLoaded) {
    // A start that fails before the load must not end with an empty list written
    // over the notes on disk.
    WriteStore();
    const std::string before = folder.Read("Information\\Jotlets.txt");
    TFMain notStarted(application, folder.Path());
    EXPECT_THROW(notStarted.SaveToFile(), Error);
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"), before);
}

TEST_F(WiringStoreTest, AStartWithoutStoreWritesNothingUntilTheShutdown) {
    Start();
    EXPECT_TRUE(main->Jotlets().empty());
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::SaveTimer));
    EXPECT_FALSE(folder.Exists("Information"));
    main->Destroy();
    EXPECT_TRUE(folder.Exists("Information\\Jotlets.txt"));
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"), "");
}

// Another program holds the index at start (opened without sharing reading): the
// start goes on, the index is read again on a timer, and once it can be read its
// notes come in beside the note made meanwhile; the store keeps all of them.
TEST_F(WiringStoreTest, AnIndexHeldAtStartComesInLaterBesideTheNotesMadeMeanwhile) {
    WriteStore();
    UniqueFileHandle held = HoldIndex();
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    Start();
    EXPECT_TRUE(main->Jotlets().empty());
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::IndexRereadTimer));
    auto made = std::make_unique<TFStickyNote>(*main, u"notepad.exe", u"Vn made meanwhile");
    made->Editor().LoadBody("meanwhile");
    main->AddJotlet(std::move(made));

    auto reread = [&] {
        SendMessageW(main->Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::IndexRereadTimer), 0);
        main->FinishWrites();
    };
    reread();
    EXPECT_EQ(main->Jotlets().size(), 1u) << "still held";
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::IndexRereadTimer)) << "read again within the first minute";
    FireSaveTimer();
    EXPECT_FALSE(folder.Exists("Information.new")) << "a save while the index is read again fails for the same reason";

    held.reset();
    reread();
    ASSERT_EQ(main->Jotlets().size(), 3u);
    EXPECT_EQ(Note(0).WndParentCaption(), u"Vn made meanwhile");
    EXPECT_EQ(Note(1).WndParentCaption(), u"Vn absent one");
    EXPECT_EQ(Note(2).WndParentCaption(), u"Vn absent two");
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::IndexRereadTimer));
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::SaveTimer)) << "the notes read late are saved";

    FireSaveTimer();
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"),
              IndexFile({"notepad.exe|Vn absent two=PC|t2|Information\\2.txt|01",
                         "notepad.exe|Vn absent one=PC|t1|Information\\1.txt|1",
                         std::string("notepad.exe|Vn made meanwhile=") + Utf8(Note(0).Stored().OwnerLabel()) + "|" +
                             Utf8(Note(0).Stored().TimeLabel()) + "|Information\\0.txt|0",
                         "bad.exe=PC|t|Information\\3.txt|0"}))
        << "each note once, the record that made no note kept";
}

// Held for more than the first minute of rereads: the person is told, and the
// save retries read it again; the save that can read it writes its records back
// and brings its notes in.
TEST_F(WiringStoreTest, AnIndexHeldForLongIsToldAndReadByTheSaveRetries) {
    WriteStore();
    UniqueFileHandle held = HoldIndex();
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    Start();
    int rereads = 0;
    while (main->TimerEnabled(ControllerTimer::IndexRereadTimer) && rereads < 100) {
        SendMessageW(main->Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::IndexRereadTimer), 0);
        main->FinishWrites();
        ++rereads;
    }
    EXPECT_EQ(rereads, 12) << "every 5 s for a minute";
    main->FinishWrites();
    SendMessageW(main->Tray().MessageWindow(), kTrayCallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(main->Tray().BalloonText(), CannotSaveText(SaveFailure::IndexUnreadable));
    EXPECT_EQ(main->Tray().BalloonIcon(), static_cast<DWORD>(NIIF_WARNING));
    EXPECT_TRUE(main->TimerEnabled(ControllerTimer::SaveTimer)) << "the retry";

    held.reset();
    FireSaveTimer();
    ASSERT_EQ(main->Jotlets().size(), 2u);
    EXPECT_EQ(Note(0).WndParentCaption(), u"Vn absent one");
    SendMessageW(main->Tray().MessageWindow(), kTrayCallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(main->Tray().BalloonText(), kSavedAgainText);
    FireSaveTimer();
    EXPECT_EQ(folder.Read("Information\\Jotlets.txt"),
              IndexFile({"notepad.exe|Vn absent two=PC|t2|Information\\1.txt|01",
                         "notepad.exe|Vn absent one=PC|t1|Information\\0.txt|1",
                         "bad.exe=PC|t|Information\\2.txt|0"}));
}

// Windows ends the session while a save is being written: the end waits for it,
// saves what was typed since, and nobody is asked.
TEST_F(WiringStoreTest, TheSessionEndWaitsForTheSaveInFlightAndSavesTheRest) {
    WriteStore();
    Start();
    Note(0).Editor().LoadBody("first");
    SendMessageW(main->Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::SaveTimer), 0); // in flight now
    Note(1).Editor().LoadBody("typed during the save");
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(main->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(main->TimerEnabled(ControllerTimer::SaveTimer));
    EXPECT_NE(folder.Read("Information\\0.txt").find("first"), std::string::npos);
    EXPECT_NE(folder.Read("Information\\1.txt").find("typed during the save"), std::string::npos);
}

} // namespace
} // namespace vn::test
