#include "note/rich_edit_fonts_win.h"

#include <richedit.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gdi_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {

// ITextDocument: MinGW's uuid library does not carry it.
constexpr IID kTextDocumentId = {0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

int Twips(float points) { return static_cast<int>(std::lround(points * 20.0f)); }

// Whole points as EM_GETCHARFORMAT's twentieths give them: truncated.
int WholePoints(const RunFont& font) { return Twips(font.points) / 20; }

} // namespace

int ControlQuery::TextLength() const {
    GETTEXTLENGTHEX len{GTL_NUMCHARS, 1200};
    return static_cast<int>((*this)(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
}

bool ControlQuery::CharPos(int index, POINT& p) const {
    POINTL at{-1, -1};
    (*this)(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index);
    if (at.x == -1 && at.y == -1) return false;
    p = {at.x, at.y};
    return true;
}

ITextFont* RichEditFonts::FontOf(HWND control, int from, int to) {
    if (!range_ && !none_) {
        IRichEditOle* ole = nullptr;
        if (SendMessageW(control, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)) && ole) {
            ITextDocument* document = nullptr;
            if (SUCCEEDED(ole->QueryInterface(kTextDocumentId, reinterpret_cast<void**>(&document))) && document) {
                if (FAILED(document->Range(0, 0, &range_))) range_ = nullptr;
                document->Release();
            }
            ole->Release();
        }
        if (range_ && (FAILED(range_->GetFont(&font_)) || !font_)) Release();
        none_ = !range_;
    }
    if (!range_ || FAILED(range_->SetRange(from, to))) return nullptr;
    // A range never reaches past the closing paragraph mark: a shorter one is not the
    // text asked for.
    long start = -1, end = -1;
    if (FAILED(range_->GetStart(&start)) || FAILED(range_->GetEnd(&end)) || start != from || end != to) return nullptr;
    return font_;
}

void RichEditFonts::Release() noexcept {
    if (font_) font_->Release();
    if (range_) range_->Release();
    font_ = nullptr;
    range_ = nullptr;
    none_ = false;
}

std::optional<RunFont> RichEditFonts::OneFont(HWND control, int from, int to) {
    ITextFont* font = FontOf(control, from, to);
    if (!font) return std::nullopt;
    // Each property is tomUndefined where the range holds more than one value.
    float points = 0, raised = 0;
    long bold = 0, italic = 0, superscript = 0, subscript = 0;
    BSTR name = nullptr;
    const bool read = SUCCEEDED(font->GetSize(&points)) && SUCCEEDED(font->GetBold(&bold)) &&
                      SUCCEEDED(font->GetItalic(&italic)) && SUCCEEDED(font->GetPosition(&raised)) &&
                      SUCCEEDED(font->GetSuperscript(&superscript)) && SUCCEEDED(font->GetSubscript(&subscript)) &&
                      SUCCEEDED(font->GetName(&name));
    RunFont one;
    if (name) {
        one.name.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    constexpr long kMixed = tomUndefined;
    if (!read || one.name.empty() || points <= 0 || points == static_cast<float>(kMixed) || bold == kMixed ||
        italic == kMixed || raised == static_cast<float>(kMixed) || superscript == kMixed || subscript == kMixed)
        return std::nullopt;
    one.points = points;
    one.bold = bold == tomTrue;
    one.italic = italic == tomTrue;
    one.shifted = raised != 0 || superscript == tomTrue || subscript == tomTrue;
    return one;
}

bool RichEditFonts::Runs(HWND control, int from, int to, std::vector<RunFont>& runs) {
    if (std::optional<RunFont> one = OneFont(control, from, to)) {
        runs.push_back(std::move(*one));
        return true;
    }
    if (to - from < 2) return false;
    const int middle = from + (to - from) / 2;
    return Runs(control, from, middle, runs) && Runs(control, middle, to, runs);
}

std::optional<int> RichEditFonts::OneFontSize(HWND control, int from, int to) {
    const std::optional<RunFont> font = OneFont(control, from, to);
    if (!font) return std::nullopt;
    return WholePoints(*font);
}

RichEditFonts::Metrics RichEditFonts::MetricsOf(HWND control, const RunFont& font) {
    for (const auto& [known, metrics] : metrics_)
        if (known.name == font.name && known.points == font.points && known.bold == font.bold &&
            known.italic == font.italic)
            return metrics;
    Metrics m;
    const WindowDc dc(control);
    if (!dc) return m;
    m.ascent = ControlAscent(dc.Get(), font, &m.height);
    if (metrics_.size() == kKeptMetrics) metrics_.erase(metrics_.begin());
    metrics_.emplace_back(font, m);
    return m;
}

// The caret sits on the row's baseline as tall as the font at its place, so it stands
// at the row's top when that font is the row's tallest: when the row is no taller than
// text in the font of its first character (the cheap test: two places and one
// character's font), or when the whole row, its break included, is in one font.
std::optional<RowPlace> RichEditFonts::PlaceOfRowStart(const ControlQuery& ask, int row) {
    const auto start = ask(EM_LINEINDEX, static_cast<WPARAM>(row));
    POINT top{};
    if (start < 0 || !ask.CharPos(static_cast<int>(start), top)) return std::nullopt;
    const int from = static_cast<int>(start);
    const auto next = ask(EM_LINEINDEX, static_cast<WPARAM>(row + 1));
    POINT below{};
    if (next >= 0 && ask.CharPos(static_cast<int>(next), below)) {
        // Raised, lowered or smaller script text is not as tall as its font.
        if (const std::optional<RunFont> first = OneFont(ask.control, from, from + 1); first && !first->shifted) {
            const Metrics m = MetricsOf(ask.control, *first);
            if (m.height > 0 && below.y - top.y == m.height) return RowPlace{top.y, WholePoints(*first)};
        }
    }
    // A last row without a break ends at the control's closing paragraph mark.
    const int end = next >= 0 ? static_cast<int>(next) : ask.TextLength() + 1;
    if (const std::optional<int> size = OneFontSize(ask.control, from, end)) return RowPlace{top.y, *size};
    return std::nullopt;
}

// While the control has the focus the caret sits on the row's baseline, as tall as
// the font at its place, so its top is the row's top + the tallest ascent of the
// row's text - the ascent of the font at the caret. A row of one font, or one that is
// empty, has the caret at its top. Text raised or lowered has no ascent of its font.
std::optional<int> RichEditFonts::CaretTopAtRowStart(const ControlQuery& ask, int index) {
    POINT top{};
    if (!ask.CharPos(index, top)) return std::nullopt;
    const auto row = ask(EM_EXLINEFROMCHAR, 0, index);
    const auto next = ask(EM_LINEINDEX, static_cast<WPARAM>(row + 1));
    // The row's text, without its break: the break's own format does not count for
    // a row that holds text.
    const int end = next < 0 ? ask.TextLength() : static_cast<int>(next) - 1;
    if (end <= index || OneFont(ask.control, index, end)) return top.y;
    std::vector<RunFont> runs;
    if (!Runs(ask.control, index, end, runs)) return std::nullopt;
    int tallest = -1, atCaret = -1;
    for (const RunFont& run : runs) {
        const int ascent = run.shifted ? -1 : MetricsOf(ask.control, run).ascent;
        if (ascent < 0) return std::nullopt;
        if (atCaret < 0) atCaret = ascent;
        tallest = std::max(tallest, ascent);
    }
    return top.y + tallest - atCaret;
}

int ControlAscent(HDC dc, const RunFont& font, int* height) {
    // The control draws a run in the face, bold and italic of its format, at the height
    // of its size in twentieths of a point scaled to the screen and truncated, not rounded.
    LOGFONTW lf{};
    lf.lfHeight = -(Twips(font.points) * GetDeviceCaps(dc, LOGPIXELSY) / 1440);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    UniqueFont handle(CreateFontIndirectW(&lf));
    if (!handle) return -1;
    ScopedSelectObject selected(dc, handle.get());
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(dc, &tm)) return -1;
    if (height) *height = tm.tmHeight;
    return tm.tmAscent;
}

} // namespace vn
