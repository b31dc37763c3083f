// The All Notes window in the running program: the real list view, search box and
// preview over a store on disk, its buttons, and the hotkeys with their registration.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <richedit.h>

#include "app/all_notes_layout.h"
#include "app/settings_win.h"
#include "attach/identity_win.h"
#include "attach/window_picker.h"
#include "attach/window_system_win.h"
#include "platform/gdi_win.h"
#include "platform/high_contrast_win.h"
#include "platform/scope_exit.h"
#include "platform/unique_handle_win.h"

#include "child_roles_win.h"
#include "dpi_support_win.h"
#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

using Rows = std::vector<std::vector<std::u16string>>;

class AllNotesWindowTest : public WiringTest {
protected:
    AllNotesWindowTest() : WiringTest("vn-all-notes") {}

    // Three notes whose windows are not there; their texts read once started.
    void StartWithNotes() {
        folder.Write("Information\\0.txt", Rtf("Dear Anna,\\par the \\'dcbersicht is attached"));
        folder.Write("Information\\1.txt", Rtf("\\par Budget 2027\\par see letter"));
        folder.Write("Information\\2.txt", "plain text body\r\nline two");
        folder.Write("Information\\Jotlets.txt",
                     IndexFile({"notepad.exe|Vn absent letter=PC-1|12/10/2026 9:00:00 PM|Information\\0.txt|",
                                "wordpad.exe|Vn absent plan=PC-2|12/9/2026 10:00:00 AM|Information\\1.txt|010",
                                "notepad.exe|Vn absent todo=PC-1|not a date|Information\\2.txt|"}));
        Start();
        ASSERT_TRUE(PumpUntil([&] { return main->SearchTexts().Pending() == 0; }, 5000));
    }

    AllNotesWindow& Open() {
        main->OpenAllNotes();
        PumpMessagesFor(50);
        return *main->AllNotes();
    }

    Rows ListRows() const {
        HWND list = main->AllNotes()->List();
        HWND header = ListView_GetHeader(list);
        const int columns = Header_GetItemCount(header);
        Rows rows;
        for (int r = 0; r < ListView_GetItemCount(list); ++r) {
            rows.emplace_back();
            for (int c = 0; c < columns; ++c) {
                wchar_t text[256] = {};
                ListView_GetItemText(list, r, c, text, 256);
                rows.back().push_back(U16(text));
            }
        }
        return rows;
    }
    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> cells;
        for (const auto& row : ListRows()) cells.push_back(row.at(column));
        return cells;
    }

    void Type(const std::u16string& text) { SetWindowTextW(main->AllNotes()->SearchBox(), W(text)); }
    void Click(int id) { SendMessageW(main->AllNotes()->Button(id), BM_CLICK, 0, 0); }
    void SelectRow(int row) {
        main->AllNotes()->Select({static_cast<size_t>(row)});
        PumpMessagesFor(20);
    }
    std::u16string PreviewText() const { return ControlText(main->AllNotes()->Preview()); }
    // The preview's background colour at a character, or nothing where it has none of its own.
    std::optional<COLORREF> MarkAt(int at) const {
        HWND preview = main->AllNotes()->Preview();
        CHARRANGE range{at, at + 1};
        SendMessageW(preview, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        SendMessageW(preview, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        if (!(format.dwMask & CFM_BACKCOLOR) || (format.dwEffects & CFE_AUTOBACKCOLOR)) return std::nullopt;
        return format.crBackColor;
    }
};

TEST_F(AllNotesWindowTest, ListsEveryStoredNoteAndFiltersItAtEveryKeystroke) {
    StartWithNotes();
    AllNotesWindow& window = Open();
    HWND hwnd = window.Handle();
    EXPECT_EQ(ReadWindowText(hwnd), u"All Notes");
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "it has a taskbar button";
    EXPECT_FALSE(WindowMayTakeNote(TheWindowSystem(), ToWindowId(hwnd))) << "it can never be picked";
    EXPECT_EQ(GetFocus(), window.SearchBox());

    // Oldest first; the label that is no date last.
    EXPECT_EQ(ListRows(), (Rows{
        {u"wordpad.exe - Vn absent plan", u"Budget 2027", u"Waiting for its window", u"PC-2", u"12/9/2026 10:00:00 AM"},
        {u"notepad.exe - Vn absent letter", u"Dear Anna,", u"Waiting for its window", u"PC-1", u"12/10/2026 9:00:00 PM"},
        {u"notepad.exe - Vn absent todo", u"plain text body", u"Waiting for its window", u"PC-1", u"not a date"},
    }));

    Type(u"ubersicht");
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"notepad.exe - Vn absent letter"}));
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"the Übersicht is attached"})) << "the line that matches";
    const std::u16string preview = PreviewText();
    EXPECT_NE(preview.find(u"Dear Anna,"), std::u16string::npos) << "the whole text";
    const int match = static_cast<int>(preview.find(u"Übersicht"));
    ASSERT_GE(match, 0);
    EXPECT_TRUE(MarkAt(match)) << "the match is highlighted";
    EXPECT_FALSE(MarkAt(0));

    Type(u"PC-1 LINE");
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"notepad.exe - Vn absent todo"}));
    Type(u"letter");  // a caption and a text
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"wordpad.exe - Vn absent plan", u"notepad.exe - Vn absent letter"}));
    Type(u"");
    EXPECT_EQ(ListRows().size(), 3u);

    // A click on a header sorts by that column, again the other way round.
    NMLISTVIEW click{};
    click.hdr = {window.List(), 101, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iSubItem = 0;
    SendMessageW(hwnd, WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Column(0).front(), u"notepad.exe - Vn absent letter");
    SendMessageW(hwnd, WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Column(0).front(), u"wordpad.exe - Vn absent plan");
}

