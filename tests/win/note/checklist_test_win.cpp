// The checklist gutter and the editor's commands on a real note with the real
// rich-text control.
#include "note/sticky_note_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "note/checklist.h"
#include "note/font_dialog_win.h"
#include "note/note_checklist_win.h"
#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

// A box's rectangle in its parent's (the body area's) client coordinates.
RECT InParent(HWND child) {
    RECT r = WindowRect(child);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string Lines(int count) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    return rtf + "}";
}

class NoteChecklistTest : public NoteWindowTest {
protected:
    // A note on its own target, in front with the keyboard, as after a click into it.
    NotePtr FocusedNote(const char16_t* caption, const std::string& body) {
        target_ = std::make_unique<TargetProcess>(std::vector<std::u16string>{UniqueCaption(caption)});
        NotePtr note = NoteOn(target_->Window(0));
        note->Editor().LoadBody(body);
        SetForegroundWindow(note->Handle());
        note->Editor().SetFocus();
        PumpMessagesFor(50);
        return note;
    }
    std::unique_ptr<TargetProcess> target_;
};

TEST_F(NoteChecklistTest, ABoxSitsAtTheCaretPlusTheOffsetForItsSize) {
    // The walk reads the place of a line without moving the caret when the line is in
    // one font or its first characters are its tallest; the caret, stepped to each
    // line's start, must agree: its y, the size the control reports there, and so the
    // box top (caret y + the offset of the last size the table knows). On a line whose
    // first characters are smaller than others the caret sits lower than the line's
    // top, so such a line is not read directly.
    const struct {
        const char* name;
        const char* rtf;
        int lines;
        std::vector<int> sizes;     // at each line's start
        std::vector<bool> direct;   // read without a caret step
    } bodies[] = {
        // 10 pt (the editor's default), 72 pt, and 10 pt again below the tall line.
        {"plain", "{\\rtf1 small\\par\\fs144 Tall\\par\\fs20 small\\par}", 3, {10, 72, 10}, {true, true, true}},
        // The same without a final line break: the last line ends at the closing mark.
        {"open end", "{\\rtf1 small\\par\\fs144 Tall}", 2, {10, 72}, {true, true}},
        // Sizes changing within lines, a size the table lacks (13 pt keeps the last
        // hit) and an empty line whose size is its paragraph mark's.
        {"mixed",
         "{\\rtf1 {\\fs144 B}ig {\\fs20 first}\\par small {\\fs144 then big}\\par {\\fs26 a}{\\fs48 b}\\par "
         "\\fs28\\par {\\fs16 x}{\\fs72 y}\\par}",
         5, {72, 10, 13, 14, 8}, {true, false, false, true, false}},
        // Another face and bold or italic text beside the line's first characters.
        {"faces", "{\\rtf1{\\fonttbl{\\f0 Tahoma;}{\\f1 Courier New;}}\\f0 {\\b\\fs36 B}{\\fs20 old}\\par "
                  "{\\fs20 a}{\\f1\\fs36 b}\\par {\\b\\fs20 c}{\\i\\fs40 d}\\par}",
         3, {18, 10, 10}, {true, false, false}},
        // Space before and after paragraphs, as text pasted from a word processor has.
        {"spacing", "{\\rtf1 a\\par\\sb200 b\\par\\sb0\\sa300 c\\par\\sa0 {\\fs40 D}{\\fs20 d}\\par e\\par}", 5,
         {10, 10, 10, 20, 10}, {true, true, true, true, true}},
    };
    for (const auto& body : bodies) {
        SCOPED_TRACE(body.name);
        NotePtr note = FocusedNote(u"Vn checklist offsets", body.rtf);
        ASSERT_TRUE(note->Editor().HasFocus());
        ASSERT_EQ(note->Editor().LineCount(), body.lines);
        note->UpdateCheckBoxes(false);
        NoteChecklistEditor direct(note->Editor(), [] { return false; });
        int offset = 0;
        for (int line = 0; line < body.lines; ++line) {
            SCOPED_TRACE(line);
            const std::optional<note::LinePlace> place = direct.PlaceOfLine(line);
            ASSERT_EQ(place.has_value(), body.direct[static_cast<size_t>(line)]);
            note->Editor().SetSelStart(note->Editor().LineStart(line));
            // The size the control reports with the caret at the line's start.
            EXPECT_EQ(note->Editor().SelAttributes().sizePoints, body.sizes[static_cast<size_t>(line)]);
            if (place) EXPECT_EQ(place->sizePoints, body.sizes[static_cast<size_t>(line)]);
            POINT caret{};
            ASSERT_TRUE(note->Editor().CaretPos(caret));
            if (place) EXPECT_EQ(place->y, caret.y);
            // Where the caret stands, also worked out without the focus.
            EXPECT_EQ(note->Editor().CaretTopAtRowStart(note->Editor().LineStart(line)), caret.y);
            if (const std::optional<int> hit = note::CheckBoxOffset(body.sizes[static_cast<size_t>(line)])) offset = *hit;
            HWND box = note->CheckBox(line);
            ASSERT_TRUE(box);
            EXPECT_TRUE(IsWindowVisible(box));
            const RECT r = InParent(box);
            EXPECT_EQ(r.top, note->Editor().Top() + caret.y + offset);
            EXPECT_EQ(r.left, 3);
            EXPECT_EQ(r.right - r.left, 13);
            EXPECT_EQ(r.bottom - r.top, 13);
        }
        EXPECT_EQ(note->CheckBox(body.lines), nullptr);  // the empty last line has no box

        // A walk while the keyboard is in another program puts every box where the
        // caret did.
        std::vector<int> tops;
        for (int line = 0; line < body.lines; ++line) tops.push_back(InParent(note->CheckBox(line)).top);
        SetForegroundWindow(target_->Window(0));
        PumpMessagesFor(50);
        ASSERT_FALSE(note->Editor().HasFocus());
        note->UpdateCheckBoxes(false);
        for (int line = 0; line < body.lines; ++line)
            EXPECT_EQ(InParent(note->CheckBox(line)).top, tops[static_cast<size_t>(line)]) << line;
        EXPECT_FALSE(note->Editor().HasFocus());
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteChecklistTest, TypingAndReleasingKeysMakesBoxesAndATickAloneSavesNothing) {
    NotePtr note = FocusedNote(u"Vn checklist typing", "");
    HWND edit = note->Editor().Handle();
    for (const wchar_t* text : {L"one\r", L"two\r", L"three"})
        for (const wchar_t* c = text; *c; ++c) {
            if (*c == L'\r') SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);  // the control takes Enter as a key
            else SendMessageW(edit, WM_CHAR, *c, 0);
        }
    ASSERT_EQ(note->Editor().LineCount(), 3);
    SendMessageW(edit, WM_KEYUP, VK_LEFT, 0);  // an arrow: no walk
    EXPECT_EQ(note->CheckBox(0), nullptr);
    SendMessageW(edit, WM_KEYUP, 'E', 0);
    ASSERT_TRUE(note->CheckBox(2));
    EXPECT_LT(InParent(note->CheckBox(0)).top, InParent(note->CheckBox(1)).top);
    EXPECT_LT(InParent(note->CheckBox(1)).top, InParent(note->CheckBox(2)).top);

    const int saves = host.saves;
    SendMessageW(note->CheckBox(1), BM_CLICK, 0, 0);
    EXPECT_TRUE(note->CheckBoxSlots().Ticked(1));
    EXPECT_EQ(host.saves, saves);
    EXPECT_EQ(note->Stored().CheckStateString(), u"010");
}

