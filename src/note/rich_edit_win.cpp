#include "note/rich_edit_win.h"

#include "note/rich_edit_fonts_win.h"
#include "platform/code_page_win.h"
#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace vn {
namespace {

constexpr wchar_t kRichEditLibrary[] = L"riched20.dll";
constexpr wchar_t kRichEditClass[] = L"RICHEDIT20W";
constexpr wchar_t kHostClass[] = L"VantoryNote.RichEditHost";
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

CHARFORMAT2W EmptyFormat() {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    return cf;
}

CHARFORMAT2W DefaultFormat() {
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = CFE_AUTOCOLOR;
    cf.yHeight = kDefaultHeightTwips;
    cf.bCharSet = ANSI_CHARSET;
    cf.bPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(cf.szFaceName, kDefaultFace, LF_FACESIZE);
    return cf;
}

struct MemoryIn {
    const char* data;
    size_t size;
    size_t pos = 0;
};

DWORD CALLBACK ReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* in = reinterpret_cast<MemoryIn*>(cookie);
    const size_t n = std::min(static_cast<size_t>(std::max<LONG>(wanted, 0)), in->size - in->pos);
    std::copy_n(in->data + in->pos, n, buffer);
    in->pos += n;
    *got = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    auto* out = reinterpret_cast<std::string*>(cookie);
    return Guarded(DWORD{1}, [&] {
        out->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(std::max<LONG>(count, 0)));
        *written = count;
        return DWORD{0};
    });
}


} // namespace

// Receives the control's notifications while it has no parent of the program's.
class RichEditHost : public Window {
public:
    explicit RichEditHost(std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> forward) : forward_(std::move(forward)) {}
    void Create() {
        RegisterClass(kHostClass);
        CreateNative(0, kHostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if ((msg == WM_COMMAND || msg == WM_NOTIFY) && forward_(msg, wParam, lParam, result)) return result;
        return Window::HandleMessage(msg, wParam, lParam);
    }

private:
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> forward_;
};

class RichEdit::Impl {
public:
    explicit Impl(Events events) : events_(std::move(events)) {}

    ~Impl() {
        fonts_.Release();
        if (hwnd_) {
            RemoveWindowSubclass(hwnd_, &Impl::SubclassProc, kSubclassId);
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
        }
        host_.reset();
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

    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (!hwnd_) return false;
        if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == hwnd_) {
            result = 0;
            if (HIWORD(wParam) == EN_CHANGE && quiet_ == 0 && events_.onChange) events_.onChange();
            return true;
        }
        if (msg == WM_NOTIFY) {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (!hdr || hdr->hwndFrom != hwnd_) return false;
            result = 0;
            if (hdr->code == EN_REQUESTRESIZE && events_.onResizeRequest) {
                const auto* rr = reinterpret_cast<const REQRESIZE*>(lParam);
                events_.onResizeRequest(rr->rc.right - rr->rc.left, rr->rc.bottom - rr->rc.top);
            }
            return true;
        }
        return false;
    }