TEST_F(AllNotesWindowTest, ThePreviewShowsTheTicksOfANoteThatHasAny) {
    StartWithNotes();
    Open();
    SelectRow(0);  // the plan: its second line is ticked
    EXPECT_EQ(PreviewText(), u"\u2610 \r\n\u2611 Budget 2027\r\n\u2610 see letter");
    SelectRow(1);
    EXPECT_EQ(PreviewText().find(u"\u2610"), std::u16string::npos) << "no boxes on a note without ticks";
}

TEST_F(AllNotesWindowTest, TheListFollowsTypingAndDeletingAndTheWindowKeepsItsPlace) {
    StartWithNotes();
    AllNotesWindow& window = Open();
    TFStickyNote& todo = Note(2);
    todo.Editor().LoadBody(BodyFile::Read("shopping: stamps", SystemCodePage()));
    ASSERT_TRUE(PumpUntil([&] { return Column(1).back() == u"shopping: stamps"; }, 3000)) << "typed text shows";

    SelectRow(2);
    EXPECT_TRUE(IsWindowEnabled(window.Button(AllNotesWindow::kDeleteId)));
    EXPECT_FALSE(IsWindowEnabled(window.Button(AllNotesWindow::kShowId))) << "its window is not there";
    Click(AllNotesWindow::kDeleteId);
    EXPECT_EQ(main->Jotlets().size(), 2u) << "no question: it is gone at once";
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"wordpad.exe - Vn absent plan", u"notepad.exe - Vn absent letter"}));
    Type(u"stamps");
    EXPECT_TRUE(ListRows().empty()) << "nor is it found";

    MoveWindow(window.Handle(), 40, 30, 700, 450, TRUE);
    Click(AllNotesWindow::kCloseId);
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    const auto kept = ReadRectSetting(ReadSetting(kAllNotesPlaceValue).value_or(u""));
    ASSERT_TRUE(kept);
    EXPECT_EQ((std::vector<LONG>{kept->left, kept->top, kept->right, kept->bottom}),
              (std::vector<LONG>{40, 30, 740, 480}));

    // A new program's window opens where the last one closed, with an empty search.
    main->Destroy();
    main.reset();
    Start();
    AllNotesWindow& again = Open();
    RECT place{};
    GetWindowRect(again.Handle(), &place);
    EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right, place.bottom}), (std::vector<LONG>{40, 30, 740, 480}));
    EXPECT_EQ(ControlText(again.SearchBox()), u"");
}

