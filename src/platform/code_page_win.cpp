#include "platform/code_page_win.h"

#include <windows.h>

#include "platform/text_win.h"

namespace vn {

namespace {

std::string Narrow(UINT codePage, DWORD flags, std::u16string_view text, BOOL* usedDefault, bool* ok) {
    *ok = true;
    if (text.empty()) return {};
    const int units = static_cast<int>(text.size());
    const wchar_t* source = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(codePage, flags, source, units, nullptr, 0, nullptr, usedDefault);
    if (n <= 0) {
        *ok = false;
        return {};
    }
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, source, units, out.data(), n, nullptr, usedDefault);
    return out;
}

std::u16string Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, W(out.data()), n);
    return out;
}

} // namespace

unsigned WindowsCodePage::Identifier() const { return GetACP(); }

CodePage::Ansi WindowsCodePage::ToAnsi(std::u16string_view text) const {
    const UINT acp = GetACP();
    bool ok = false;
    if (acp != CP_UTF8) {
        // Exact only if no character needed the default character or a best-fit
        // stand-in ("a" for "a with macron" would silently change a caption).
        BOOL usedDefault = FALSE;
        std::string exact = Narrow(acp, WC_NO_BEST_FIT_CHARS, text, &usedDefault, &ok);
        if (ok) {
            if (!usedDefault) return {std::move(exact), true};
            return {Narrow(acp, 0, text, nullptr, &ok), false};
        }
    }
    // UTF-8 and the code pages that refuse those flags: the format's own
    // conversion (no flags, no default character), checked by a round trip.
    std::string bytes = Narrow(acp, 0, text, nullptr, &ok);
    bool lossless = ok && Widen(acp, bytes) == text;
    return {std::move(bytes), lossless};
}

std::u16string WindowsCodePage::FromAnsi(std::string_view bytes) const { return Widen(CP_ACP, bytes); }

std::u16string WindowsCodePage::FromCodePage(unsigned identifier, std::string_view bytes) const {
    if (identifier == CP_UTF8 || identifier == CP_SYMBOL || IsValidCodePage(identifier)) return Widen(identifier, bytes);
    return CodePage::FromCodePage(identifier, bytes);
}

const CodePage& SystemCodePage() {
    static const WindowsCodePage codePage;
    return codePage;
}

} // namespace vn
