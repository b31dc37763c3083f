#include "note/rich_edit_win.h"

#include "note/rich_edit_fonts_win.h"
#include "note/rich_edit_keeper_win.h"
#include "platform/code_page_win.h"
#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/scope_exit.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

namespace vn {
namespace {

constexpr wchar_t kRichEditLibrary[] = L"riched20.dll";
constexpr wchar_t kRichEditClass[] = L"RICHEDIT20W";
constexpr UINT_PTR kSubclassId = 1;
constexpr int kDefaultHeightTwips = 200;  // 10 pt: 13 px at 96 dpi
constexpr wchar_t kDefaultFace[] = L"Tahoma";
// Without a limit of its own the control silently cuts a body at 32,767 characters.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;

// The library is loaded by the first editor and stays for the life of the process.
// Text cut or copied from an editor is an object of this library that the system
// clipboard holds, beyond the editor and until the program renders it on its way
// out: freeing the library with the last editor would leave the clipboard (and the
// program's final clipboard work) calling into unloaded code.
void LoadRichEditLibraryOnce() {
    static HMODULE library = nullptr;
    if (library) return;
    library = LoadLibraryW(kRichEditLibrary);
    if (!library) RaiseLastOSError();
}

CHARFORMAT2W DefaultFormat() {
    CHARFORMAT2W cf = EmptyCharFormat();
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = CFE_AUTOCOLOR;
    cf.yHeight = kDefaultHeightTwips;
    cf.bCharSet = ANSI_CHARSET;
    cf.bPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(cf.szFaceName, kDefaultFace, LF_FACESIZE);
    return cf;
}

} // namespace

class RichEdit::Impl {
    // Holds back change notifications for the wrapper's own edits until the scope ends.
    [[nodiscard]] auto Quiet() {
        ++quiet_;
        return OnScopeExit([this] { --quiet_; });
    }

public:
    explicit Impl(Events events) : events_(std::move(events)), keeper_(events_.onHiddenControl) {}

    ~Impl() {
        fonts_.Release();
        if (hwnd_) {
            RemoveWindowSubclass(hwnd_, &Impl::SubclassProc, kSubclassId);
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
        }
    }

    void Create(HWND parent, int left, int top, int width, int height) {
        DestroyNative();
        DropHost();
        bounds_ = {left, top, width, height};
        parked_ = false;
        CreateNative(parent, WS_VISIBLE);
    }

    void Destroy() {
        DestroyNative();
        DropHost();
    }

    HWND Handle() const { return parked_ ? nullptr : hwnd_; }

    // The native control to talk to: the shown one, or a hidden one under the host.
    HWND Control() {
        if (!hwnd_) {
            HWND host = keeper_.Host();
            parked_ = true;
            CreateNative(host, 0);
        }
        return hwnd_;
    }

    // Anything sent may change the content: the stream kept for saves is dropped.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        streamed_.reset();
        return SendMessageW(Control(), msg, wParam, lParam);
    }

    // A question that only reads the control's state, put to its own window procedure.
    // Under Wine a SendMessageW to a window of the same thread costs some twenty times
    // what the control needs to answer (0.05 to 0.1 ms each), and the checklist walk
    // asks a few hundred questions a key release. Nothing of the subclass applies to
    // a query, and a query sends no notification.
    LRESULT Ask(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return Query()(msg, wParam, lParam); }
    ControlQuery Query() { return {Control(), controlProc_}; }

    std::u16string Text() {
        return RichEditText([this](UINT msg, WPARAM wParam, LPARAM lParam) { return Ask(msg, wParam, lParam); });
    }

    int TextLength() { return Query().TextLength(); }

    // With word wrap off the control's lines are the text's lines; asking the control
    // for one line keeps the checklist walk cheap on long bodies.
    int LineCount() {
        // The captured count of a control that went: a save of a note without a
        // window makes no hidden control for it.
        if (!hwnd_)
            if (const std::optional<int> lines = keeper_.Lines()) return *lines;
        const auto rows = static_cast<int>(Ask(EM_GETLINECOUNT));
        if (rows <= 0) return 0;
        // The control counts the empty line after a final line break; the program does not.
        const auto lastStart = Ask(EM_LINEINDEX, static_cast<WPARAM>(rows - 1));
        return Ask(EM_LINELENGTH, static_cast<WPARAM>(lastStart)) == 0 ? rows - 1 : rows;
    }

    bool BodyUnread() const { return !hwnd_ && keeper_.BodyUnread(); }

