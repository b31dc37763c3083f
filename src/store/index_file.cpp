#include "store/index_file.h"

#include "platform/text_codec.h"

namespace vn {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

std::string EncodeIndexFile(const std::vector<std::u16string>& lines, const CodePage& codePage) {
    std::u16string text;
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) text.append(line).append(u"\r\n");
    if (text.empty()) return {};
    if (codePage.Identifier() != kUtf8CodePage) {
        CodePage::Ansi ansi = codePage.ToAnsi(text);
        // Text whose first bytes in the code page read as a byte-order mark (an
        // executable's name starting with the Windows-1252 characters of FF FE, FE FF
        // or EF BB BF) would come back as another encoding: it goes to UTF-8 with its mark.
        if (ansi.lossless && !StartsWithByteOrderMark(ansi.bytes)) return std::move(ansi.bytes);
    }
    std::string out(kUtf8Bom);
    out += EncodeUtf8(text);
    return out;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::u16string> DecodeIndexFile(std::string_view bytes, const CodePage& codePage) {
    return SplitLines(DecodeTextFile(bytes, codePage));
}

} // namespace vn
