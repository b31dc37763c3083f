#include "note/rich_edit_fonts_win.h"

#include <richedit.h>

#include <cmath>
#include <utility>

#include "platform/gdi_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {

// ITextDocument: MinGW's uuid library does not carry it.
constexpr IID kTextDocumentId = {0x8CC497C0, 0xA1DF, 0x11CE, {0x80, 0x98, 0x00, 0xAA, 0x00, 0x47, 0xBE, 0x5D}};

int Twips(float points) { return static_cast<int>(std::lround(points * 20.0f)); }

} // namespace

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