// The bin's view follows a delete and a restore made elsewhere (a note's own Delete,
// the click on the undo balloon), not only its own buttons.
TEST_F(AllNotesWindowTest, TheBinViewFollowsDeletesAndRestoresMadeElsewhere) {
    StartWithNotes();
    Open();
    Click(AllNotesWindow::kBinId);
    EXPECT_TRUE(ListRows().empty());
    main->DeleteNotes({&Note(0)});
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"notepad.exe - Vn absent letter"}));
    main->RestoreFromBin({main->RecycleBinRows().at(0).id});
    EXPECT_TRUE(ListRows().empty()) << "the restored note still shows in the bin";
    EXPECT_EQ(main->Jotlets().size(), 3u);
}

TEST_F(AllNotesWindowTest, StickToWindowMovesAWaitingNoteOntoThePickedWindowWithItsTextAndLabels) {
    StartWithNotes();
    TargetProcess targets({u"Vn new home"});
    HWND target = targets.Window(0);
    AllNotesWindow& window = Open();
    SelectRow(1);  // the letter
    TFStickyNote& letter = Note(0);
    Click(AllNotesWindow::kStickId);
    EXPECT_TRUE(main->SelectingCaptureWindow());
    EXPECT_EQ(main->Tray().BalloonText(), kBalloonPickPrompt) << "the same prompt as Add a Note";

    ASSERT_TRUE(BringToFront(target));
    Hook(WM_LBUTTONDOWN);
    Hook(WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return letter.WndParent() == target && letter.IsShown(); }, 3000));
    EXPECT_EQ(main->Jotlets().size(), 3u) << "no note was made";
    EXPECT_EQ(letter.Caption(), u"vn_win_tests.exe - Vn new home");
    EXPECT_EQ(letter.OwnerText(), u"PC-1");
    EXPECT_EQ(letter.TimeText(), u"12/10/2026 9:00:00 PM");
    EXPECT_EQ(letter.Editor().Text(), u"Dear Anna,\rthe Übersicht is attached");
    EXPECT_EQ(GetWindow(letter.Handle(), GW_OWNER), target);
    RECT targetRect{}, noteRect{};
    GetWindowRect(target, &targetRect);
    GetWindowRect(letter.Handle(), &noteRect);
    EXPECT_EQ(noteRect.left, targetRect.left + 5);
    EXPECT_EQ(noteRect.top, targetRect.top + 5);
    ASSERT_TRUE(PumpUntil([&] { return Column(0).at(1) == u"vn_win_tests.exe - Vn new home"; }, 3000));
    EXPECT_EQ(Column(2).at(1), u"On screen");

    main->SaveToFile();
    const std::string index = folder.Read("Information\\Jotlets.txt");
    EXPECT_NE(index.find("vn_win_tests.exe|Vn new home=PC-1|12/10/2026 9:00:00 PM|"), std::string::npos) << index;
    EXPECT_EQ(index.find("Vn absent letter"), std::string::npos) << "the old identity is gone";

    // A right click cancels a stick as it cancels a pick: the note stays where it is.
    SelectRow(1);
    Click(AllNotesWindow::kStickId);
    Hook(WM_RBUTTONDOWN);
    Hook(WM_RBUTTONUP);
    PumpMessagesFor(300);
    EXPECT_EQ(letter.WndParent(), target);
    (void)window;
}

TEST_F(AllNotesWindowTest, KeysSearchMoveIntoTheListShowAndClose) {
    StartWithNotes();
    AllNotesWindow& window = Open();
    auto key = [&](HWND to, WPARAM vk) {
        MSG msg{to, WM_KEYDOWN, vk, 0, 0, {}};
        return window.PreTranslate(msg);
    };
    EXPECT_TRUE(key(window.SearchBox(), VK_DOWN));
    EXPECT_EQ(GetFocus(), window.List());
    EXPECT_TRUE(key(window.List(), VK_DELETE));
    EXPECT_EQ(main->Jotlets().size(), 2u);
    EXPECT_TRUE(key(window.List(), VK_ESCAPE));
    EXPECT_FALSE(window.IsOpen());
    main->OpenAllNotes();
    EXPECT_EQ(GetFocus(), window.SearchBox()) << "typing goes to the search box when it opens";
}

// --- Display scale and high contrast --------------------------------------------------

