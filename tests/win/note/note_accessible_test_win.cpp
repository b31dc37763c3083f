// The note as a screen reader reads it: every drawn part's name, role, state and
// place through the note's accessible object, presses through it, the check boxes'
// names and ticks, an object that outlives its window, and a reader in another process.
#include "note/sticky_note_win.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "child_roles_win.h"
#include "note/note_chrome_win.h"
#include "platform/accessible_win.h"
#include "note_test_fixture_win.h"

namespace vn::test {
namespace {

using note::Control;

struct Releaser {
    void operator()(IUnknown* p) const noexcept {
        if (p) p->Release();
    }
};
using AccessiblePtr = std::unique_ptr<IAccessible, Releaser>;

AccessiblePtr ObjectOf(HWND window) {
    IAccessible* object = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object));
    EXPECT_EQ(hr, S_OK);
    return AccessiblePtr(object);
}

VARIANT Id(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}
VARIANT Id(Control part) { return Id(static_cast<LONG>(part)); }

// `text` by reference: it is read after the call that fills it.
std::u16string Text(HRESULT hr, BSTR& text) {
    std::u16string s = text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : u"";
    SysFreeString(text);
    return SUCCEEDED(hr) ? s : u"<failed>";
}
std::string Narrow(const std::u16string& s) {
    std::string n;
    for (char16_t c : s) n += c < 128 ? static_cast<char>(c) : '?';
    return n;
}

// What a reader gets for one child of an object.
struct Reading {
    std::u16string name;
    long role = 0;
    long state = 0;
    RECT place{};
    std::u16string action;
};

long LongOf(HRESULT hr, const VARIANT& v) { return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1; }

Reading Read(IAccessible* object, LONG id) {
    Reading r;
    BSTR text = nullptr;
    r.name = Text(object->get_accName(Id(id), &text), text);
    text = nullptr;
    r.action = Text(object->get_accDefaultAction(Id(id), &text), text);
    VARIANT v;
    VariantInit(&v);
    r.role = LongOf(object->get_accRole(Id(id), &v), v);
    VariantInit(&v);
    r.state = LongOf(object->get_accState(Id(id), &v), v);
    long left = 0, top = 0, width = 0, height = 0;
    if (SUCCEEDED(object->accLocation(&left, &top, &width, &height, Id(id))))
        r.place = {left, top, left + width, top + height};
    return r;
}

