// The keyboard on a real note, through the system's own input: Tab order, the
// buttons, the boxes, the tile, moving and sizing, the focus cues, Esc, and Show.
#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "note_test_fixture_win.h"
#include "platform/accessible_win.h"

namespace vn::test {
namespace {

using note::Control;

std::string Lines(int count) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    return rtf + "}";
}

// A key pressed and released with `held` down around it, as a person types it.
void Press(WORD key, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> input;
    auto add = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    for (WORD h : held) add(h, false);
    add(key, false);
    add(key, true);
    for (auto h = std::rbegin(held); h != std::rend(held); ++h) add(*h, true);
    ASSERT_EQ(SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)), input.size());
    PumpMessagesFor(40);
}

class NoteKeysTest : public NoteWindowTest {
protected:
    // A note on its own target, in front with the keyboard in its body.
    TFStickyNote& FocusedNote(const char16_t* caption, const std::string& body) {
        target_ = std::make_unique<TargetProcess>(std::vector<std::u16string>{UniqueCaption(caption)});
        TFStickyNote& note = ListedNoteOn(target_->Window(0));
        note.Editor().LoadBody(body);
        note.UpdateCheckBoxes(false);
        SetForegroundWindow(note.Handle());
        note.Editor().SetFocus();
        PumpMessagesFor(50);
        EXPECT_EQ(GetFocus(), note.Editor().Handle());
        return note;
    }
    // Tabs from the body until `part` has the focus.
    static void TabTo(TFStickyNote& note, Control part) {
        for (int i = 0; i < 8 && note.FocusedPart() != part; ++i) Press(VK_TAB);
        ASSERT_EQ(note.FocusedPart(), part);
    }
    std::unique_ptr<TargetProcess> target_;
};

// The focus as it stands: a picture button, a box by its line, or the body.
std::string FocusOf(TFStickyNote& note) {
    HWND focus = GetFocus();
    if (focus == note.Editor().Handle()) return "body";
    for (int line = 0; line < 4; ++line)
        if (focus == note.CheckBox(line)) return "box" + std::to_string(line);
    if (focus == note.Handle()) {
        const std::u16string name(note::ControlName(note.FocusedPart()));
        return std::string(name.begin(), name.end());
    }
    return "elsewhere";
}

// Focus events the note raised, as an accessibility client receives them.
// The drawn part a screen reader is told has the focus (get_accFocus), with its
// focused state; "none" when the reader hears of no drawn part.
std::string ReaderFocus(HWND note) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(note, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object))))
        return "no object";
    VARIANT focus;
    VariantInit(&focus);
    std::string seen = "none";
    if (object->get_accFocus(&focus) == S_OK && focus.vt == VT_I4 && focus.lVal != CHILDID_SELF) {
        const std::u16string name(note::ControlName(static_cast<Control>(focus.lVal)));
        seen.assign(name.begin(), name.end());
        VARIANT state;
        VariantInit(&state);
        if (object->get_accState(focus, &state) != S_OK || state.vt != VT_I4 ||
            !(state.lVal & STATE_SYSTEM_FOCUSED))
            seen += " (not focused)";
    }
    VariantClear(&focus);
    object->Release();
    return seen;
}

class FocusEvents {
public:
    FocusEvents() {
        events_ = {};
        hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &Record, GetCurrentProcessId(), 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~FocusEvents() { UnhookWinEvent(hook_); }
    static std::vector<LONG> Children(HWND of) {
        std::vector<LONG> children;
        for (const auto& e : events_)
            if (e.first == of) children.push_back(e.second);
        return children;
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT && child != CHILDID_SELF) events_.emplace_back(hwnd, child);
    }
    static inline std::vector<std::pair<HWND, LONG>> events_;
    HWINEVENTHOOK hook_ = nullptr;
};

