#include "note/body_file_text.h"

#include "platform/errors.h"

namespace vn {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::u16string DecodeUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        for (; j < s.size() && j <= i + extra; ++j) {
            const auto c = static_cast<unsigned char>(s[j]);
            if ((c & 0xC0) != 0x80) break;
            cp = (cp << 6) | (c & 0x3F);
        }
        const bool complete = j == i + 1 + extra;
        if (!complete || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // One replacement for the broken sequence; decoding resumes at the first byte
            // that did not belong to it.
            out.push_back(kReplacement);
            i = j;
            continue;
        }
        AppendCodePoint(out, cp);
        i = j;
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view s, bool bigEndian) {
    std::u16string out;
    out.reserve(s.size() / 2 + 1);
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(s[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    if (s.size() % 2) out.push_back(kReplacement);  // a dangling half code unit
    return out;
}

std::u16string NormaliseLineBreaks(const std::u16string& in) {
    std::u16string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'\r') {
            out.push_back(u'\r');
            if (i + 1 < in.size() && in[i + 1] == u'\n') ++i;
        } else if (in[i] == u'\n') {
            out.push_back(u'\r');
        } else {
            out.push_back(in[i]);
        }
    }
    return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

} // namespace

bool LooksLikeRtf(std::string_view bytes) { return StartsWith(bytes, "{\\rtf") || StartsWith(bytes, "{\\urtf"); }

std::u16string DecodePlainBody(std::string_view bytes, const AnsiDecoder& ansi) {
    std::u16string text;
    if (StartsWith(bytes, "\xFF\xFE"))
        text = DecodeUtf16(bytes.substr(2), false);
    else if (StartsWith(bytes, "\xFE\xFF"))
        text = DecodeUtf16(bytes.substr(2), true);
    else if (StartsWith(bytes, "\xEF\xBB\xBF"))
        text = DecodeUtf8(bytes.substr(3));
    else
        text = ansi(bytes);
    return NormaliseLineBreaks(text);
}

void LoadBodyBytes(std::string_view bytes, const std::function<bool(std::string_view)>& streamRtf,
                   const std::function<bool(const std::u16string&)>& streamText, const AnsiDecoder& ansi) {
    if (LooksLikeRtf(bytes) && streamRtf(bytes)) return;
    if (streamText(DecodePlainBody(bytes, ansi))) return;
    throw Error("Failed to Load Stream");
}

} // namespace vn