    // The native control to talk to: the shown one, or a hidden one under the host.
    HWND Control() {
        if (!hwnd_) {
            if (!host_) {
                host_ = std::make_unique<RichEditHost>(
                    [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return HandleParentMessage(m, w, l, r); });
                host_->Create();
                if (events_.onHiddenControl) events_.onHiddenControl(true);
            }
            parked_ = true;
            CreateNative(host_->Handle(), 0);
        }
        return hwnd_;
    }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(Control(), msg, wParam, lParam); }

    // A question that only reads the control's state, put to its own window procedure.
    // Under Wine a SendMessageW to a window of the same thread costs some twenty times
    // what the control needs to answer (0.05 to 0.1 ms each), and the checklist walk
    // asks a few hundred questions a key release. Nothing of the subclass applies to
    // a query, and a query sends no notification.
    LRESULT Ask(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        HWND control = Control();
        return controlProc_ ? CallWindowProcW(controlProc_, control, msg, wParam, lParam)
                            : SendMessageW(control, msg, wParam, lParam);
    }

    std::u16string Text() {
        GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
        const auto n = static_cast<int>(Ask(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
        if (n <= 0) return {};
        std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
        GETTEXTEX get{};
        get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        get.flags = GT_DEFAULT;
        get.codepage = 1200;
        const auto got = static_cast<int>(Ask(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                               reinterpret_cast<LPARAM>(buffer.data())));
        buffer.resize(static_cast<size_t>(std::clamp(got, 0, n)));
        return U16(buffer);
    }

    int TextLength() {
        GETTEXTLENGTHEX len{GTL_NUMCHARS, 1200};
        return static_cast<int>(Ask(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
    }

    // With word wrap off the control's lines are the text's lines; asking the control
    // for one line keeps the checklist walk cheap on long bodies.
    int LineCount() {
        // The captured count of a control that went: a save of a note without a
        // window makes no hidden control for it.
        if (!hwnd_ && snapshot_ && snapshot_->lines) return *snapshot_->lines;
        const auto rows = static_cast<int>(Ask(EM_GETLINECOUNT));
        if (rows <= 0) return 0;
        // The control counts the empty line after a final line break; the program does not.
        const auto lastStart = Ask(EM_LINEINDEX, static_cast<WPARAM>(rows - 1));
        return Ask(EM_LINELENGTH, static_cast<WPARAM>(lastStart)) == 0 ? rows - 1 : rows;
    }

    bool BodyUnread() const { return !hwnd_ && snapshot_ && snapshot_->fromFile; }

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

    bool CharPos(int index, POINT& p) {
        if (!hwnd_) return false;
        POINTL at{-1, -1};
        Ask(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index);
        if (at.x == -1 && at.y == -1) return false;
        p = {at.x, at.y};
        return true;
    }

    // Whole points as EM_GETCHARFORMAT's twentieths give them: truncated.
    static int WholePoints(const RunFont& font) { return static_cast<int>(std::lround(font.points * 20.0f)) / 20; }

    std::optional<int> OneFontSize(int from, int to) {
        const std::optional<RunFont> font = fonts_.OneFont(Control(), from, to);
        if (!font) return std::nullopt;
        return WholePoints(*font);
    }

    // Ascent and height of text in `font` as the control lays it out; a few fonts are
    // kept, a body rarely uses more.
    struct Metrics {
        int ascent = -1, height = -1;
    };
    Metrics FontMetrics(const RunFont& font) {
        for (const auto& [known, metrics] : metrics_)
            if (known.name == font.name && known.points == font.points && known.bold == font.bold &&
                known.italic == font.italic)
                return metrics;
        Metrics m;
        HDC dc = GetDC(hwnd_);
        if (!dc) return m;
        m.ascent = ControlAscent(dc, font, &m.height);
        ReleaseDC(hwnd_, dc);
        if (metrics_.size() == kKeptMetrics) metrics_.erase(metrics_.begin());
        metrics_.emplace_back(font, m);
        return m;
    }

    // Where the caret would stand at the start of row `row` and the size there, read
    // without moving it; nothing when that cannot be told so. The caret sits on the
    // row's baseline as tall as the font at its place, so it stands at the row's top
    // when that font is the row's tallest: when the row is no taller than text in the
    // font of its first character (the cheap test: two places and one character's
    // font), or when the whole row, its break included, is in one font.
    std::optional<RowPlace> PlaceOfRowStart(int row) {
        const auto start = row < 0 ? -1 : Ask(EM_LINEINDEX, static_cast<WPARAM>(row));
        POINT top{};
        if (start < 0 || !CharPos(static_cast<int>(start), top)) return std::nullopt;
        const int from = static_cast<int>(start);
        const auto next = Ask(EM_LINEINDEX, static_cast<WPARAM>(row + 1));
        POINT below{};
        if (next >= 0 && CharPos(static_cast<int>(next), below)) {
            // Raised, lowered or smaller script text is not as tall as its font.
            if (const std::optional<RunFont> first = fonts_.OneFont(hwnd_, from, from + 1); first && !first->shifted) {
                const Metrics m = FontMetrics(*first);
                if (m.height > 0 && below.y - top.y == m.height) return RowPlace{top.y, WholePoints(*first)};
            }
        }
        // A last row without a break ends at the control's closing paragraph mark.
        const int end = next >= 0 ? static_cast<int>(next) : TextLength() + 1;
        if (const std::optional<int> size = OneFontSize(from, end)) return RowPlace{top.y, *size};
        return std::nullopt;
    }

    // Where the caret stands at the start `index` of a row while the control has the
    // focus, worked out without it: the caret sits on the row's baseline, as tall as
    // the font at its place, so its top is the row's top + the tallest ascent of the
    // row's text - the ascent of the font at the caret. A row of one font, or one that
    // is empty, has the caret at its top. Nothing when a font cannot be measured, or
    // text is raised or lowered (its ascent is not the font's).
    std::optional<int> CaretTopAtRowStart(int index) {
        POINT top{};
        if (!CharPos(index, top)) return std::nullopt;
        const auto row = Ask(EM_EXLINEFROMCHAR, 0, index);
        const auto next = Ask(EM_LINEINDEX, static_cast<WPARAM>(row + 1));
        // The row's text, without its break: the break's own format does not count for
        // a row that holds text.
        const int end = next < 0 ? TextLength() : static_cast<int>(next) - 1;
        if (end <= index || fonts_.OneFont(hwnd_, index, end)) return top.y;
        std::vector<RunFont> runs;
        if (!fonts_.Runs(hwnd_, index, end, runs)) return std::nullopt;
        int tallest = -1, atCaret = -1;
        for (const RunFont& run : runs) {
            const int ascent = run.shifted ? -1 : FontMetrics(run).ascent;
            if (ascent < 0) return std::nullopt;
            if (atCaret < 0) atCaret = ascent;
            tallest = std::max(tallest, ascent);
        }
        return top.y + tallest - atCaret;
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
        CHARFORMAT2W cf = EmptyFormat();
        Ask(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf;
    }

    void SetSelectionFormat(CHARFORMAT2W cf) {
        Quiet q(*this);  // a format is not a change of the text
        Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    }

    std::string SaveRtf() {
        // Content that no control holds is already the control's own stream (captured
        // when its window went) or a body file nobody has looked at since it was read.
        if (snapshot_ && (!hwnd_ || snapshot_->fromFile)) return snapshot_->rtf;
        std::string out;
        EDITSTREAM es{};
        es.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
        es.pfnCallback = &WriteString;
        Send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
        if (es.dwError) throw Error("Failed to Save Stream");
        return out;
    }

    bool StreamIn(UINT format, const char* data, size_t size) {
        MemoryIn in{data, size};
        EDITSTREAM es{};
        es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
        es.pfnCallback = &ReadMemory;
        Send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
        return es.dwError == 0;
    }

    void LoadBody(const BodyFile& body) {
        if (!hwnd_ && body.GetForm() == BodyFile::Form::Rtf) {
            // No control yet: the RTF waits until one is needed (shown, asked about
            // its text). A thousand stored notes then start without a thousand
            // controls, and a save of an unread body writes the bytes it read.
            snapshot_ = Snapshot{body.Bytes(), CHARRANGE{0, 0}, EmptyFormat(), body};
            if (events_.onChange) events_.onChange();
            return;
        }
        {
            Quiet q(*this);
            StreamBody(body);
        }
        if (events_.onChange) events_.onChange();
        Send(EM_REQUESTRESIZE);
    }

    // The body file's bytes into the control, replacing its content, selection at 0.
    void StreamBody(const BodyFile& body) {
        LoadBodyFile(
            body, [&](std::string_view rtf) { return StreamIn(SF_RTF, rtf.data(), rtf.size()); },
            [&](const std::u16string& text) {
                // Plain text takes the editor's default format, whatever the old content had.
                Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
                CHARFORMAT2W cf = DefaultFormat();
                Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
                return StreamIn(SF_TEXT | SF_UNICODE, reinterpret_cast<const char*>(text.data()),
                                text.size() * sizeof(char16_t));
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

private:
    // Holds back change notifications for the wrapper's own edits.
    struct Quiet {
        explicit Quiet(Impl& impl) : impl_(impl) { ++impl_.quiet_; }
        ~Quiet() { --impl_.quiet_; }
        Impl& impl_;
    };

    void CreateNative(HWND parent, DWORD visible) {
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
        SetWindowSubclass(h, &Impl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

        Quiet q(*this);
        SendMessageW(h, EM_EXLIMITTEXT, 0, kTextLimit);
        SendMessageW(h, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
        CHARFORMAT2W cf = DefaultFormat();
        SendMessageW(h, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(h, EM_SETTARGETDEVICE, 0, 1);  // line width 1: no word wrap, a line is a paragraph
        SendMessageW(h, EM_SETZOOM, 0, 0);
        SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_REQUESTRESIZE);
        Restore();
        SendMessageW(h, EM_REQUESTRESIZE, 0, 0);
    }

    // Captures the content while the control still has it: its window is going.
    void Capture() {
        // A body file the control could not take stays what is kept and saved.
        if (snapshot_ && snapshot_->fromFile) return;
        Snapshot s;
        s.lines = LineCount();
        s.rtf = SaveRtf();
        s.selection = Selection();
        s.caretFormat = SelectionFormat();
        snapshot_ = std::move(s);
        if (!parked_) bounds_ = Bounds();
    }

    void Restore() {
        if (!snapshot_) return;
        if (snapshot_->fromFile) {
            // Taken like LoadBody takes it; on failure the bytes stay pending (and
            // are what a save writes), so nothing of the body is lost.
            StreamBody(*snapshot_->fromFile);
            snapshot_.reset();
            return;
        }
        Snapshot s = std::move(*snapshot_);
        snapshot_.reset();
        StreamIn(SF_RTF, s.rtf.data(), s.rtf.size());
        SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&s.selection));
        // The format chosen for the next typed text is not part of the RTF stream.
        if (s.selection.cpMin == s.selection.cpMax)
            SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&s.caretFormat));
        SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
    }

    void DestroyNative() {
        if (hwnd_) DestroyWindow(hwnd_);  // WM_DESTROY captures the content
    }

    // The hidden control's message-only window goes with the control it held.
    void DropHost() {
        if (!host_ || hwnd_) return;
        host_.reset();
        if (events_.onHiddenControl) events_.onHiddenControl(false);
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
        case WM_KEYDOWN:
            if (wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
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

    struct Snapshot {
        std::string rtf;
        CHARRANGE selection{};
        CHARFORMAT2W caretFormat{};
        std::optional<BodyFile> fromFile;  // a body file that no control has read yet
        std::optional<int> lines;          // of a captured control
    };

    Events events_;
    HWND hwnd_ = nullptr;
    bool parked_ = false;  // hwnd_ lives under host_, not in a parent of the program's
    WNDPROC controlProc_ = nullptr;  // the control's own procedure, under the subclass
    std::unique_ptr<RichEditHost> host_;
    RECT bounds_{0, 0, 0, 0};  // left, top, width, height
    std::optional<Snapshot> snapshot_;
    RichEditFonts fonts_;  // of hwnd_
    static constexpr size_t kKeptMetrics = 8;
    std::vector<std::pair<RunFont, Metrics>> metrics_;
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

bool RichEdit::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return impl_->HandleParentMessage(msg, wParam, lParam, result);
}

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
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = CFM_FACE;
    lstrcpynW(cf.szFaceName, W(name), LF_FACESIZE);  // at most 31 characters and the terminator
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelSize(int points) {
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = CFM_SIZE;
    cf.yHeight = std::clamp(points, 1, 1638) * 20;
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelColor(COLORREF color, bool automatic) {
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = CFM_COLOR;
    cf.dwEffects = automatic ? CFE_AUTOCOLOR : 0;
    cf.crTextColor = automatic ? 0 : color;
    impl_->SetSelectionFormat(cf);
}

void RichEdit::SetSelStyle(unsigned style) {
    CHARFORMAT2W cf = EmptyFormat();
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
    CHARFORMAT2W cf = EmptyFormat();
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

std::string RichEdit::SaveRtf() const { return impl_->SaveRtf(); }
void RichEdit::LoadBody(const BodyFile& body) { impl_->LoadBody(body); }
void RichEdit::LoadBody(std::string bytes) { impl_->LoadBody(BodyFile::Read(std::move(bytes), SystemCodePage())); }

} // namespace vn