// Where the window's controls stand against the layout of its client area at `dpi`.
void ExpectLaidOutAt(AllNotesWindow& window, int dpi) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(window.Dpi(), dpi);
    RECT client{};
    GetClientRect(window.Handle(), &client);
    const int widths[] = {kAllNotesButtonWidth, kAllNotesButtonWidth, kAllNotesButtonWidth, kAllNotesButtonWidth};
    const AllNotesLayout layout = LayOutAllNotes(client.right, client.bottom, dpi, widths);
    const auto edges = [](const Box& b) { return std::vector<LONG>{b.x, b.y, b.x + b.width, b.y + b.height}; };
    EXPECT_EQ(Edges(ChildRect(window.SearchBox())), edges(layout.search));
    EXPECT_EQ(Edges(ChildRect(window.List())), edges(layout.list));
    EXPECT_EQ(Edges(ChildRect(window.Preview())), edges(layout.preview));
    EXPECT_EQ(Edges(ChildRect(window.Button(AllNotesWindow::kShowId))), edges(layout.buttons[0]));
    EXPECT_EQ(Edges(ChildRect(window.Button(AllNotesWindow::kCloseId))), edges(layout.close));
    EXPECT_EQ(ListView_GetColumnWidth(window.List(), 0), ScaleForDpi(215, dpi)) << "the title column";
}

TEST_F(AllNotesWindowTest, AtAnotherScaleItLaysOutForItsDpiFollowsAMoveAndKeepsItsPlaceInTheScreensTerms) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAllNotesPlaceValue);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAllNotesDpiValue);
    auto unpin = OnScopeExit([] { PinDpiForTests(std::nullopt); });
    PinDpiForTests(144);
    StartWithNotes();
    AllNotesWindow& window = Open();
    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    const WindowSize first = DefaultAllNotesSize(144, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    EXPECT_EQ((WindowSize{frame.right - frame.left, frame.bottom - frame.top}), first);
    ExpectLaidOutAt(window, 144);
    const LONG font144 = FontHeight(window.SearchBox());

    MoveToDpi(window.Handle(), 96);
    ExpectLaidOutAt(window, 96);
    EXPECT_EQ(font144, MulDiv(FontHeight(window.SearchBox()), 144, 96)) << "the font was made for each scale";
    MoveToDpi(window.Handle(), 144);
    ExpectLaidOutAt(window, 144);

    // Closed at 150 %; the next start finds that monitor at 100 %: the same corner, and
    // the same share of the screen.
    MoveWindow(window.Handle(), 40, 30, 1050, 675, TRUE);
    Click(AllNotesWindow::kCloseId);
    EXPECT_EQ(ReadSetting(kAllNotesDpiValue), std::optional<std::u16string>(u"144"));
    main->Destroy();
    main.reset();
    PinDpiForTests(96);
    Start();
    AllNotesWindow& again = Open();
    GetWindowRect(again.Handle(), &frame);
    EXPECT_EQ(Edges(frame), (std::vector<LONG>{40, 30, 740, 480}));
    ExpectLaidOutAt(again, 96);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAllNotesPlaceValue);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAllNotesDpiValue);
}

// The colours the window shows: its background, the status line's colours, the list's,
// and a marked word's face and text colour in the preview.
struct AllNotesColours {
    COLORREF erased, statusText, statusBack, listBack, listText, listTextBack, markFace, markText;
    bool markTextOwn;  // the word keeps the note's own (automatic) text colour
    bool operator==(const AllNotesColours&) const = default;
};

