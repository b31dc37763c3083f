#include "note/rich_edit_win.h"

#include "platform/errors.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

#include <ole2.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vn {
namespace {

// A child window standing in for the note's body area: a plain window of the layer,
// whose default handling gives the editor its own notifications back.
class HostWindow : public Window {
public:
    void Create(HWND topLevel) {
        RegisterClass(L"VnTestRichEditHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        CreateNative(WS_EX_CONTROLPARENT, L"VnTestRichEditHost", L"", WS_CHILD | WS_VISIBLE, 0, 0, 480, 280,
                     topLevel);
    }
};

struct Recorder {
    int changes = 0;
    std::vector<SIZE> resizes;
    struct Key {
        WORD vk;
        bool shift, alt, ctrl;
    };
    std::vector<Key> keys;
    std::vector<int> wheels;
    std::vector<POINT> menus;

    RichEdit::Events Events() {
        RichEdit::Events e;
        e.onChange = [this] { ++changes; };
        e.onResizeRequest = [this](int w, int h) { resizes.push_back({w, h}); };
        e.onKeyUp = [this](WORD vk, bool s, bool a, bool c) { keys.push_back({vk, s, a, c}); };
        e.onMouseWheel = [this](int d) { wheels.push_back(d); };
        e.onContextMenu = [this](POINT p) { menus.push_back(p); };
        return e;
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class RichEditTest : public ::testing::Test {
protected:
    // One shown top-level window for the whole suite: under Wine without a window
    // manager, hiding or destroying a shown top-level window waits about 2 s.
    static void SetUpTestSuite() {
        Window::RegisterClass(L"VnTestRichEditTop");
        top = CreateWindowExW(WS_EX_CONTROLPARENT, L"VnTestRichEditTop", L"rich edit test", WS_POPUP | WS_VISIBLE, 40,
                              40, 500, 300, nullptr, nullptr, Window::Instance(), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(top); }

    void SetUp() override {
        ASSERT_NE(top, nullptr);
        host.Create(top);
        edit = std::make_unique<RichEdit>(rec.Events());
        edit->Create(host.Handle(), 20, 1, 304, 104);
        Pump();
    }
    void TearDown() override {
        edit.reset();
        host.DestroyHandle();
        Pump();
    }
    // A key as the message loop delivers it: the key-down and its translated character.
    void Press(WORD vk) {
        SendMessageW(edit->Handle(), WM_KEYDOWN, vk, 1);
        SendMessageW(edit->Handle(), WM_CHAR, vk, 1);
        SendMessageW(edit->Handle(), WM_KEYUP, vk, 0xC0000001);
    }
    void Type(const std::wstring& s) {
        for (wchar_t c : s) SendMessageW(edit->Handle(), WM_CHAR, c, 1);
    }

    static inline HWND top = nullptr;
    Recorder rec;
    HostWindow host;
    std::unique_ptr<RichEdit> edit;
};

std::string Rtf(const std::string& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}{\\f1\\fmodern Courier New;}{\\f2\\fswiss Arial;}}"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
           body + "}";
}

std::string Utf8Body(const std::string& text) { return "\xEF\xBB\xBF" + text; }

// Selects line i whole (without its line break).
void SelectLine(RichEdit& e, int line) {
    int start = 0;
    for (int i = 0; i < line; ++i) start += static_cast<int>(e.LineText(i).size()) + 1;
    e.SetSelStart(start);
    e.SetSelLength(static_cast<int>(e.LineText(line).size()));
}

std::vector<std::u16string> Lines(const RichEdit& e) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < e.LineCount(); ++i) lines.push_back(e.LineText(i));
    return lines;
}

void ExpectAttributes(const TextAttributes& got, const TextAttributes& want, const std::string& what) {
    EXPECT_EQ(Utf8(got.name), Utf8(want.name)) << what;
    EXPECT_EQ(got.sizePoints, want.sizePoints) << what;
    EXPECT_EQ(got.autoColor, want.autoColor) << what;
    EXPECT_EQ(got.color, want.autoColor ? GetSysColor(COLOR_WINDOWTEXT) : want.color) << what;
    EXPECT_EQ(got.style, want.style) << what;
}

