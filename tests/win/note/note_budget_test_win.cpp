// The handle budget on real notes: a note without room makes no window and keeps
// its body; a line without room has no box but keeps its tick; both come once
// there is room. And what a shown note and a checklist line cost in windows.
#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include <string>

#include "note/handle_budget.h"
#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

using note::kCheckBoxCost;
using note::kHiddenEditorCost;
using note::kNoteWindowCost;
using note::kReserve;

std::string Lines(int count) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    return rtf + "}";
}

// Room for `windows` note windows and `boxes` check boxes besides the reserve.
note::GuiObjects RoomFor(int windows, int boxes) {
    return {kReserve.user + windows * kNoteWindowCost.user + boxes * kCheckBoxCost.user,
            kReserve.gdi + windows * kNoteWindowCost.gdi};
}

int CountChildren(HWND parent) {
    int count = 0;
    EnumChildWindows(
        parent, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; }, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The message-only windows that hold the hidden editors of notes without a window.
int HiddenEditorHosts() {
    int count = 0;
    for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, L"VantoryNote.RichEditHost", nullptr));) ++count;
    return count;
}

class NoteBudgetTest : public NoteWindowTest {
protected:
    // A stored note for `caption`, its target found by the tracking tick.
    NotePtr StoredNote(const std::u16string& caption, const std::string& body, const std::u16string& checks) {
        auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
        note->Editor().LoadBody(body);
        note->SetPendingCheckStates(checks);
        return note;
    }
};