AllNotesColours ColoursOf(AllNotesWindow& window, int markAt) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
    ScopedSelectObject selected(dc.get(), bitmap.get());
    SendMessageW(window.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    AllNotesColours c{};
    c.erased = GetPixel(dc.get(), 1, 1);
    SendMessageW(window.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(window.Status()));
    c.statusText = GetTextColor(dc.get());
    c.statusBack = GetBkColor(dc.get());
    c.listBack = ListView_GetBkColor(window.List());
    c.listText = ListView_GetTextColor(window.List());
    c.listTextBack = ListView_GetTextBkColor(window.List());
    CHARRANGE range{markAt, markAt + 1};
    SendMessageW(window.Preview(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(window.Preview(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    c.markFace = format.dwEffects & CFE_AUTOBACKCOLOR ? CLR_NONE : format.crBackColor;
    c.markTextOwn = (format.dwEffects & CFE_AUTOCOLOR) != 0;
    c.markText = c.markTextOwn ? CLR_NONE : format.crTextColor;
    return c;
}

TEST_F(AllNotesWindowTest, HighContrastGivesTheBackgroundListAndMarksTheSystemColoursAndSwitchingBackRestoresThem) {
    constexpr int kIndexes[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};
    constexpr COLORREF kScheme[] = {RGB(0, 0, 32), RGB(255, 255, 0), RGB(0, 160, 0), RGB(250, 0, 250), RGB(128, 64, 0)};
    COLORREF saved[std::size(kIndexes)];
    for (size_t i = 0; i < std::size(kIndexes); ++i) saved[i] = GetSysColor(kIndexes[i]);
    auto restore = OnScopeExit([&] {
        PinHighContrastForTests(std::nullopt);
        ReadHighContrast();
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved);
    });
    StartWithNotes();
    AllNotesWindow& window = Open();
    Type(u"ubersicht");
    const int word = static_cast<int>(PreviewText().find(u"\u00dcbersicht"));
    const int other = static_cast<int>(PreviewText().find(u"attached"));
    ASSERT_GT(word, 0);
    const AllNotesColours normal = ColoursOf(window, word);
    EXPECT_EQ(normal.markFace, RGB(255, 235, 120));
    EXPECT_TRUE(normal.markTextOwn);

    SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kScheme);
    PinHighContrastForTests(true);
    SendMessageW(window.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(GetUpdateRect(window.Handle(), nullptr, FALSE)) << "it repaints";
    const AllNotesColours contrast = ColoursOf(window, word);
    EXPECT_EQ(contrast, (AllNotesColours{kScheme[0], kScheme[4], kScheme[0], kScheme[0], kScheme[1], kScheme[0],
                                         kScheme[2], kScheme[3], false}));
    // Another search in high contrast: the old word's mark goes with its colours, and
    // the word is in the note's own colour again.
    Type(u"attached");
    EXPECT_EQ(ColoursOf(window, other).markFace, kScheme[2]);
    const AllNotesColours unmarked = ColoursOf(window, word);
    EXPECT_EQ(unmarked.markFace, CLR_NONE);
    EXPECT_TRUE(unmarked.markTextOwn);

    Type(u"ubersicht");
    SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved);
    PinHighContrastForTests(false);
    SendMessageW(window.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(ColoursOf(window, word), normal) << "every colour as before";
    EXPECT_EQ(ColoursOf(window, other).markFace, CLR_NONE);
}

// --- Hotkeys ------------------------------------------------------------------------

// Another program that holds Win+Alt+N until told to end. args: ready event, end event.
const bool kHotkeyHolder = RegisterChildRole(L"hotkey-holder", [](int argc, wchar_t** argv) {
    if (argc < 2) return 90;
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!RegisterHotKey(window, 7, MOD_WIN | MOD_ALT, 'N')) return 91;
    UniqueKernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[0]));
    UniqueKernelHandle end(OpenEventW(SYNCHRONIZE, FALSE, argv[1]));
    if (!ready || !end) return 92;
    SetEvent(ready.get());
    WaitForSingleObject(end.get(), 30000);
    return 0;
});

class HotkeysTest : public WiringTest {
protected:
    HotkeysTest() : WiringTest("vn-hotkeys") {}
    void SetUp() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAddNoteHotkeyValue);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kAllNotesHotkeyValue);
    }
    // Whether this process could take the combination now: not when the program holds it.
    static bool Free(UINT modifiers, UINT key) {
        if (!RegisterHotKey(nullptr, 0x3FFF, modifiers, key)) return false;
        UnregisterHotKey(nullptr, 0x3FFF);
        return true;
    }
    // The balloons after the start-up one, as each is clicked away.
    std::vector<std::u16string> LaterBalloons() {
        std::vector<std::u16string> texts;
        for (int i = 0; i < 3; ++i) {
            const unsigned before = main->Tray().BalloonsShown();
            SendMessageW(main->Tray().MessageWindow(), kTrayCallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
            if (main->Tray().BalloonsShown() == before) break;
            texts.push_back(main->Tray().BalloonText());
        }
        return texts;
    }
};