TextAttributes Attr(const char16_t* name, int size, COLORREF color, bool autoColor, unsigned style) {
    return {name, size, color, autoColor, style};
}

void Apply(RichEdit& e, const TextAttributes& a) {
    e.SetSelFontName(a.name);
    e.SetSelSize(a.sizePoints);
    e.SetSelColor(a.color, a.autoColor);
    e.SetSelStyle(a.style);
}

TEST_F(RichEditTest, FormattingSurvivesTheRtfRoundTrip) {
    const std::vector<TextAttributes> lines = {
        Attr(u"Tahoma", 10, 0, true, 0),
        Attr(u"Courier New", 12, RGB(255, 0, 0), false, StyleBold),
        Attr(u"Arial", 20, RGB(0, 128, 255), false, StyleItalic | StyleUnderline),
        Attr(u"Times New Roman", 72, RGB(0, 0, 0), false, StyleStrikeOut),
        Attr(u"Tahoma", 8, 0, true, StyleBold | StyleItalic | StyleUnderline | StyleStrikeOut),
    };
    edit->LoadBody(Utf8Body("zero\r\none\r\ntwo\r\nthree \xE2\x82\xAC\r\nfour"));
    for (size_t i = 0; i < lines.size(); ++i) {
        SelectLine(*edit, static_cast<int>(i));
        Apply(*edit, lines[i]);
    }
    const std::string rtf = edit->SaveRtf();
    ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;

    Recorder other;
    RichEdit copy(other.Events());  // never shown: answers through its hidden control
    copy.LoadBody(rtf);
    EXPECT_EQ(Utf8(copy.Text()), "zero\rone\rtwo\rthree \xE2\x82\xAC\rfour");
    for (size_t i = 0; i < lines.size(); ++i) {
        SelectLine(copy, static_cast<int>(i));
        ExpectAttributes(copy.SelAttributes(), lines[i], "line " + std::to_string(i));
    }
    EXPECT_EQ(copy.SaveRtf(), rtf);
}

TEST_F(RichEditTest, ReadsRtfWrittenElsewhere) {
    edit->LoadBody(Rtf("\\f0\\fs20 plain\\par"
                       "\\f1\\fs28\\cf1\\b bold red\\par"
                       "\\f2\\fs21\\cf2\\b0\\i\\ul half point \\u8364?\\par"
                       "\\cf0\\i0\\ulnone\\strike auto"));
    EXPECT_EQ(Lines(*edit), (std::vector<std::u16string>{u"plain", u"bold red", u"half point \u20AC", u"auto"}));
    const std::vector<TextAttributes> want = {
        Attr(u"Tahoma", 10, 0, true, 0),
        Attr(u"Courier New", 14, RGB(255, 0, 0), false, StyleBold),
        Attr(u"Arial", 10, RGB(0, 0, 255), false, StyleItalic | StyleUnderline),  // 10.5 pt reads as 10
        Attr(u"Arial", 10, 0, true, StyleStrikeOut),
    };
    for (size_t i = 0; i < want.size(); ++i) {
        SelectLine(*edit, static_cast<int>(i));
        ExpectAttributes(edit->SelAttributes(), want[i], "line " + std::to_string(i));
    }
}