TEST_F(NoteKeysTest, TabGoesRoundTheButtonsTheChecklistAndTheBodyAndShiftTabBack) {
    TFStickyNote& note = FocusedNote(u"Vn keys tab", Lines(3));
    ASSERT_TRUE(note.CheckBox(0));
    FocusEvents events;
    std::vector<std::string> forward, backward;
    std::vector<std::string> heard;
    for (int i = 0; i < 7; ++i) {
        Press(VK_TAB);
        forward.push_back(FocusOf(note));
        heard.push_back(ReaderFocus(note.Handle()));
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"ImgMinimize", "ImgSave", "ImgImport", "ImgFont", "ImgDelete",
                                                 "box0", "body"}));
    // A screen reader asked hears the same drawn part, focused; nothing drawn for the box and the body.
    EXPECT_EQ(heard, (std::vector<std::string>{"ImgMinimize", "ImgSave", "ImgImport", "ImgFont", "ImgDelete",
                                               "none", "none"}));
    EXPECT_EQ(note.Editor().Text().find(u'\t'), std::u16string::npos);  // no tab typed anywhere
    for (int i = 0; i < 7; ++i) {
        Press(VK_TAB, {VK_SHIFT});
        backward.push_back(FocusOf(note));
    }
    EXPECT_EQ(backward, (std::vector<std::string>{"box0", "ImgDelete", "ImgFont", "ImgImport", "ImgSave",
                                                  "ImgMinimize", "body"}));
    PumpMessagesFor(50);
    const auto id = [](Control c) { return static_cast<LONG>(c); };
    const std::vector<LONG> buttons{id(Control::ImgMinimize), id(Control::ImgSave), id(Control::ImgImport),
                                    id(Control::ImgFont), id(Control::ImgDelete)};
    std::vector<LONG> expected = buttons;
    expected.insert(expected.end(), buttons.rbegin(), buttons.rend());
    EXPECT_EQ(FocusEvents::Children(note.Handle()), expected);

    // Without a shown box the checklist is no stop.
    note.Editor().LoadBody("");
    note.UpdateCheckBoxes(false);
    note.Editor().SetFocus();
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(FocusOf(note), "ImgDelete");
    Press(VK_TAB);
    EXPECT_EQ(FocusOf(note), "body");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, EnterAndSpaceOnAButtonRunWhatAClickRuns) {
    TFStickyNote& note = FocusedNote(u"Vn keys buttons", Lines(2));
    TabTo(note, Control::ImgSave);
    Press(VK_RETURN);
    Press(VK_SPACE);
    EXPECT_EQ(host.exports, 2);
    EXPECT_EQ(FocusOf(note), "ImgSave");  // the button keeps the keyboard
    Press(VK_TAB);
    Press(VK_SPACE);
    Press(VK_RETURN);
    EXPECT_EQ(host.imports, 2);

    const std::u16string text = note.Editor().Text();
    bool dialogOpened = false;
    Press(VK_TAB);
    ASSERT_EQ(note.FocusedPart(), Control::ImgFont);
    {
        WhileFontDialogOpen during([&](HWND dialog) {
            dialogOpened = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Press(VK_RETURN);
        for (int i = 0; i < 50 && !dialogOpened; ++i) PumpMessagesFor(20);
    }
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(note.Editor().Text(), text);  // cancelled: nothing typed, nothing changed

    // Minimize makes a tile that has the keyboard; Enter gives the note its size and the body the keyboard.
    SetForegroundWindow(note.Handle());
    note.Editor().SetFocus();
    TabTo(note, Control::ImgMinimize);
    Press(VK_SPACE);
    ASSERT_TRUE(note.Minimized());
    EXPECT_EQ(note.FocusedPart(), Control::ImgSmall);
    EXPECT_EQ(note.Width(), 100);
    Press(VK_TAB);  // a tile has no other stop
    EXPECT_EQ(note.FocusedPart(), Control::ImgSmall);
    Press(VK_RETURN);
    EXPECT_FALSE(note.Minimized());
    EXPECT_EQ(note.Width(), 450);
    EXPECT_EQ(FocusOf(note), "body");

    // Delete goes the way of the click: the note closes and its list frees it.
    HWND h = note.Handle();
    TabTo(note, Control::ImgDelete);
    Press(VK_RETURN);
    PumpMessagesFor(50);
    EXPECT_EQ(removed.size(), 1u);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, ArrowsMoveAmongTheShownBoxesAndSpaceTicks) {
    TFStickyNote& note = FocusedNote(u"Vn keys boxes", Lines(4));
    ASSERT_TRUE(note.CheckBox(3));
    Press(VK_TAB, {VK_SHIFT});
    ASSERT_EQ(FocusOf(note), "box0");
    Press(VK_DOWN);
    Press(VK_SPACE);
    EXPECT_EQ(FocusOf(note), "box1");
    EXPECT_EQ(note.Stored().CheckStateString(), u"0100");
    Press(VK_RIGHT);
    Press(VK_DOWN);
    Press(VK_DOWN);  // the last box: the focus stays
    EXPECT_EQ(FocusOf(note), "box3");
    Press(VK_UP);
    Press(VK_LEFT);
    Press(VK_UP);
    Press(VK_UP);
    EXPECT_EQ(FocusOf(note), "box0");

    // Boxes of lines that went are hidden and skipped.
    note.Editor().LoadBody(Lines(2));
    note.UpdateCheckBoxes(false);
    ASSERT_FALSE(IsWindowVisible(note.CheckBox(2)));
    SetFocus(note.CheckBox(1));
    Press(VK_DOWN);
    EXPECT_EQ(FocusOf(note), "box1");
    Press(VK_SPACE);
    EXPECT_EQ(note.Stored().CheckStateString(), u"00");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, AltF7MovesAndAltF8SizesAsTheMouseDoesAndEscPutsTheNoteBack) {
    TFStickyNote& note = FocusedNote(u"Vn keys move", "text");
    HWND h = note.Handle();
    const RECT start = WindowRect(h);

    Press(VK_F7, {VK_MENU});
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_DOWN, {VK_CONTROL});
    Press('X');  // no other key acts meanwhile
    EXPECT_EQ(WindowRect(h).left, start.left + 20);
    EXPECT_EQ(WindowRect(h).top, start.top + 1);
    Press(VK_RETURN);
    EXPECT_EQ(WindowRect(h).left, start.left + 20);
    EXPECT_EQ(note.Left(), start.left + 20);
    EXPECT_EQ(FocusOf(note), "body");  // the keyboard goes back where it was
    EXPECT_EQ(note.Editor().Text(), u"text");

    Press(VK_F7, {VK_MENU});
    Press(VK_LEFT);
    Press(VK_UP);
    Press(VK_ESCAPE);
    EXPECT_EQ(WindowRect(h).left, start.left + 20);
    EXPECT_EQ(WindowRect(h).top, start.top + 1);

    // Size: the bottom-right corner, within the grip's limits, opaque meanwhile as with the grip.
    TabTo(note, Control::ImgSave);
    Press(VK_F8, {VK_MENU});
    EXPECT_FALSE(Layered(h));
    Press(VK_RIGHT);
    for (int i = 0; i < 4; ++i) Press(VK_UP);  // 274 -> 250, the smallest height
    EXPECT_EQ(note.Width(), 460);
    EXPECT_EQ(note.Height(), 250);
    EXPECT_TRUE(RegionIs(h, 460, 250));
    Press(VK_ESCAPE);
    EXPECT_EQ(note.Width(), 450);
    EXPECT_EQ(note.Height(), 274);
    EXPECT_TRUE(RegionIs(h, 450, 274));
    EXPECT_TRUE(Layered(h));
    EXPECT_EQ(FocusOf(note), "ImgSave");

    Press(VK_F8, {VK_MENU});
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_EQ(note.Height(), 284);
    EXPECT_TRUE(Layered(h));
    EXPECT_EQ(WindowRect(h).bottom - WindowRect(h).top, 284);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, FocusCuesStayHiddenForTheMouseAndShowOnceAKeyIsUsed) {
    TFStickyNote& note = FocusedNote(u"Vn keys cues", Lines(2));
    HWND h = note.Handle();
    // The mouse makes a tile, which holds the keyboard: no cue on the red tile picture.
    Mouse(h, WM_LBUTTONDOWN, 450 - 95 + 10, 40);
    Mouse(h, WM_LBUTTONUP, 450 - 95 + 10, 40);
    ASSERT_TRUE(note.Minimized());
    ASSERT_EQ(note.FocusedPart(), Control::ImgSmall);
    const std::u16string text = note.Editor().Text();
    Press('Z');  // nothing types into the hidden body
    EXPECT_EQ(note.Editor().Text(), text);
    const auto cueOnTile = [&] {
        FaceShot shot(h);
        for (int y = 10; y < 90; ++y)
            if (!Near(shot.At(3, y), kPictureColor, 8)) return true;
        return false;
    };
    EXPECT_FALSE(cueOnTile());
    EXPECT_NE(SendMessageW(note.CheckBox(0), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);

    Press(VK_F7, {VK_MENU});  // a keyboard move, cancelled
    Press(VK_ESCAPE);
    EXPECT_TRUE(cueOnTile());
    // The boxes show their cue from then on, also as the note's own.
    EXPECT_EQ(SendMessageW(note.CheckBox(0), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);

    // A button with the keyboard has its dotted rectangle; the rest of the face is as it was.
    Press(VK_RETURN);
    ASSERT_FALSE(note.Minimized());
    FaceShot before(h);
    TabTo(note, Control::ImgSave);
    FaceShot after(h);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < 274; ++y)
        for (int x = 0; x < 450; ++x) {
            const bool inSave = x >= 24 && x < 24 + 75 && y >= 80 && y < 80 + 24;
            if (before.At(x, y) != after.At(x, y)) ++(inSave ? changedInside : changedOutside);
        }
    EXPECT_GT(changedInside, 50);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, EscInTheBodyKeepsTheNoteItsTextAndTheKeyboard) {
    TFStickyNote& note = FocusedNote(u"Vn keys escape", "");
    HWND h = note.Handle();
    Press('A');
    Press('B');
    Press(VK_ESCAPE);
    Press(VK_ESCAPE, {VK_SHIFT});
    Press('C');
    EXPECT_EQ(note.Editor().Text(), u"abc");
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(IsWindowVisible(Child(h, L"VnNoteScrollBox")));
    EXPECT_TRUE(note.IsShown());
    EXPECT_FALSE(note.Minimized());
    EXPECT_EQ(FocusOf(note), "body");
    PumpMessagesFor(50);
    EXPECT_TRUE(removed.empty());
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteKeysTest, ShowingANoteLeavesTheKeyboardInItsBody) {
    TFStickyNote& note = FocusedNote(u"Vn keys show", "");
    TabTo(note, Control::ImgImport);  // the note last had the keyboard on a button
    SetForegroundWindow(target_->Window(0));
    PumpMessagesFor(50);
    note.BringToFront();  // All Notes' Show
    PumpMessagesFor(50);
    EXPECT_EQ(GetForegroundWindow(), note.Handle());
    EXPECT_EQ(FocusOf(note), "body");
    Press('Q');
    EXPECT_EQ(note.Editor().Text(), u"q");

    // A tile is restored and takes the keyboard in its body as well.
    note.Editor().SetFocus();
    TabTo(note, Control::ImgMinimize);
    Press(VK_RETURN);
    ASSERT_TRUE(note.Minimized());
    SetForegroundWindow(target_->Window(0));
    PumpMessagesFor(50);
    note.BringToFront();
    PumpMessagesFor(50);
    EXPECT_FALSE(note.Minimized());
    EXPECT_EQ(FocusOf(note), "body");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