    std::u16string LineText(int line) {
        if (line < 0 || line >= static_cast<int>(Ask(EM_GETLINECOUNT))) return {};
        const auto start = static_cast<LONG>(Ask(EM_LINEINDEX, static_cast<WPARAM>(line)));
        const auto length = static_cast<LONG>(Ask(EM_LINELENGTH, static_cast<WPARAM>(start)));
        if (start < 0 || length <= 0) return {};
        std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
        TEXTRANGEW range{{start, start + length}, buffer.data()};
        const auto got = static_cast<int>(Ask(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
        buffer.resize(static_cast<size_t>(std::clamp(got, 0, static_cast<int>(length))));
        return U16(buffer);
    }

    int LineLength(int line) {
        if (line < 0 || line >= static_cast<int>(Ask(EM_GETLINECOUNT))) return 0;
        const auto start = Ask(EM_LINEINDEX, static_cast<WPARAM>(line));
        return start < 0 ? 0 : static_cast<int>(Ask(EM_LINELENGTH, static_cast<WPARAM>(start)));
    }

    bool CharPos(int index, POINT& p) { return hwnd_ && Query().CharPos(index, p); }

    std::optional<int> OneFontSize(int from, int to) { return fonts_.OneFontSize(Control(), from, to); }

    std::optional<RowPlace> PlaceOfRowStart(int row) {
        if (row < 0) return std::nullopt;
        return fonts_.PlaceOfRowStart(Query(), row);
    }

    // Asked without a control, it would be a hidden one's: there is no caret to place.
    std::optional<int> CaretTopAtRowStart(int index) {
        if (!hwnd_) return std::nullopt;
        return fonts_.CaretTopAtRowStart(Query(), index);
    }

    CHARRANGE Selection() {
        CHARRANGE r{};
        Ask(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    void Select(int from, int to) {
        // The control would also select its closing paragraph mark past the end.
        const int end = TextLength();
        CHARRANGE r{std::clamp(from, 0, end), std::clamp(to, 0, end)};
        Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
    }

    CHARFORMAT2W SelectionFormat() {
        CHARFORMAT2W cf = EmptyCharFormat();
        Ask(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf;
    }

    void SetSelectionFormat(CHARFORMAT2W cf) {
        const auto quiet = Quiet();  // a format is not a change of the text
        Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    }

    std::string SaveRtf() {
        // Content that no control holds is already the control's own stream (captured
        // when its window went) or a body file nobody has looked at since it was read.
        if (keeper_.Holds() && (!hwnd_ || keeper_.BodyUnread())) return keeper_.Bytes();
        // Every save asks every note, and streaming a body out costs a millisecond or
        // two (under Wine): a control that has not changed since its last stream (no
        // change reported, nothing sent to it, its modification flag, which typing,
        // pasting and formatting set, still clear) hands that stream over again.
        HWND control = Control();
        if (streamed_ && !Ask(EM_GETMODIFY)) return *streamed_;
        std::string rtf = StreamRtfOutOf(control);
        SendMessageW(control, EM_SETMODIFY, FALSE, 0);
        streamed_ = rtf;
        return rtf;
    }

    void LoadBody(const BodyFile& body) {
        if (!hwnd_ && body.GetForm() == BodyFile::Form::Rtf) {
            // No control yet: the RTF waits until one is needed (shown, asked about
            // its text). A thousand stored notes then start without a thousand
            // controls, and a save of an unread body writes the bytes it read.
            keeper_.KeepUnread(body);
            if (events_.onChange) events_.onChange();
            return;
        }
        {
            const auto quiet = Quiet();
            StreamBody(body);
        }
        if (events_.onChange) events_.onChange();
        Send(EM_REQUESTRESIZE);
    }

    // The body file's bytes into the control, replacing its content, selection at 0.
    void StreamBody(const BodyFile& body) {
        LoadBodyFile(
            body, [&](std::string_view rtf) { return StreamIntoControl(Control(), SF_RTF, rtf); },
            [&](const std::u16string& text) {
                // Plain text takes the editor's default format, whatever the old content had.
                Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
                CHARFORMAT2W cf = DefaultFormat();
                Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
                return StreamIntoControl(Control(), SF_TEXT | SF_UNICODE,
                                         {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)});
            });
        Select(0, 0);
        Send(EM_EMPTYUNDOBUFFER);
    }

    bool CaretPos(POINT& p) {
        if (!hwnd_ || parked_ || GetFocus() != hwnd_) return false;
        return GetCaretPos(&p) != FALSE;
    }

    bool CanFocus() const {
        if (!hwnd_ || parked_) return false;
        for (HWND w = hwnd_; w; w = GetParent(w)) {
            if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
            if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
        }
        return true;
    }

    void SetFocus() {
        if (hwnd_ && !parked_) ::SetFocus(hwnd_);
    }

    RECT Bounds() const {
        if (!hwnd_ || parked_) return bounds_;
        RECT r{};
        GetWindowRect(hwnd_, &r);
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    void SetBounds(int left, int top, int width, int height) {
        bounds_ = {left, top, width, height};
        if (hwnd_) {
            if (parked_)
                SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
            else
                MoveWindow(hwnd_, left, top, width, height, TRUE);
        }
    }

    void SetDisplayZoom(int numerator, int denominator) {
        zoom_ = numerator == denominator ? std::pair{0, 0} : std::pair{numerator, denominator};
        if (hwnd_) SendMessageW(hwnd_, EM_SETZOOM, zoom_.first, zoom_.second);
    }

private:

    void CreateNative(HWND parent, DWORD visible) {
        streamed_.reset();
        LoadRichEditLibraryOnce();
        const RECT b = bounds_;  // left, top, width, height
        const DWORD style = WS_CHILD | WS_TABSTOP | visible | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL |
                            ES_AUTOHSCROLL | ES_AUTOVSCROLL;
        SetLastError(0);
        HWND h = CreateWindowExW(0, kRichEditClass, L"", style, visible ? b.left : 0, visible ? b.top : 0,
                                 b.right, b.bottom, parent, nullptr, Window::Instance(), nullptr);
        if (!h) RaiseLastOSError();
        hwnd_ = h;
        controlProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));  // before the subclass
        Window::MarkOwn(h);
        Window::ReflectNotifications(h);
        SetWindowSubclass(h, &Impl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

        const auto quiet = Quiet();
        SendMessageW(h, EM_EXLIMITTEXT, 0, kTextLimit);
        SendMessageW(h, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
        CHARFORMAT2W cf = DefaultFormat();
        SendMessageW(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(h, EM_SETTARGETDEVICE, 0, 1);  // line width 1: no word wrap, a line is a paragraph
        SendMessageW(h, EM_SETZOOM, zoom_.first, zoom_.second);
        SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_REQUESTRESIZE);
        // The kept bytes (a body file as read, or the stream of the control that went)
        // are the content the new control gets: until it changes, a save hands them
        // over instead of streaming every note shown since the start out once.
        std::optional<std::string> content;
        if (keeper_.Holds()) content = keeper_.Bytes();
        Restore();
        SendMessageW(h, EM_REQUESTRESIZE, 0, 0);
        if (content && !keeper_.Holds()) {
            SendMessageW(h, EM_SETMODIFY, FALSE, 0);
            streamed_ = std::move(content);
        }
    }

    // Captures the content while the control still has it: its window is going.
    void Capture() {
        // A body file the control could not take stays what is kept and saved.
        if (keeper_.BodyUnread()) return;
        keeper_.Capture(hwnd_, LineCount());
        if (!parked_) bounds_ = Bounds();
    }

    void Restore() {
        // A body file is taken as LoadBody takes it; on failure the bytes stay kept
        // (and are what a save writes), so nothing of the body is lost.
        keeper_.Restore(hwnd_, [this](const BodyFile& body) { StreamBody(body); });
    }

    void DestroyNative() {
        if (hwnd_) DestroyWindow(hwnd_);  // WM_DESTROY captures the content
    }

    // The hidden control's message-only window goes with the control it held.
    void DropHost() {
        if (!hwnd_) keeper_.DropHost();
    }

    void MoveFocusPastTab(bool backwards) {
        HWND root = GetAncestor(hwnd_, GA_ROOT);
        HWND next = root ? GetNextDlgTabItem(root, hwnd_, backwards) : nullptr;
        if (next && next != hwnd_) ::SetFocus(next);
    }

    POINT ContextMenuPoint(LPARAM lParam) {
        POINT p{XFromLParam(lParam), YFromLParam(lParam)};
        if (p.x == -1 && p.y == -1) {  // from the keyboard: at the caret
            p = {0, 0};
            POINT caret;
            if (CaretPos(caret)) p = caret;
            ClientToScreen(hwnd_, &p);
        }
        return p;
    }
    static int XFromLParam(LPARAM l) { return static_cast<short>(LOWORD(l)); }
    static int YFromLParam(LPARAM l) { return static_cast<short>(HIWORD(l)); }

    LRESULT ControlMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
        case WM_GETDLGCODE:
            // Tab moves the focus on, also where a dialog manager routes the keys.
            return DefSubclassProc(hwnd, msg, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTTAB);
        case WM_SYSKEYDOWN:
        case WM_KEYDOWN:
            if (events_.onKeyDown && events_.onKeyDown(wParam, lParam)) return 0;
            if (msg == WM_KEYDOWN && wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
                MoveFocusPastTab(GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\t') return 0;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
            if (events_.onKeyUp) {
                const bool alt = (lParam & (1 << 29)) != 0 || GetKeyState(VK_MENU) < 0;
                events_.onKeyUp(static_cast<WORD>(wParam), GetKeyState(VK_SHIFT) < 0, alt,
                                GetKeyState(VK_CONTROL) < 0);
            }
            return r;
        }
        case WM_MOUSEWHEEL:
            // The body area scrolls instead of the control; passed on as well, the
            // notch would scroll a second time wherever the default handling takes it.
            if (events_.onMouseWheel) {
                events_.onMouseWheel(static_cast<short>(HIWORD(wParam)));
                return 0;
            }
            break;
        case kReflectedMessage + WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE) streamed_.reset();
            if (HIWORD(wParam) == EN_CHANGE && quiet_ == 0 && events_.onChange) events_.onChange();
            return 0;
        case kReflectedMessage + WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == EN_REQUESTRESIZE && events_.onResizeRequest) {
                const auto* rr = reinterpret_cast<const REQRESIZE*>(lParam);
                events_.onResizeRequest(rr->rc.right - rr->rc.left, rr->rc.bottom - rr->rc.top);
            }
            return 0;
        case WM_CONTEXTMENU:
            contextMenuSeen_ = true;
            if (events_.onContextMenu) events_.onContextMenu(ContextMenuPoint(lParam));
            return 0;
        case WM_RBUTTONUP: {
            // Not every version of the control turns a right click into WM_CONTEXTMENU.
            contextMenuSeen_ = false;
            const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
            if (!contextMenuSeen_ && IsWindow(hwnd)) {
                POINT p{XFromLParam(lParam), YFromLParam(lParam)};
                ClientToScreen(hwnd, &p);
                SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
            }
            return r;
        }
        case WM_DESTROY:
            fonts_.Release();
            Capture();
            break;
        case WM_NCDESTROY: {
            streamed_.reset();
            RemoveWindowSubclass(hwnd, &Impl::SubclassProc, kSubclassId);
            hwnd_ = nullptr;
            parked_ = false;
            return DefSubclassProc(hwnd, msg, wParam, lParam);
        }
        default:
            break;
        }
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
        auto* self = reinterpret_cast<Impl*>(data);
        LRESULT result = 0;
        bool handled = false;
        Guarded([&] {
            result = self->ControlMessage(hwnd, msg, wParam, lParam);
            handled = true;
        });
        if (!handled) {
            if (msg == WM_NCDESTROY) {
                RemoveWindowSubclass(hwnd, &Impl::SubclassProc, kSubclassId);
                self->hwnd_ = nullptr;
                self->parked_ = false;
            }
            result = DefSubclassProc(hwnd, msg, wParam, lParam);
        }
        return result;
    }

    Events events_;
    RichEditKeeper keeper_;
    HWND hwnd_ = nullptr;
    // The display zoom (0, 0: none): the text at a DPI other than the system's.
    std::pair<int, int> zoom_{0, 0};
    bool parked_ = false;  // hwnd_ lives under the keeper's host, not in a parent of the program's
    WNDPROC controlProc_ = nullptr;  // the control's own procedure, under the subclass
    std::optional<std::string> streamed_;  // the RTF last streamed out, while nothing changed since
    RECT bounds_{0, 0, 0, 0};  // left, top, width, height
    RichEditFonts fonts_;  // of hwnd_
    int quiet_ = 0;
    bool contextMenuSeen_ = false;

    friend class RichEdit;
};

RichEdit::RichEdit(Events events) : impl_(std::make_unique<Impl>(std::move(events))) {}
RichEdit::~RichEdit() = default;

void RichEdit::Create(HWND parent, int left, int top, int width, int height) {
    impl_->Create(parent, left, top, width, height);
}
void RichEdit::Destroy() { impl_->Destroy(); }
HWND RichEdit::Handle() const { return impl_->Handle(); }

std::u16string RichEdit::Text() const { return impl_->Text(); }

int RichEdit::LineCount() const { return impl_->LineCount(); }
bool RichEdit::BodyUnread() const { return impl_->BodyUnread(); }
std::u16string RichEdit::LineText(int line) const { return impl_->LineText(line); }

int RichEdit::SelStart() const { return impl_->Selection().cpMin; }
void RichEdit::SetSelStart(int start) { impl_->Select(start, start); }
int RichEdit::SelLength() const {
    const CHARRANGE r = impl_->Selection();
    return r.cpMax - r.cpMin;
}
void RichEdit::SetSelLength(int length) {
    const int start = SelStart();
    const long long end = static_cast<long long>(start) + std::max(length, 0);
    impl_->Select(start, static_cast<int>(std::min<long long>(end, INT_MAX)));
}

TextAttributes RichEdit::SelAttributes() const {
    const CHARFORMAT2W cf = impl_->SelectionFormat();
    TextAttributes a;
    a.name = U16(cf.szFaceName);
    a.sizePoints = cf.yHeight / 20;
    a.autoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
    a.color = a.autoColor ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
    a.style = 0;
    if (cf.dwEffects & CFE_BOLD) a.style |= StyleBold;
    if (cf.dwEffects & CFE_ITALIC) a.style |= StyleItalic;
    if (cf.dwEffects & CFE_UNDERLINE) a.style |= StyleUnderline;
    if (cf.dwEffects & CFE_STRIKEOUT) a.style |= StyleStrikeOut;
    return a;
}

void RichEdit::SetSelFontName(const std::u16string& name) {
    CHARFORMAT2W cf = EmptyCharFormat();
    cf.dwMask = CFM_FACE;
    lstrcpynW(cf.szFaceName, W(name), LF_FACESIZE);  // at most 31 characters and the terminator
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelSize(int points) {
    CHARFORMAT2W cf = EmptyCharFormat();
    cf.dwMask = CFM_SIZE;
    cf.yHeight = std::clamp(points, 1, 1638) * 20;
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelColor(COLORREF color, bool automatic) {
    CHARFORMAT2W cf = EmptyCharFormat();
    cf.dwMask = CFM_COLOR;
    cf.dwEffects = automatic ? CFE_AUTOCOLOR : 0;
    cf.crTextColor = automatic ? 0 : color;
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelStyle(unsigned style) {
    CHARFORMAT2W cf = EmptyCharFormat();
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = ((style & StyleBold) ? CFE_BOLD : 0) | ((style & StyleItalic) ? CFE_ITALIC : 0) |
                   ((style & StyleUnderline) ? CFE_UNDERLINE : 0) | ((style & StyleStrikeOut) ? CFE_STRIKEOUT : 0);
    impl_->SetSelectionFormat(cf);
}

bool RichEdit::CaretPos(POINT& p) const { return impl_->CaretPos(p); }
bool RichEdit::CharPos(int index, POINT& p) const { return impl_->CharPos(index, p); }
bool RichEdit::HasFocus() const { return Handle() && GetFocus() == Handle(); }
int RichEdit::LineLength(int line) const { return impl_->LineLength(line); }
int RichEdit::LineStart(int line) const {
    const auto start = impl_->Ask(EM_LINEINDEX, static_cast<WPARAM>(std::max(line, 0)));
    return start < 0 ? impl_->TextLength() : static_cast<int>(start);
}
int RichEdit::SelSize() const {
    CHARFORMAT2W cf = EmptyCharFormat();
    impl_->Ask(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf.yHeight / 20;
}
std::optional<RowPlace> RichEdit::PlaceOfRowStart(int row) const { return impl_->PlaceOfRowStart(row); }
int RichEdit::TextLength() const { return impl_->TextLength(); }
std::optional<int> RichEdit::OneFontSize(int from, int to) const { return impl_->OneFontSize(from, to); }
std::optional<int> RichEdit::CaretTopAtRowStart(int index) const { return impl_->CaretTopAtRowStart(index); }
void RichEdit::Cut() { impl_->Send(WM_CUT); }
void RichEdit::Copy() { impl_->Send(WM_COPY); }
void RichEdit::Paste() { impl_->Send(WM_PASTE); }
bool RichEdit::CanFocus() const { return impl_->CanFocus(); }
void RichEdit::SetFocus() { impl_->SetFocus(); }

int RichEdit::Left() const { return impl_->Bounds().left; }
int RichEdit::Top() const { return impl_->Bounds().top; }
int RichEdit::Width() const { return impl_->Bounds().right; }
int RichEdit::Height() const { return impl_->Bounds().bottom; }
void RichEdit::SetBounds(int left, int top, int width, int height) { impl_->SetBounds(left, top, width, height); }
void RichEdit::SetDisplayZoom(int numerator, int denominator) { impl_->SetDisplayZoom(numerator, denominator); }

std::string RichEdit::SaveRtf() const { return impl_->SaveRtf(); }
void RichEdit::LoadBody(const BodyFile& body) { impl_->LoadBody(body); }
void RichEdit::LoadBody(std::string bytes) { impl_->LoadBody(BodyFile::Read(std::move(bytes), SystemCodePage())); }

} // namespace vn