TEST_F(RichEditTest, PlainTextBodies) {
    wchar_t ansiE = 0;
    MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, &ansiE, 1);
    const std::u16string e(1, static_cast<char16_t>(ansiE));
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::u16string> lines;
    };
    const std::vector<Case> cases = {
        {"ANSI, CR LF", "caf\xE9\r\nb", {u"caf" + e, u"b"}},
        {"ANSI, lone LF and CR", "a\nb\rc\n", {u"a", u"b", u"c"}},
        {"UTF-8", "\xEF\xBB\xBF\xE2\x82\xAC\r\n\r\nz", {u"\u20AC", u"", u"z"}},
        {"UTF-16LE", std::string("\xFF\xFE\xAC\x20\r\0\n\0x\0", 10), {u"\u20AC", u"x"}},
        {"UTF-16BE", std::string("\xFE\xFF\x20\xAC\0\n\0y", 8), {u"\u20AC", u"y"}},
        {"binary bytes are text too", "\x89PNG\r\n\x1A\n", {u"\u2030PNG", u"\x1A"}},
        {"RTF that the control refuses", "{\\rtf1 open {\\b group", {u"{\\rtf1 open {\\b group"}},
    };
    for (const auto& c : cases) {
        edit->LoadBody(Rtf("\\f1\\fs40\\cf1\\b previous"));  // plain text must not inherit this
        edit->LoadBody(c.bytes);
        EXPECT_EQ(Lines(*edit), c.lines) << c.what;
        edit->SetSelStart(0);
        ExpectAttributes(edit->SelAttributes(), Attr(u"Tahoma", 10, 0, true, 0), c.what);
    }
}

TEST_F(RichEditTest, LineCountIgnoresAnEmptyLastLine) {
    struct Case {
        std::string body;
        std::vector<std::u16string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"\r\n", {u""}},
        {"abc", {u"abc"}},
        {"abc\r\n", {u"abc"}},
        {"a\r\nb\r\nc", {u"a", u"b", u"c"}},
        {"a\r\n\r\n", {u"a", u""}},
        {"\r\n\r\nx", {u"", u"", u"x"}},
    };
    for (const auto& c : cases) {
        edit->LoadBody(Utf8Body(c.body));
        EXPECT_EQ(Lines(*edit), c.lines) << c.body;
        EXPECT_EQ(edit->LineText(-1), u"");
        EXPECT_EQ(edit->LineText(static_cast<int>(c.lines.size()) + 1), u"");
    }
}

TEST_F(RichEditTest, SelectionCountsALineBreakAsOneAndClampsAtTheEnd) {
    edit->LoadBody(Utf8Body("ab\r\ncd"));  // a b CR c d: 5 positions
    struct Case {
        int start, length, wantStart, wantLength;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, 0}, {1, 3, 1, 3}, {2, 1, 2, 1}, {3, 100, 3, 2}, {100, 0, 5, 0}, {100, 7, 5, 0}, {-4, 2, 0, 2}, {4, INT_MAX, 4, 1},
    };
    for (const auto& c : cases) {
        edit->SetSelStart(c.start);
        edit->SetSelLength(c.length);
        EXPECT_EQ(edit->SelStart(), c.wantStart) << c.start << "+" << c.length;
        EXPECT_EQ(edit->SelLength(), c.wantLength) << c.start << "+" << c.length;
    }
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    edit->SetSelStart(2);  // collapses
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(RichEditTest, SelectionAttributesAtTheCaretApplyToTypedText) {
    edit->LoadBody(Utf8Body("ab"));
    edit->SetSelStart(2);
    const TextAttributes a = Attr(u"Courier New", 16, RGB(10, 20, 30), false, StyleBold | StyleUnderline);
    Apply(*edit, a);
    ExpectAttributes(edit->SelAttributes(), a, "insertion point");
    Type(L"cd");
    edit->SetSelStart(2);
    edit->SetSelLength(2);
    ExpectAttributes(edit->SelAttributes(), a, "typed text");
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    ExpectAttributes(edit->SelAttributes(), Attr(u"Tahoma", 10, 0, true, 0), "text before");

    edit->SetSelColor(RGB(1, 2, 3), true);  // automatic wins over the value
    ExpectAttributes(edit->SelAttributes(), Attr(u"Tahoma", 10, 0, true, 0), "automatic colour");

    edit->SetSelFontName(u"A font name that is much longer than thirty-one characters");
    EXPECT_EQ(edit->SelAttributes().name, u"A font name that is much longer");
}