// A rectangle of the note's client area on the screen.
RECT OnScreen(HWND note, RECT r) {
    MapWindowPoints(note, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(const RECT& r) {
    std::ostringstream s;
    s << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
    return s.str();
}

constexpr long kButton = STATE_SYSTEM_FOCUSABLE;
constexpr long kHidden = STATE_SYSTEM_INVISIBLE;

struct PartCase {
    Control part;
    std::u16string name;
    long role;
    long state;
    RECT place;  // client coordinates
};

void ExpectParts(IAccessible* object, HWND note, const std::vector<PartCase>& cases, const char* when) {
    for (const PartCase& c : cases) {
        const Reading r = Read(object, static_cast<LONG>(c.part));
        const std::string part = Narrow(std::u16string(note::ControlName(c.part))) + " " + when;
        EXPECT_EQ(r.name, c.name) << part;
        EXPECT_EQ(r.role, c.role) << part;
        EXPECT_EQ(r.state, c.state) << part;
        EXPECT_EQ(Describe(r.place), Describe(OnScreen(note, c.place))) << part;
        EXPECT_EQ(r.action, r.role == ROLE_SYSTEM_PUSHBUTTON ? u"Press" : u"") << part;
    }
}

// The events of one kind that this process sends readers while it lives.
class EventRecorder {
public:
    struct Event {
        HWND window;
        LONG child;
        friend bool operator==(const Event&, const Event&) = default;
    };
    explicit EventRecorder(DWORD event)
        : hook_(SetWinEventHook(event, event, nullptr, &Record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {
        EXPECT_TRUE(hook_);
        events_.clear();
    }
    ~EventRecorder() { UnhookWinEvent(hook_); }
    // How often `child` of `window` was announced so far.
    long Count(HWND window, LONG child = CHILDID_SELF) const {
        PumpMessagesFor(20);  // the events come in as messages
        return static_cast<long>(std::count(events_.begin(), events_.end(), Event{window, child}));
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT) events_.push_back({window, child});
    }
    static inline std::vector<Event> events_;
    HWINEVENTHOOK hook_;
};

class NoteAccessibleTest : public NoteWindowTest {
protected:
    void SetUp() override {
        NoteWindowTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    }
    void TearDown() override {
        OleUninitialize();
        NoteWindowTest::TearDown();
    }

    NotePtr NoteWithTarget(const char16_t* caption) {
        caption_ = UniqueCaption(caption);
        target_ = std::make_unique<TargetProcess>(std::vector<std::u16string>{caption_});
        return NoteOn(target_->Window(0));
    }

    std::u16string caption_;
    std::unique_ptr<TargetProcess> target_;
};

std::vector<PartCase> NormalNote(const TFStickyNote& note) {
    return {
        {Control::lTitle, note.TitleText(), ROLE_SYSTEM_STATICTEXT, 0, {32, 30, 337, 60}},
        {Control::ImgMinimize, u"Minimize", ROLE_SYSTEM_PUSHBUTTON, kButton, {355, 30, 430, 54}},
        {Control::ImgSave, u"Save", ROLE_SYSTEM_PUSHBUTTON, kButton, {24, 80, 99, 104}},
        {Control::ImgImport, u"Import", ROLE_SYSTEM_PUSHBUTTON, kButton, {105, 80, 180, 104}},
        {Control::ImgFont, u"Font", ROLE_SYSTEM_PUSHBUTTON, kButton | STATE_SYSTEM_HOTTRACKED, {186, 80, 261, 104}},
        {Control::ImgDelete, u"Delete", ROLE_SYSTEM_PUSHBUTTON, kButton, {267, 80, 342, 104}},
        {Control::ImgSize, u"Resize", ROLE_SYSTEM_GRIP, 0, {407, 217, 427, 237}},
        {Control::lBottomLab, kTagline, ROLE_SYSTEM_STATICTEXT, 0, {0, 248, 450, 266}},
        {Control::ImgSmall, u"Restore", ROLE_SYSTEM_PUSHBUTTON, kButton | kHidden, {0, 0, 100, 100}},
    };
}

TEST_F(NoteAccessibleTest, EveryDrawnPartReadsAsItIsDrawnAndPressesAsAClick) {
    NotePtr note = NoteWithTarget(u"Vn access parts");
    HWND h = note->Handle();
    ASSERT_EQ(note->Width(), 450);
    ASSERT_EQ(note->Height(), 274);
    MoveCursorTo(h, 200, 90);  // over Font
    AccessiblePtr object = ObjectOf(h);
    ASSERT_TRUE(object);

    const Reading self = Read(object.get(), CHILDID_SELF);
    EXPECT_EQ(self.name, u"Note on " + caption_);
    EXPECT_EQ(self.role, ROLE_SYSTEM_PANE);
    EXPECT_EQ(Describe(self.place), Describe(WindowRect(h)));
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 11 + 2);  // the parts, the body area and its backing panel

    ExpectParts(object.get(), h, NormalNote(*note), "on a note");
    // The labels that fit their texts: the computer's from the left, the time's to W - 113.
    const Reading owner = Read(object.get(), static_cast<LONG>(Control::lOwner));
    EXPECT_EQ(owner.name, note->OwnerText());
    EXPECT_EQ(owner.role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(owner.place.left, OnScreen(h, {32, 60, 32, 60}).left);
    const Reading time = Read(object.get(), static_cast<LONG>(Control::lTime));
    EXPECT_EQ(time.name, note->TimeText());
    EXPECT_EQ(time.place.right, OnScreen(h, {337, 60, 337, 60}).right);
    BSTR text = nullptr;
    EXPECT_EQ(Text(object->get_accDescription(Id(Control::lTime), &text), text), u"Date and time the note was made");
    {
        // A label read from the store changes its text: readers are told.
        const EventRecorder nameChanges(EVENT_OBJECT_NAMECHANGE);
        note->SetTimeText(u"1/2/2027 10:00:00");
        EXPECT_EQ(nameChanges.Count(h, static_cast<LONG>(Control::lTime)), 1);
        EXPECT_EQ(Read(object.get(), static_cast<LONG>(Control::lTime)).name, u"1/2/2027 10:00:00");
    }

    // Decoration and unknown ids are no children.
    for (LONG id : {static_cast<LONG>(Control::ShapeBackground), static_cast<LONG>(Control::LineShape), 14L, -3L}) {
        text = nullptr;
        EXPECT_EQ(object->get_accName(Id(id), &text), E_INVALIDARG) << id;
        EXPECT_EQ(object->accDoDefaultAction(Id(id)), E_INVALIDARG) << id;
    }

    // A press runs once the reader's call has returned, as a click would.
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgSave)), S_OK);
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgImport)), S_OK);
    EXPECT_EQ(host.exports, 0);
    PumpMessagesFor(50);
    EXPECT_EQ(host.exports, 1);
    EXPECT_EQ(host.imports, 1);
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::lTitle)), DISP_E_MEMBERNOTFOUND);

    // Minimize: only the tile is left, it has the keyboard that was in the body, and
    // pressing it gives the note back.
    SetForegroundWindow(h);
    note->Editor().SetFocus();
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgMinimize)), S_OK);
    PumpMessagesFor(50);
    ASSERT_TRUE(note->Minimized());
    ExpectParts(object.get(), h,
                {
                    {Control::ImgSmall, u"Restore", ROLE_SYSTEM_PUSHBUTTON, kButton | STATE_SYSTEM_FOCUSED,
                     {0, 0, 100, 100}},
                    {Control::ImgSave, u"Save", ROLE_SYSTEM_PUSHBUTTON, kButton | kHidden, {24, 80, 99, 104}},
                    {Control::lTitle, note->TitleText(), ROLE_SYSTEM_STATICTEXT, kHidden, {32, 30, 32, 60}},
                },
                "on a tile");
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgSave)), E_FAIL);
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgSmall)), S_OK);
    PumpMessagesFor(50);
    EXPECT_FALSE(note->Minimized());
    EXPECT_EQ(note->Width(), 450);
    EXPECT_EQ(host.exports, 1);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteAccessibleTest, ChildrenComeInReadingOrderAndAPointFindsItsPart) {
    NotePtr note = NoteWithTarget(u"Vn access order");
    HWND h = note->Handle();
    AccessiblePtr object = ObjectOf(h);
    ASSERT_TRUE(object);

    long count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 13);
    VARIANT children[13];
    long got = 0;
    ASSERT_EQ(AccessibleChildren(object.get(), 0, count, children, &got), S_OK);
    std::vector<LONG> order;  // 0 stands for a child window
    for (long i = 0; i < got; ++i) {
        order.push_back(children[i].vt == VT_I4 ? children[i].lVal : 0);
        if (children[i].vt == VT_DISPATCH) {
            EXPECT_TRUE(children[i].pdispVal);
        }
        VariantClear(&children[i]);
    }
    const auto id = [](Control c) { return static_cast<LONG>(c); };
    const std::vector<LONG> expected{id(Control::lTitle),   id(Control::ImgMinimize), id(Control::lOwner),
                                     id(Control::lTime),    id(Control::ImgSave),     id(Control::ImgImport),
                                     id(Control::ImgFont),  id(Control::ImgDelete),   0,
                                     0,                     id(Control::ImgSize),     id(Control::lBottomLab),
                                     id(Control::ImgSmall)};
    EXPECT_EQ(order, expected);

    const struct {
        POINT at;  // client coordinates
        VARTYPE type;
        LONG id;
    } points[] = {
        {{60, 80 + 12}, VT_I4, id(Control::ImgSave)},
        {{390, 40}, VT_I4, id(Control::ImgMinimize)},
        {{415, 225}, VT_I4, id(Control::ImgSize)},
        {{200, 255}, VT_I4, id(Control::lBottomLab)},
        {{12, 12}, VT_I4, CHILDID_SELF},  // the background
        {{100, 160}, VT_DISPATCH, 0},     // the body area: a window of its own
    };
    for (const auto& p : points) {
        POINT screen = p.at;
        ClientToScreen(h, &screen);
        VARIANT hit;
        VariantInit(&hit);
        EXPECT_EQ(object->accHitTest(screen.x, screen.y, &hit), S_OK) << p.at.x << "," << p.at.y;
        EXPECT_EQ(hit.vt, p.type) << p.at.x << "," << p.at.y;
        if (hit.vt == VT_I4) {
            EXPECT_EQ(hit.lVal, p.id) << p.at.x << "," << p.at.y;
        }
        VariantClear(&hit);
    }

    VARIANT to;
    EXPECT_EQ(object->accNavigate(NAVDIR_FIRSTCHILD, Id(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(to.lVal, id(Control::lTitle));
    EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Id(Control::lTitle), &to), S_OK);
    EXPECT_EQ(to.lVal, id(Control::ImgMinimize));
    EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Id(Control::ImgDelete), &to), S_OK);
    EXPECT_EQ(to.vt, VT_DISPATCH);  // the body
    VariantClear(&to);
    EXPECT_EQ(object->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(to.lVal, id(Control::lBottomLab));
    EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Id(Control::lBottomLab), &to), S_FALSE);
}