TEST_F(NoteChecklistTest, BoxesComeBackWithANewWindowTickedAndPlaced) {
    NotePtr note = FocusedNote(u"Vn checklist recreate", Lines(3));
    note->UpdateCheckBoxes(false);
    SendMessageW(note->CheckBox(2), BM_CLICK, 0, 0);
    const int top = InParent(note->CheckBox(2)).top;
    note->Hide();
    note->RecreateNativeWindow();
    note->Show();
    ASSERT_TRUE(note->CheckBox(2));
    EXPECT_TRUE(Ticked(note->CheckBox(2)));
    EXPECT_FALSE(Ticked(note->CheckBox(1)));
    EXPECT_TRUE(IsWindowVisible(note->CheckBox(2)));
    EXPECT_EQ(InParent(note->CheckBox(2)).top, top);
    EXPECT_EQ(note->Stored().CheckStateString(), u"001");
}

TEST_F(NoteChecklistTest, AMixedSelectionKeepsItsFormattingThroughAWalk) {
    NotePtr note = FocusedNote(u"Vn checklist mixed", "{\\rtf1 plain {\\b bold} {\\fs40 big}\\par second\\par}");
    const std::string before = note->Editor().SaveRtf();
    note->Editor().SetSelStart(0);
    note->Editor().SetSelLength(14);  // Shift+End over the mixed first line
    SendMessageW(note->Editor().Handle(), WM_KEYUP, VK_END, 0);
    ASSERT_TRUE(note->CheckBox(1));
    EXPECT_EQ(note->Editor().SelStart(), 0);
    EXPECT_EQ(note->Editor().SelLength(), 14);
    EXPECT_EQ(note->Editor().SaveRtf(), before);
}