TEST_F(RichEditTest, ChangesAreReportedForTextOnly) {
    struct Step {
        const char* what;
        std::function<void()> run;
        int changes;
    };
    const std::vector<Step> steps = {
        {"load", [&] { edit->LoadBody(Utf8Body("a\r\nb\r\nc")); }, 1},
        {"load plain", [&] { edit->LoadBody("x"); }, 1},
        {"typing", [&] { edit->SetSelStart(1); Type(L"yz"); }, 2},
        {"backspace", [&] { Press(VK_BACK); EXPECT_EQ(edit->Text(), u"xy"); }, 1},
        {"enter", [&] { Press(VK_RETURN); EXPECT_EQ(edit->Text(), u"xy\r"); }, 1},
        {"selection and format", [&] {
             edit->SetSelStart(0);
             edit->SetSelLength(2);
             Apply(*edit, Attr(u"Arial", 20, RGB(1, 1, 1), false, StyleBold));
         }, 0},
        {"re-creation", [&] { edit->Destroy(); edit->Create(host.Handle(), 20, 1, 304, 104); }, 0},
        {"reading", [&] { edit->SaveRtf(); edit->Text(); edit->SelAttributes(); }, 0},
    };
    for (const auto& s : steps) {
        rec.changes = 0;
        s.run();
        Pump();
        EXPECT_EQ(rec.changes, s.changes) << s.what;
    }
}

// A save takes the stream kept from the save before while the control has not
// changed: every kind of change, whether the wrapper made it or the person did
// straight in the control (typing, a formatting key, undo), is in the next one.
TEST_F(RichEditTest, EveryChangeReachesTheNextSaveUnchangedBodiesAreNotStreamedAgain) {
    edit->LoadBody(Utf8Body("plain"));
    auto selectAll = [&] {
        edit->SetSelStart(0);
        edit->SetSelLength(100);
    };
    // As the person does it: nothing goes through the wrapper.
    auto straight = [&](DWORD effect) {
        SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = effect == CFE_BOLD ? CFM_BOLD : CFM_STRIKEOUT;
        cf.dwEffects = effect;
        SendMessageW(edit->Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    };
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* saved; // in the next save's RTF
    };
    const std::vector<Step> steps = {
        {"typing", [&] { edit->SetSelStart(5); Type(L" typed"); }, "plain typed"},
        {"a formatting key, straight in the control", [&] { straight(CFE_BOLD); }, "\\b"},
        {"a format through the wrapper", [&] { selectAll(); edit->SetSelStyle(StyleItalic); }, "\\i"},
        {"strike-out, straight in the control", [&] { straight(CFE_STRIKEOUT); }, "\\strike"},
        {"undo, straight in the control", [&] { SendMessageW(edit->Handle(), EM_UNDO, 0, 0); }, nullptr},
        {"a new body", [&] { edit->LoadBody(Utf8Body("another")); }, "another"},
        {"re-creation", [&] { edit->Destroy(); edit->Create(host.Handle(), 20, 1, 304, 104); }, "another"},
    };
    std::string before = edit->SaveRtf();
    for (const auto& s : steps) {
        s.run();
        Pump();
        const std::string saved = edit->SaveRtf();
        if (s.saved) {
            EXPECT_NE(saved.find(s.saved), std::string::npos) << s.what << ": " << saved;
        } else {
            EXPECT_NE(saved, before) << s.what;
        }
        EXPECT_EQ(edit->SaveRtf(), saved) << s.what << ": nothing changed in between";
        before = saved;
    }
}

TEST_F(RichEditTest, KeyUpReportsTheKeyAndModifiers) {
    struct Case {
        WORD vk;
        bool shift, alt, ctrl;
    };
    const std::vector<Case> cases = {
        {'A', false, false, false}, {'V', false, false, true}, {VK_LEFT, true, false, false},
        {'X', true, true, true},    {VK_RETURN, false, true, false},
    };
    for (const auto& c : cases) {
        BYTE state[256] = {};
        if (c.shift) state[VK_SHIFT] = 0x80;
        if (c.ctrl) state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
        rec.keys.clear();
        // With Alt held the system sends WM_SYSKEYUP with the context bit set.
        const LPARAM lParam = 0xC0000001 | (c.alt ? (1 << 29) : 0);
        SendMessageW(edit->Handle(), c.alt ? WM_SYSKEYUP : WM_KEYUP, c.vk, lParam);
        ASSERT_EQ(rec.keys.size(), 1u) << c.vk;
        EXPECT_EQ(rec.keys[0].vk, c.vk);
        EXPECT_EQ(rec.keys[0].shift, c.shift) << c.vk;
        EXPECT_EQ(rec.keys[0].alt, c.alt) << c.vk;
        EXPECT_EQ(rec.keys[0].ctrl, c.ctrl) << c.vk;
    }
    BYTE clear[256] = {};
    SetKeyboardState(clear);
}