TEST_F(NoteAccessibleTest, ABoxIsNamedForItsLineAndItsTickIsReadPressedAndAnnounced) {
    NotePtr note = NoteWithTarget(u"Vn access boxes");
    note->Editor().LoadBody("{\\rtf1 Buy stamps\\par \\par   Call Anna \\par}");
    SetForegroundWindow(note->Handle());
    note->Editor().SetFocus();
    note->UpdateCheckBoxes(false);
    ASSERT_TRUE(note->CheckBox(2));

    const char16_t* names[] = {u"Buy stamps", u"Line 2", u"Call Anna"};
    std::vector<AccessiblePtr> boxes;
    for (int line = 0; line < 3; ++line) {
        boxes.push_back(ObjectOf(note->CheckBox(line)));
        ASSERT_TRUE(boxes.back());
        const Reading r = Read(boxes.back().get(), CHILDID_SELF);
        EXPECT_EQ(r.name, names[line]) << line;
        EXPECT_EQ(r.role, ROLE_SYSTEM_CHECKBUTTON) << line;
        EXPECT_EQ(r.state & STATE_SYSTEM_CHECKED, 0) << line;
        EXPECT_EQ(r.action, u"Check") << line;
        EXPECT_EQ(Describe(r.place), Describe(WindowRect(note->CheckBox(line)))) << line;
    }

    const EventRecorder stateChanges(EVENT_OBJECT_STATECHANGE);
    // A reader's press ticks the box in the note, as a click does.
    EXPECT_EQ(boxes[2]->accDoDefaultAction(Id(CHILDID_SELF)), S_OK);
    PumpMessagesFor(50);
    EXPECT_TRUE(note->CheckBoxSlots().Ticked(2));
    EXPECT_EQ(note->Stored().CheckStateString(), u"001");
    const Reading ticked = Read(boxes[2].get(), CHILDID_SELF);
    EXPECT_NE(ticked.state & STATE_SYSTEM_CHECKED, 0);
    EXPECT_EQ(ticked.action, u"Uncheck");
    EXPECT_EQ(stateChanges.Count(note->CheckBox(2)), 1);

    // A tick the note sets itself (stored states coming back) is announced as well.
    SendMessageW(note->CheckBox(0), BM_SETCHECK, BST_CHECKED, 0);
    PumpMessagesFor(50);
    EXPECT_EQ(stateChanges.Count(note->CheckBox(0)), 1);
    EXPECT_NE(Read(boxes[0].get(), CHILDID_SELF).state & STATE_SYSTEM_CHECKED, 0);
    // Setting the tick it has is no change.
    SendMessageW(note->CheckBox(0), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(stateChanges.Count(note->CheckBox(0)), 1);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(NoteAccessibleTest, AnObjectHeldPastItsWindowAnswersNotConnected) {
    NotePtr note = NoteWithTarget(u"Vn access lifetime");
    note->Editor().LoadBody("{\\rtf1 one\\par two\\par}");
    note->UpdateCheckBoxes(false);
    ASSERT_TRUE(note->CheckBox(1));
    AccessiblePtr object = ObjectOf(note->Handle());
    AccessiblePtr box = ObjectOf(note->CheckBox(1));
    ASSERT_TRUE(object && box);

    note->Hide();
    note->RecreateNativeWindow();
    BSTR text = nullptr;
    VARIANT v;
    EXPECT_EQ(object->get_accName(Id(CHILDID_SELF), &text), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->get_accName(Id(Control::ImgSave), &text), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accDoDefaultAction(Id(Control::ImgSave)), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(object->accHitTest(0, 0, &v), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(box->get_accName(Id(CHILDID_SELF), &text), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(box->accDoDefaultAction(Id(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);

    // The new window has an object of its own; the old one still only says so.
    note->Show();
    AccessiblePtr again = ObjectOf(note->Handle());
    ASSERT_TRUE(again);
    EXPECT_EQ(Read(again.get(), static_cast<LONG>(Control::ImgSave)).name, u"Save");
    EXPECT_EQ(object->get_accName(Id(Control::ImgSave), &text), CO_E_OBJNOTCONNECTED);
    note.reset();
    EXPECT_EQ(again->get_accName(Id(Control::ImgSave), &text), CO_E_OBJNOTCONNECTED);
}

// One line per child a reader reads: id, name, role, state, place.
std::string Line(LONG id, const Reading& r) {
    std::ostringstream s;
    s << id << "|" << Narrow(r.name) << "|" << r.role << "|" << r.state << "|" << Describe(r.place);
    return s.str();
}

std::vector<std::string> ReadAll(IAccessible* object) {
    std::vector<std::string> lines;
    for (LONG id = CHILDID_SELF; id <= static_cast<LONG>(Control::ImgMinimize); ++id)
        if (id == CHILDID_SELF || note::IsAccessiblePart(static_cast<Control>(id)))
            lines.push_back(Line(id, Read(object, id)));
    return lines;
}

// A screen reader in a process of its own. args: note window, one of its check boxes,
// a window that does not answer WM_GETOBJECT, the file for what it read. It writes the
// result of each AccessibleObjectFromWindow, every child of the note, the box's
// name, and presses the box and the Save button.
const bool kReaderRole = RegisterChildRole(L"note-reader", [](int argc, wchar_t** argv) {
    if (argc < 4) return 90;
    if (FAILED(CoInitialize(nullptr))) return 91;
    const auto window = [&](int i) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[i], nullptr, 16))); };
    std::ofstream out(argv[3]);
    const auto objectOf = [&](HWND w, const char* what) {
        IAccessible* object = nullptr;
        const HRESULT hr =
            AccessibleObjectFromWindow(w, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&object));
        out << what << " " << std::hex << static_cast<unsigned long>(hr) << std::dec << "\n";
        return AccessiblePtr(object);
    };
    AccessiblePtr plain = objectOf(window(2), "plain");
    AccessiblePtr note = objectOf(window(0), "note");
    AccessiblePtr box = objectOf(window(1), "box");
    if (!note || !box) return 92;
    for (const std::string& line : ReadAll(note.get())) out << line << "\n";
    out << "box " << Narrow(Read(box.get(), CHILDID_SELF).name) << "\n";
    out << "press " << std::hex << static_cast<unsigned long>(box->accDoDefaultAction(Id(CHILDID_SELF))) << " "
        << static_cast<unsigned long>(note->accDoDefaultAction(Id(Control::ImgSave))) << "\n";
    return 0;
});

std::wstring Hex(HWND w) {
    wchar_t text[32];
    swprintf(text, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)));
    return text;
}