TEST_F(NoteChecklistTest, StoredStatesTickTheBoxesAfterTheShowingWithoutTakingTheKeyboard) {
    const std::u16string caption = UniqueCaption(u"Vn checklist stored");
    auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
    note->Editor().LoadBody("{\\rtf1 first\\par second\\par third\\par}");
    note->SetPendingCheckStates(u"1011");
    const std::u16string text = note->Editor().Text();
    TargetProcess targets({caption});
    HWND target = targets.Window(0);
    SetForegroundWindow(target);
    PumpMessagesFor(100);
    ASSERT_EQ(GetForegroundWindow(), target);
    const int saves = host.saves;

    note->TimerTimer();  // the target is there: the note binds and shows by itself
    ASSERT_TRUE(note->IsShown());
    PumpMessagesFor(100);  // the import timer
    EXPECT_EQ(note->PendingCheckStates(), u"");
    ASSERT_TRUE(note->CheckBox(2));
    EXPECT_TRUE(Ticked(note->CheckBox(0)));
    EXPECT_FALSE(Ticked(note->CheckBox(1)));
    EXPECT_TRUE(Ticked(note->CheckBox(2)));
    EXPECT_EQ(note->CheckBox(3), nullptr);
    EXPECT_EQ(note->Editor().Text(), text);
    EXPECT_EQ(host.saves, saves);
    EXPECT_EQ(GetForegroundWindow(), target);
    EXPECT_NE(GetFocus(), note->Editor().Handle());
    // The boxes were placed all the same, one below the other, and the body area is back.
    EXPECT_LT(InParent(note->CheckBox(0)).top, InParent(note->CheckBox(1)).top);
    EXPECT_LT(InParent(note->CheckBox(1)).top, InParent(note->CheckBox(2)).top);
    EXPECT_EQ(WindowRect(GetParent(note->CheckBox(0))).left - WindowRect(note->Handle()).left, 24);
    EXPECT_EQ(note->Stored().CheckStateString(), u"101");
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteChecklistTest, ANoteThatAppearedByItselfTakesTheKeyboardWhenClicked) {
    const std::u16string caption = UniqueCaption(u"Vn checklist click");
    auto note = std::make_unique<TFStickyNote>(host, u"vn_win_tests.exe", caption);
    note->Editor().LoadBody("{\\rtf1 first\\par}");
    TargetProcess targets({caption});
    HWND target = targets.Window(0);
    SetForegroundWindow(target);
    PumpMessagesFor(100);
    note->TimerTimer();  // shows by itself: the target keeps the keyboard
    PumpMessagesFor(100);
    ASSERT_TRUE(note->IsShown());
    ASSERT_EQ(GetForegroundWindow(), target);

    // A person's click into the body, then a key, through the system's input.
    const RECT editor = WindowRect(note->Editor().Handle());
    PutCursor(editor.left + 60, editor.top + 8);
    INPUT input[4]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    input[2].type = input[3].type = INPUT_KEYBOARD;
    input[2].ki.wVk = input[3].ki.wVk = 'Q';
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    PumpMessagesFor(100);
    EXPECT_EQ(GetForegroundWindow(), note->Handle());
    EXPECT_EQ(GetFocus(), note->Editor().Handle());
    ASSERT_EQ(SendInput(2, input + 2, sizeof(INPUT)), 2u);
    PumpMessagesFor(100);
    EXPECT_NE(note->Editor().Text().find(u"q"), std::u16string::npos);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteChecklistTest, TheWheelScrollsTheBodyTenPixelsANotchWithinItsContent) {
    NotePtr note = FocusedNote(u"Vn checklist wheel", Lines(40));
    note->UpdateLayout();
    HWND edit = note->Editor().Handle();
    auto wheel = [&](int delta) { SendMessageW(edit, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); };
    auto position = [&] { return 1 - note->Editor().Top(); };  // the editor's top is 1 at position 0
    ASSERT_EQ(position(), 0);
    wheel(-120);
    EXPECT_EQ(position(), 10);
    wheel(-60);
    EXPECT_EQ(position(), 10);
    wheel(-60);  // two halves of a notch make one
    EXPECT_EQ(position(), 20);
    wheel(120);
    EXPECT_EQ(position(), 10);
    wheel(120 * 5);
    EXPECT_EQ(position(), 0);
    for (int i = 0; i < 200; ++i) wheel(-120);
    SCROLLINFO si{sizeof(si), SIF_ALL};
    GetScrollInfo(GetParent(edit), SB_VERT, &si);
    EXPECT_EQ(position(), si.nMax + 1 - static_cast<int>(si.nPage));
}