TEST_F(RichEditTest, ContentSurvivesReCreationAndANewParent) {
    edit->LoadBody(Rtf("\\f1\\fs28\\cf1\\b first\\par\\f0\\fs20\\cf0\\b0 second"));
    edit->SetSelStart(2);
    edit->SetSelLength(7);
    const std::string rtf = edit->SaveRtf();
    auto expectKept = [&](const char* what) {
        EXPECT_EQ(edit->SaveRtf(), rtf) << what;
        EXPECT_EQ(edit->SelStart(), 2) << what;
        EXPECT_EQ(edit->SelLength(), 7) << what;
    };
    rec.changes = 0;

    edit->Destroy();
    EXPECT_EQ(edit->Handle(), nullptr);
    expectKept("while destroyed");
    edit->Create(host.Handle(), 20, 1, 304, 104);
    ASSERT_NE(edit->Handle(), nullptr);
    expectKept("created again");

    // The parent goes without warning (the note's window is re-created).
    host.DestroyHandle();
    EXPECT_EQ(edit->Handle(), nullptr);
    HostWindow second;
    second.Create(top);
    edit->Create(second.Handle(), 20, 1, 304, 104);
    EXPECT_EQ(GetParent(edit->Handle()), second.Handle());
    expectKept("in a new parent");
    EXPECT_EQ(rec.changes, 0);

    // The format chosen at an empty selection is not in the RTF; it is kept as well.
    edit->SetSelStart(3);
    edit->SetSelSize(36);
    edit->Destroy();
    edit->Create(second.Handle(), 20, 1, 304, 104);
    EXPECT_EQ(edit->SelAttributes().sizePoints, 36);
    edit->Destroy();
}

TEST_F(RichEditTest, WorksWithoutEverBeingShown) {
    Recorder r;
    RichEdit hidden(r.Events());
    EXPECT_EQ(hidden.LineCount(), 0);
    hidden.SetBounds(20, 1, 335, 95);
    hidden.LoadBody(Utf8Body("one\r\ntwo"));
    EXPECT_EQ(r.changes, 1);
    EXPECT_EQ(hidden.Handle(), nullptr);
    EXPECT_EQ(Lines(hidden), (std::vector<std::u16string>{u"one", u"two"}));
    EXPECT_FALSE(hidden.CanFocus());
    POINT p;
    EXPECT_FALSE(hidden.CaretPos(p));
    EXPECT_EQ((std::vector<int>{hidden.Left(), hidden.Top(), hidden.Width(), hidden.Height()}),
              (std::vector<int>{20, 1, 335, 95}));
    EXPECT_NE(hidden.SaveRtf().find("two"), std::string::npos);
}

TEST_F(RichEditTest, ResizeRequestsFollowTheContent) {
    rec.resizes.clear();
    edit->LoadBody(Utf8Body("short"));
    ASSERT_FALSE(rec.resizes.empty());
    const SIZE one = rec.resizes.back();
    edit->LoadBody(Utf8Body("short\r\nline\r\nline"));
    const SIZE three = rec.resizes.back();
    EXPECT_GT(three.cy, one.cy);
    edit->SetSelStart(1000);
    Type(std::wstring(120, L'w'));  // no word wrap: the line grows past the control
    EXPECT_GT(rec.resizes.back().cx, edit->Width());
    EXPECT_EQ(edit->LineCount(), 3);
}

TEST_F(RichEditTest, TabMovesTheFocusOnInsteadOfTyping) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 400, 10, 60, 20,
                                  host.Handle(), nullptr, Window::Instance(), nullptr);
    SetForegroundWindow(top);
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), edit->Handle());
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_TAB, 1);
    SendMessageW(edit->Handle(), WM_CHAR, L'\t', 1);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(edit->Text(), u"");
    DestroyWindow(button);
}