TEST_F(NoteAccessibleTest, AReaderInAnotherProcessReadsThePartsAndPresses) {
    // Nothing hovered while the two readers read: the cursor is far from the note.
    PutCursor(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    NotePtr note = NoteWithTarget(u"Vn access remote");
    note->Editor().LoadBody("{\\rtf1 Post the letter\\par}");
    note->UpdateCheckBoxes(false);
    ASSERT_TRUE(note->CheckBox(0));
    const std::filesystem::path file = folder.Path() / "read.txt";
    UniqueKernelHandle reader = StartChildRole(
        L"note-reader", {Hex(note->Handle()), Hex(note->CheckBox(0)), Hex(target_->Window(0)), file.wstring()});
    ASSERT_TRUE(reader);
    // The reader's questions come in as messages of this thread.
    const DWORD start = GetTickCount();
    const HANDLE process = reader.get();
    while (MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() - start < 30000)
        PumpMessagesFor(0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(reader.get(), &code));
    ASSERT_EQ(code, 0u);
    PumpMessagesFor(50);  // the presses

    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    AccessiblePtr object = ObjectOf(note->Handle());
    ASSERT_TRUE(object);
    std::vector<std::string> expected{"plain 0", "note 0", "box 0"};
    for (const std::string& line : ReadAll(object.get())) expected.push_back(line);
    expected.push_back("box Post the letter");
    expected.push_back("press 0 0");
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(note->CheckBoxSlots().Ticked(0));
    EXPECT_EQ(host.exports, 1);
}

} // namespace
} // namespace vn::test