TEST_F(NoteChecklistTest, ALongLineWidensTheEditorAndBringsAHorizontalBar) {
    NotePtr note = FocusedNote(u"Vn checklist long line", "short");
    note->UpdateLayout();
    HWND body = GetParent(note->Editor().Handle());
    EXPECT_FALSE(GetWindowLongW(body, GWL_STYLE) & WS_HSCROLL);
    note->Editor().LoadBody(std::string(300, 'w'));
    PumpMessagesFor(50);
    RECT client{};
    GetClientRect(body, &client);
    EXPECT_GT(note->Editor().Width(), client.right);
    EXPECT_TRUE(GetWindowLongW(body, GWL_STYLE) & WS_HSCROLL);
}

} // namespace
} // namespace vn::test

namespace vn::test {
namespace {

int TopLevelDialogsOfThisThread() {
    int n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM count) {
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(h)) ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

constexpr int kFontButtonX = 200, kFontButtonY = 90;
constexpr int kSizeBox = 0x472;  // the dialog's size combo box (cmb3)

// Picks a size in the dialog's list, as a click on the list does.
void PickSize(HWND dialog, const wchar_t* size) {
    HWND box = GetDlgItem(dialog, kSizeBox);
    SendMessageW(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kSizeBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

TEST_F(NoteChecklistTest, FontCancelChangesNothingOneDialogAtATimePlacedAThirdDown) {
    NotePtr note = FocusedNote(u"Vn font cancel", "{\\rtf1 some text\\par}");
    HWND h = note->Handle();
    const std::string before = note->Editor().SaveRtf();
    const int saves = host.saves;
    RECT dialogRect{};
    int dialogsDuringSecondPress = -1;
    {
        WhileFontDialogOpen during([&](HWND dialog) {
            dialogRect = WindowRect(dialog);
            Mouse(h, WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);  // a second press while it is open
            dialogsDuringSecondPress = TopLevelDialogsOfThisThread();
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Mouse(h, WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);
    }
    EXPECT_EQ(dialogsDuringSecondPress, 1);
    EXPECT_EQ(OpenFontDialog(), nullptr);
    EXPECT_EQ(note->Editor().SaveRtf(), before);
    EXPECT_EQ(host.saves, saves);

    MONITORINFO info{sizeof(info)};
    GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    const int w = dialogRect.right - dialogRect.left, hgt = dialogRect.bottom - dialogRect.top;
    ASSERT_GT(w, 0);
    EXPECT_EQ(dialogRect.left, work.left + std::max(0L, work.right - work.left - w) / 2);
    EXPECT_EQ(dialogRect.top, work.top + std::max(0L, work.bottom - work.top - hgt) / 3);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteChecklistTest, FontOkAppliesToTheEmptySelectionRefreshesAndSchedulesASave) {
    NotePtr note = FocusedNote(u"Vn font ok", "{\\rtf1 first\\par second\\par}");
    HWND h = note->Handle();
    note->Editor().SetSelStart(6);  // the start of the second line, nothing selected
    const int saves = host.saves;
    {
        WhileFontDialogOpen during([&](HWND dialog) {
            PickSize(dialog, L"72");
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        Mouse(h, WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);
    }
    // The dialog was preset from the selection: only the size changed.
    const TextAttributes after = note->Editor().SelAttributes();
    EXPECT_EQ(after.sizePoints, 72);
    EXPECT_EQ(after.name, u"Tahoma");
    EXPECT_EQ(after.style, 0u);
    EXPECT_EQ(host.saves, saves + 1);
    ASSERT_TRUE(note->CheckBox(1));  // the checklist was refreshed
    EXPECT_EQ(GetFocus(), note->Editor().Handle());
    SendMessageW(note->Editor().Handle(), WM_CHAR, L'X', 0);
    EXPECT_NE(note->Editor().SaveRtf().find("\\fs144"), std::string::npos);
    EXPECT_EQ(note->Editor().LineText(1), u"Xsecond");
}

// Chooses `size` in the font dialog for the selection and confirms, as a person does
// with the Font button.
void ChooseSizeWithTheFontButton(HWND note, const wchar_t* size) {
    WhileFontDialogOpen during([&](HWND dialog) {
        PickSize(dialog, size);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    Mouse(note, WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);
}

// What the screen shows of `r` (screen coordinates), one value a pixel.
std::vector<unsigned> ScreenPixels(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const unsigned*>(bits);
    std::vector<unsigned> pixels(first, first + static_cast<size_t>(w) * static_cast<size_t>(h));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Once the pending paints are done, the gutter (the body area's strip left of the
// editor, where the boxes are) shows what a full repaint draws: nothing of a moved box
// is left behind. The editor with its blinking caret stays out of the comparison.
void ExpectGutterOnScreenAsRepainted(HWND body) {
    RECT gutter{};
    GetClientRect(body, &gutter);
    gutter.right = 20;
    MapWindowPoints(body, HWND_DESKTOP, reinterpret_cast<POINT*>(&gutter), 2);
    PumpMessagesFor(100);
    const std::vector<unsigned> shown = ScreenPixels(gutter);
    RedrawWindow(body, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessagesFor(100);
    const std::vector<unsigned> repainted = ScreenPixels(gutter);
    ASSERT_EQ(shown.size(), repainted.size());
    const auto differ = std::mismatch(shown.begin(), shown.end(), repainted.begin());
    const long at = static_cast<long>(differ.first - shown.begin());
    EXPECT_TRUE(differ.first == shown.end()) << "stale pixels from x " << at % 20 << ", y " << at / 20;
}

// Every box stands where a walk from a clean state puts it: the caret's y at the
// line's start plus the offset for the size there; and no box covers another.
void ExpectBoxesAtTheirLines(TFStickyNote& note) {
    RichEdit& editor = note.Editor();
    const int lines = editor.LineCount();
    std::vector<RECT> boxes;
    for (int line = 0; line < lines; ++line) {
        HWND box = note.CheckBox(line);
        ASSERT_TRUE(box && IsWindowVisible(box)) << line;
        boxes.push_back(InParent(box));
    }
    ASSERT_TRUE(editor.HasFocus());
    int offset = 0;
    for (int line = 0; line < lines; ++line) {
        SCOPED_TRACE(line);
        editor.SetSelStart(editor.LineStart(line));
        POINT caret{};
        ASSERT_TRUE(editor.CaretPos(caret));
        if (const std::optional<int> hit = note::CheckBoxOffset(editor.SelSize())) offset = *hit;
        EXPECT_EQ(boxes[static_cast<size_t>(line)].top, editor.Top() + caret.y + offset);
        if (line > 0) EXPECT_GE(boxes[static_cast<size_t>(line)].top, boxes[static_cast<size_t>(line) - 1].bottom);
    }
}

TEST_F(NoteChecklistTest, AFontChosenForPartOfTheTextLeavesEveryBoxBesideItsLineAndNoTraces) {
    const std::string three = "{\\rtf1 first\\par second\\par third\\par}";
    const struct {
        const char* name;
        std::string body;
        int from, length;  // the selection the font is chosen for
        const wchar_t* size;
        int notches = 0;          // wheel notches towards the person before the choice
        bool elsewhere = false;   // the keyboard is in the target's window meanwhile
    } cases[] = {
        {"first line", three, 0, 5, L"14"},
        {"first line and its break", three, 0, 6, L"14"},
        {"middle line", three, 6, 6, L"14"},
        {"whole text", three, 0, 22, L"14"},
        {"first line, 72 pt", three, 0, 5, L"72"},
        {"first line, the keyboard elsewhere", three, 0, 5, L"14", 0, true},
        {"a line of a scrolled body", Lines(30), 49, 6, L"14", 5},
        {"the whole of a tall body scrolled to its end", "{\\rtf1\\fs144 " + Lines(12).substr(7), 0, 200, L"10", 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NotePtr note = FocusedNote(u"Vn font boxes", c.body);
        note->UpdateLayout();
        HWND edit = note->Editor().Handle();
        SendMessageW(edit, WM_KEYUP, 'T', 0);  // the boxes as typing left them
        for (int i = 0; i < c.notches; ++i) SendMessageW(edit, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
        ASSERT_EQ(note->Editor().Top() < 1, c.notches > 0);
        note->Editor().SetSelStart(c.from);
        note->Editor().SetSelLength(c.length);
        if (c.elsewhere) {
            SetForegroundWindow(target_->Window(0));
            PumpMessagesFor(50);
            ASSERT_NE(GetFocus(), edit);
        }
        ChooseSizeWithTheFontButton(note->Handle(), c.size);
        ExpectBoxesAtTheirLines(*note);
        PumpMessagesFor(50);
        ExpectBoxesAtTheirLines(*note);
        ExpectGutterOnScreenAsRepainted(GetParent(edit));
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteChecklistTest, AQuitWhileTheFontDialogIsOpenCountsAsCancel) {
    NotePtr note = FocusedNote(u"Vn font quit", "{\\rtf1 text\\par}");
    const std::string before = note->Editor().SaveRtf();
    const int saves = host.saves;
    {
        WhileFontDialogOpen during([&](HWND dialog) {
            PickSize(dialog, L"48");
            PostQuitMessage(0);  // the tray menu's Quit
        });
        Mouse(note->Handle(), WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);
    }
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // still there for the program's loop
    EXPECT_EQ(note->Editor().SaveRtf(), before);
    EXPECT_EQ(host.saves, saves);
}

TEST_F(NoteChecklistTest, AFontChosenForANoteDeletedMeanwhileIsNotApplied) {
    TargetProcess targets({UniqueCaption(u"Vn font delete")});
    TFStickyNote& note = ListedNoteOn(targets.Window(0));
    HWND h = note.Handle();
    const int saves = host.saves;
    {
        WhileFontDialogOpen during([&](HWND dialog) {
            note.Close();  // the Delete button of the note, pressed while the dialog is up
            PickSize(dialog, L"36");
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        Mouse(h, WM_LBUTTONDOWN, kFontButtonX, kFontButtonY);
    }
    EXPECT_EQ(host.saves, saves);
    EXPECT_TRUE(removed.empty()) << "freed inside its own Font button";
    PumpMessagesFor(50);
    EXPECT_EQ(removed.size(), 1u);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vn::test