TEST_F(RichEditTest, LongBodiesAreNotCut) {
    const std::string line(999, 'x');
    std::string body;
    for (int i = 0; i < 50; ++i) body += line + "\r\n";
    edit->LoadBody(body);
    EXPECT_EQ(edit->LineCount(), 50);
    EXPECT_EQ(edit->Text().size(), 50000u);
    edit->SetSelStart(1 << 20);
    Type(L"more");
    EXPECT_EQ(edit->LineText(50), u"more");
}

TEST_F(RichEditTest, MouseAndFocus) {
    SendMessageW(edit->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
    SendMessageW(edit->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    POINT at{5, 6};
    ClientToScreen(edit->Handle(), &at);
    ASSERT_EQ(rec.menus.size(), 1u);
    EXPECT_EQ(rec.menus[0].x, at.x);
    EXPECT_EQ(rec.menus[0].y, at.y);

    SendMessageW(edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), MAKELPARAM(at.x, at.y));
    SendMessageW(edit->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(at.x, at.y));
    EXPECT_EQ(rec.wheels, (std::vector<int>{-240, 120}));

    edit->LoadBody(Utf8Body("a\r\nb\r\nc"));
    POINT p;
    EXPECT_FALSE(edit->CaretPos(p)) << "no focus, no caret";
    EXPECT_TRUE(edit->CanFocus());
    SetForegroundWindow(top);
    edit->SetFocus();
    Pump();
    ASSERT_TRUE(edit->CaretPos(p));
    const LONG top = p.y;
    edit->SetSelStart(4);  // line 2
    ASSERT_TRUE(edit->CaretPos(p));
    EXPECT_GT(p.y, top);
    // The menu key opens the menu at the caret.
    SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(-1, -1));
    ClientToScreen(edit->Handle(), &p);
    ASSERT_EQ(rec.menus.size(), 2u);
    EXPECT_EQ(rec.menus[1].x, p.x);
    EXPECT_EQ(rec.menus[1].y, p.y);

    EnableWindow(host.Handle(), FALSE);
    EXPECT_FALSE(edit->CanFocus());
    EnableWindow(host.Handle(), TRUE);
    ShowWindow(host.Handle(), SW_HIDE);
    EXPECT_FALSE(edit->CanFocus());
}

TEST_F(RichEditTest, PositionAndSize) {
    EXPECT_EQ((std::vector<int>{edit->Left(), edit->Top(), edit->Width(), edit->Height()}),
              (std::vector<int>{20, 1, 304, 104}));
    edit->SetBounds(20, -30, 400, 200);
    EXPECT_EQ((std::vector<int>{edit->Left(), edit->Top(), edit->Width(), edit->Height()}),
              (std::vector<int>{20, -30, 400, 200}));
    edit->Destroy();
    EXPECT_EQ(edit->Top(), -30);
    edit->Create(host.Handle(), 20, 5, 335, 95);
    RECT r;
    GetWindowRect(edit->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 335);
    EXPECT_EQ(edit->Top(), 5);
}

// Copied text is an object of the rich-text library that the clipboard keeps after
// the editor is gone: another program pastes it then, and once more after the
// program rendered it on its way out.
TEST_F(RichEditTest, CopiedTextOutlivesEveryEditor) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    auto readClipboard = [] {
        std::wstring text;
        if (!OpenClipboard(nullptr)) return std::wstring(L"(clipboard busy)");
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    };
    Type(L"keep me");
    edit->SetSelStart(0);
    edit->SetSelLength(7);
    SendMessageW(edit->Handle(), WM_COPY, 0, 0);
    edit.reset();  // the last editor of the process
    Pump();
    EXPECT_EQ(readClipboard(), L"keep me");
    OleFlushClipboard();
    OleUninitialize();
    EXPECT_EQ(readClipboard(), L"keep me");
}

} // namespace
} // namespace vn
