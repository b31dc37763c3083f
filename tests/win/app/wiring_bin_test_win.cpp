// The recycle bin in the running program: deletes go to it with the store written at
// once, the undo balloon and Restore bring notes back, a bin that cannot be written
// keeps the note, and a start settles what an interrupted delete left.
#include <gtest/gtest.h>

#include <chrono>

#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

int64_t SecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class WiringBinTest : public WiringTest {
protected:
    WiringBinTest() : WiringTest("vn-wiring-bin") {}

    void SetUp() override {
        folder.Write("Information\\0.txt", Rtf("one"));
        folder.Write("Information\\1.txt", Rtf("two"));
        folder.Write("Information\\Jotlets.txt", IndexFile({"notepad.exe|Vn absent one=PC|t1|Information\\0.txt|1",
                                                            "notepad.exe|Vn absent two=PC|t2|Information\\1.txt|"}));
    }
    std::string Store() const { return folder.Read("Information\\Jotlets.txt"); }
    void ClickBalloon() {
        SendMessageW(main->Tray().MessageWindow(), kTrayCallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    }
    void BalloonTimeIsUp() {
        SendMessageW(main->Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::BalloonTimer), 0);
    }
    void Restart() {
        main->Destroy();
        main.reset();
        Start();
    }
};

TEST_F(WiringBinTest, ADeleteAndARestoreWriteTheStoreAndTheBinAtOnceAndLastARestart) {
    Start();
    ASSERT_EQ(main->Jotlets().size(), 2u);
    main->DeleteNotes({main->Jotlets()[0]});
    ASSERT_EQ(main->Jotlets().size(), 1u);
    EXPECT_EQ(Store(), IndexFile({"notepad.exe|Vn absent two=PC|t2|Information\\0.txt|"}));

    std::vector<BinRow> rows = main->RecycleBinRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].caption, u"notepad.exe - Vn absent one");
    EXPECT_EQ(rows[0].owner, u"PC");
    EXPECT_EQ(rows[0].timeLabel, u"t1");
    EXPECT_FALSE(rows[0].deletedLabel.empty());

    Restart();
    ASSERT_EQ(main->Jotlets().size(), 1u);
    rows = main->RecycleBinRows();
    ASSERT_EQ(rows.size(), 1u) << "the bin survives a restart";

    main->RestoreFromBin({rows[0].id});
    ASSERT_EQ(main->Jotlets().size(), 2u);
    EXPECT_TRUE(main->RecycleBinRows().empty());
    TFStickyNote& back = Note(1);
    EXPECT_EQ(back.WndParentCaption(), u"Vn absent one");
    EXPECT_EQ(back.Editor().Text(), u"one");
    EXPECT_EQ(back.PendingCheckStates(), u"1");
    EXPECT_TRUE(back.ParentBindingPending()) << "it waits for its window as a stored note does";
    EXPECT_NE(Store().find("Vn absent one=PC|t1|"), std::string::npos) << "the store holds it at once";

    Restart();
    EXPECT_EQ(main->Jotlets().size(), 2u);
    EXPECT_TRUE(main->RecycleBinRows().empty());
}

// Wine's tray never sends balloon clicks: the click is posted as the shell would.
TEST_F(WiringBinTest, TheUndoBalloonBringsTheNoteBackOnlyWhileItIsShowing) {
    Start();
    main->NoteDeleteClicked(*main->Jotlets()[0]);
    ASSERT_EQ(main->Jotlets().size(), 1u);
    EXPECT_EQ(main->Tray().BalloonText(), kNoteDeletedBalloonText) << "shown at once, over the start-up balloon";
    ClickBalloon();
    ASSERT_EQ(main->Jotlets().size(), 2u);
    EXPECT_EQ(Note(0).WndParentCaption(), u"Vn absent one") << "back at its place in the list";
    EXPECT_TRUE(main->RecycleBinRows().empty());

    // Once its time is up, a click on the next balloon brings nothing back.
    main->NoteDeleteClicked(*main->Jotlets()[0]);
    EXPECT_EQ(main->Tray().BalloonText(), kNoteDeletedBalloonText);
    BalloonTimeIsUp();
    EXPECT_NE(main->Tray().BalloonText(), kNoteDeletedBalloonText);
    ClickBalloon();
    EXPECT_EQ(main->Jotlets().size(), 1u);
    ASSERT_EQ(main->RecycleBinRows().size(), 1u);

    // Deleted for good at once, before the store's next save.
    main->DeleteFromBinForGood({main->RecycleBinRows()[0].id});
    EXPECT_TRUE(main->RecycleBinRows().empty());
    Restart();
    EXPECT_EQ(main->Jotlets().size(), 1u);
    EXPECT_TRUE(main->RecycleBinRows().empty());
}

TEST_F(WiringBinTest, ABinThatCannotBeWrittenKeepsTheNoteAndSaysWhy) {
    folder.Write("Recycle Bin", "a file where the bin's folder goes");
    Start();
    const std::string before = Store();
    main->DeleteJotlets(u"0");
    EXPECT_EQ(main->Jotlets().size(), 2u);
    EXPECT_EQ(Store(), before);
    BalloonTimeIsUp(); // the start-up balloon
    EXPECT_EQ(main->Tray().BalloonText().rfind(kCannotDeleteText, 0), 0u) << Utf8(main->Tray().BalloonText());
    EXPECT_EQ(main->Tray().BalloonIcon(), static_cast<DWORD>(NIIF_ERROR));
}

// A start settles a delete cut short (its store was never written: the note stays
// in the store and leaves the bin), and removes entries deleted over 30 days ago.
TEST_F(WiringBinTest, AStartSettlesAnInterruptedDeleteAndForgetsOldEntries) {
    const int64_t now = SecondsNow();
    const int64_t days31 = 31LL * 24 * 60 * 60;
    folder.Write("Recycle Bin\\1.txt", Rtf("old"));
    folder.Write("Recycle Bin\\2.txt", Rtf("recent"));
    folder.Write("Recycle Bin\\3.txt", Rtf("one"));
    folder.Write("Recycle Bin\\Deleted.txt",
                 "Vantory Note recycle bin 1\r\n" + std::to_string(1) + "|" + std::to_string(now - days31) +
                     "|-|0000000000000000|notepad.exe|Old|PC|t|\r\n" + "2|" + std::to_string(now - 60) +
                     "|-|0000000000000000|notepad.exe|Recent|PC|t|\r\n" + "3|" + std::to_string(now) +
                     "|D|0123456789abcdef|notepad.exe|Vn absent one|PC|t1|1\r\n");
    Start();
    EXPECT_EQ(main->Jotlets().size(), 2u);
    const std::vector<BinRow> rows = main->RecycleBinRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].caption, u"notepad.exe - Recent");
    EXPECT_FALSE(folder.Exists("Recycle Bin\\1.txt"));
    EXPECT_FALSE(folder.Exists("Recycle Bin\\3.txt"));
    EXPECT_TRUE(folder.Exists("Recycle Bin\\2.txt"));

    main->EmptyRecycleBin();
    EXPECT_TRUE(main->RecycleBinRows().empty());
    EXPECT_FALSE(folder.Exists("Recycle Bin\\2.txt"));
}

} // namespace
} // namespace vn::test
