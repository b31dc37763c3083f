#include "note/rich_edit_keeper_win.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

namespace vn {
namespace {

constexpr wchar_t kHostClass[] = L"VantoryNote.RichEditHost";

struct MemoryIn {
    std::string_view bytes;
    size_t pos = 0;
};

DWORD CALLBACK ReadMemory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* in = reinterpret_cast<MemoryIn*>(cookie);
    const size_t n = std::min(static_cast<size_t>(std::max<LONG>(wanted, 0)), in->bytes.size() - in->pos);
    std::copy_n(in->bytes.data() + in->pos, n, buffer);
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

CHARFORMAT2W EmptyCharFormat() {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    return cf;
}

bool StreamIntoControl(HWND control, UINT format, std::string_view bytes) {
    MemoryIn in{bytes};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
    es.pfnCallback = &ReadMemory;
    SendMessageW(control, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

std::string StreamRtfOutOf(HWND control) {
    std::string out;
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    es.pfnCallback = &WriteString;
    SendMessageW(control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    if (es.dwError) throw Error("Failed to Save Stream");
    return out;
}

std::u16string RichEditText(const std::function<LRESULT(UINT, WPARAM, LPARAM)>& ask) {
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto n = static_cast<int>(ask(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
    if (n <= 0) return {};
    std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const auto got =
        static_cast<int>(ask(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<size_t>(std::clamp(got, 0, n)));
    return U16(buffer);
}

// The parent of a hidden control. Its notifications come back to the control itself
// (the layer's reflection), as they do from a note's body area.
class RichEditKeeper::HostWindow final : public Window {
public:
    HostWindow() {
        RegisterClass(kHostClass);
        CreateNative(0, kHostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    }
};

RichEditKeeper::RichEditKeeper(std::function<void(bool made)> onHiddenControl)
    : onHiddenControl_(std::move(onHiddenControl)) {}

RichEditKeeper::~RichEditKeeper() = default;

HWND RichEditKeeper::Host() {
    if (!host_) {
        host_ = std::make_unique<HostWindow>();
        if (onHiddenControl_) onHiddenControl_(true);
    }
    return host_->Handle();
}

void RichEditKeeper::DropHost() {
    if (!host_) return;
    host_.reset();
    if (onHiddenControl_) onHiddenControl_(false);
}

void RichEditKeeper::KeepUnread(const BodyFile& body) {
    kept_ = Kept{body.Bytes(), CHARRANGE{0, 0}, EmptyCharFormat(), body, {}};
}

void RichEditKeeper::Capture(HWND control, int lines) {
    if (BodyUnread()) return;
    Kept kept;
    kept.lines = lines;
    kept.rtf = StreamRtfOutOf(control);
    SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept.selection));
    kept.caretFormat = EmptyCharFormat();
    SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&kept.caretFormat));
    kept_ = std::move(kept);
}

void RichEditKeeper::Restore(HWND control, const std::function<void(const BodyFile&)>& loadBody) {
    if (!kept_) return;
    if (kept_->unread) {
        loadBody(*kept_->unread);
        kept_.reset();
        return;
    }
    Kept kept = std::move(*kept_);
    kept_.reset();
    StreamIntoControl(control, SF_RTF, kept.rtf);
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept.selection));
    // The format chosen for the next typed text is not part of the RTF stream.
    if (kept.selection.cpMin == kept.selection.cpMax)
        SendMessageW(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&kept.caretFormat));
    SendMessageW(control, EM_EMPTYUNDOBUFFER, 0, 0);
}

} // namespace vn