TEST_F(HotkeysTest, TheDefaultsAreRegisteredAndTheAddNoteKeyPutsANoteOnTheWindowInFront) {
    Start();
    EXPECT_FALSE(Free(MOD_WIN | MOD_ALT, 'N'));
    EXPECT_FALSE(Free(MOD_WIN | MOD_ALT, 'F'));
    EXPECT_TRUE(LaterBalloons().empty()) << "nothing to report";

    TargetProcess targets({u"Vn hotkey target"});
    ASSERT_TRUE(BringToFront(targets.Window(0)));
    PostMessageW(main->Handle(), WM_HOTKEY, static_cast<WPARAM>(HotkeyId::AddNote), MAKELPARAM(MOD_WIN | MOD_ALT, 'N'));
    ASSERT_TRUE(PumpUntil([&] { return main->Jotlets().size() == 1; }, 3000));
    EXPECT_EQ(Note(0).WndParent(), targets.Window(0));
    EXPECT_FALSE(main->SelectingCaptureWindow()) << "no picking step";

    // The same rules as a pick: no note on a window without a caption or on the program's own.
    TargetProcess untitled({u""});
    ASSERT_TRUE(BringToFront(untitled.Window(0)));
    PostMessageW(main->Handle(), WM_HOTKEY, static_cast<WPARAM>(HotkeyId::AddNote), 0);
    PumpMessagesFor(100);
    PostMessageW(main->Handle(), WM_HOTKEY, static_cast<WPARAM>(HotkeyId::AllNotes), 0);
    ASSERT_TRUE(PumpUntil([&] { return main->AllNotes() && main->AllNotes()->IsOpen(); }, 3000));
    ASSERT_TRUE(BringToFront(main->AllNotes()->Handle()));
    PostMessageW(main->Handle(), WM_HOTKEY, static_cast<WPARAM>(HotkeyId::AddNote), 0);
    PumpMessagesFor(100);
    EXPECT_EQ(main->Jotlets().size(), 1u);
    EXPECT_EQ(GetFocus(), main->AllNotes()->SearchBox()) << "the search box is ready";
}

TEST_F(HotkeysTest, AKeyAnotherProgramHoldsIsReportedOnceByNameAndTheOtherStillWorks) {
    const std::wstring readyName = L"vn-hotkey-ready-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring endName = L"vn-hotkey-end-" + std::to_wstring(GetCurrentProcessId());
    UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    UniqueKernelHandle end(CreateEventW(nullptr, TRUE, FALSE, endName.c_str()));
    UniqueKernelHandle holder = StartChildRole(L"hotkey-holder", {readyName, endName});
    ASSERT_EQ(WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0);

    Start();
    EXPECT_FALSE(Free(MOD_WIN | MOD_ALT, 'F')) << "the other one works";
    EXPECT_EQ(LaterBalloons(), (std::vector<std::u16string>{
        u"Another program already uses these keys, so they do nothing in Vantory Note: Win+Alt+N."}));
    SetEvent(end.get());
    WaitForSingleObject(holder.get(), 20000);
}

TEST_F(HotkeysTest, TheRegistryValuesChangeOrTurnOffEachKey) {
    WriteSetting(kAddNoteHotkeyValue, u"Off");
    WriteSetting(kAllNotesHotkeyValue, u"Ctrl+Shift+F11");
    Start();
    EXPECT_TRUE(Free(MOD_WIN | MOD_ALT, 'N')) << "turned off";
    EXPECT_TRUE(Free(MOD_WIN | MOD_ALT, 'F'));
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_SHIFT, VK_F11));
    main->Destroy();
    EXPECT_TRUE(Free(MOD_CONTROL | MOD_SHIFT, VK_F11)) << "given back at the end";
    main.reset();

    WriteSetting(kAddNoteHotkeyValue, u"Win+Alt+Nonsense");
    Start();
    EXPECT_FALSE(Free(MOD_WIN | MOD_ALT, 'N')) << "a value that does not read keeps the default";
}

} // namespace
} // namespace vn::test