TEST_F(NoteBudgetTest, ANoteWithoutRoomMakesNoWindowKeepsItsBodyAndShowsOnceThereIsRoom) {
    const std::u16string first = UniqueCaption(u"Vn budget first"), second = UniqueCaption(u"Vn budget second");
    TargetProcess targets({first, second});
    host.budget.SetQuota(RoomFor(1, 0));
    NotePtr shown = NoteOn(targets.Window(0));
    ASSERT_TRUE(shown->HasHandle());

    NotePtr waiting = StoredNote(second, "{\\rtf1 kept without a window\\par}", u"");
    EXPECT_THROW(waiting->TimerTimer(), note::NoRoomForWindow);
    EXPECT_EQ(waiting->WndParent(), targets.Window(1));  // bound, but not made
    EXPECT_FALSE(waiting->HasHandle());
    EXPECT_FALSE(waiting->IsShown());
    EXPECT_NE(waiting->Stored().SaveBody().find("kept without a window"), std::string::npos);
    EXPECT_EQ(host.budget.Taken(), kNoteWindowCost);

    // The first note goes (deleted, or its target closed): its share comes back.
    shown.reset();
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));
    waiting->TimerTimer();
    ASSERT_TRUE(waiting->IsShown());
    EXPECT_TRUE(IsWindowVisible(waiting->Handle()));
    EXPECT_EQ(GetWindow(waiting->Handle(), GW_OWNER), targets.Window(1));
    EXPECT_EQ(waiting->Editor().Text(), u"kept without a window");
    waiting.reset();
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteBudgetTest, LinesWithoutRoomHaveNoBoxKeepTheirTicksAndGetTheirBoxesLater) {
    const std::u16string caption = UniqueCaption(u"Vn budget boxes");
    TargetProcess targets({caption});
    host.budget.SetQuota(RoomFor(1, 2));
    NotePtr note = StoredNote(caption, Lines(4), u"0101");
    note->TimerTimer();
    ASSERT_TRUE(note->IsShown());
    PumpMessagesFor(100);  // the stored ticks are applied on the loop's next turn
    ASSERT_TRUE(note->CheckBox(0) && note->CheckBox(1));
    EXPECT_EQ(note->CheckBox(2), nullptr);
    EXPECT_EQ(note->CheckBox(3), nullptr);
    EXPECT_EQ(SendMessageW(note->CheckBox(1), BM_GETCHECK, 0, 0), BST_CHECKED);
    // The tick of the line without a box is kept, and saved.
    EXPECT_EQ(note->Stored().CheckStateString(), u"0101");

    host.budget.SetQuota(RoomFor(1, 4));
    note->TimerTimer();
    ASSERT_TRUE(note->CheckBox(2) && note->CheckBox(3));
    EXPECT_TRUE(IsWindowVisible(note->CheckBox(3)));
    EXPECT_EQ(SendMessageW(note->CheckBox(3), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(note->CheckBox(2), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_GT(WindowRect(note->CheckBox(3)).top, WindowRect(note->CheckBox(1)).top);
    EXPECT_EQ(host.budget.Taken().user, kNoteWindowCost.user + 4 * kCheckBoxCost.user);
    // A new window (a new target) makes the boxes again and counts them once.
    note->Hide();
    note->RecreateNativeWindow();
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));
    note->Show();
    EXPECT_EQ(host.budget.Taken().user, kNoteWindowCost.user + 4 * kCheckBoxCost.user);
    EXPECT_EQ(note->Stored().CheckStateString(), u"0101");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteBudgetTest, ANoteWhoseWindowWentIsSavedWithoutAHiddenEditorAndOneMadeAnywayIsCounted) {
    TargetProcess targets({UniqueCaption(u"Vn budget hidden editor")});
    NotePtr note = NoteOn(targets.Window(0));
    note->Editor().LoadBody(Lines(3));
    const int hosts = HiddenEditorHosts();
    note->Hide();
    note->RecreateNativeWindow();  // its target closed, say: the window went
    ASSERT_FALSE(note->HasHandle());
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));

    // A save reads the body and its line count from what was kept when the window went.
    EXPECT_EQ(note->Stored().CheckStateString(), u"000");
    EXPECT_NE(note->Stored().SaveBody().find("line 2"), std::string::npos);
    EXPECT_EQ(HiddenEditorHosts(), hosts);
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));

    // A question only a control can answer makes the hidden one, and it is counted.
    EXPECT_EQ(note->Editor().LineText(1), u"line 1");
    EXPECT_EQ(HiddenEditorHosts(), hosts + 1);
    EXPECT_EQ(host.budget.Taken(), kHiddenEditorCost);

    // Shown again, the note's own editor takes over: the hidden one and its share go.
    note->Show();
    ASSERT_TRUE(note->HasHandle());
    EXPECT_EQ(HiddenEditorHosts(), hosts);
    int boxes = 0;
    for (int line = 0; line < 3; ++line) boxes += note->CheckBox(line) ? 1 : 0;
    EXPECT_EQ(host.budget.Taken().user, kNoteWindowCost.user + boxes * kCheckBoxCost.user);
    EXPECT_EQ(note->Editor().LineText(2), u"line 2");
    note.reset();
    EXPECT_EQ(host.budget.Taken(), (note::GuiObjects{}));

    // A stored note never shown, whose record had no check states: saved as read.
    NotePtr stored = StoredNote(UniqueCaption(u"Vn budget never shown"), Lines(2), u"");
    EXPECT_EQ(stored->Stored().CheckStateString(), u"");
    EXPECT_EQ(stored->Stored().SaveBody(), Lines(2));
    EXPECT_EQ(HiddenEditorHosts(), hosts);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteBudgetTest, TheCostsCountedAreTheWindowsANoteAndItsLinesHave) {
    TargetProcess targets({UniqueCaption(u"Vn budget cost")});
    NotePtr note = NoteOn(targets.Window(0));
    note->Editor().LoadBody(Lines(10));
    note->UpdateCheckBoxes(false);
    // The note's window, and its children: backing panel, body area, editor, ten boxes.
    EXPECT_EQ(1 + CountChildren(note->Handle()), kNoteWindowCost.user + 10 * kCheckBoxCost.user);
    EXPECT_EQ(host.budget.Taken().user, kNoteWindowCost.user + 10 * kCheckBoxCost.user);
}

} // namespace
} // namespace vn::test
