#include "platform/text_codec.h"

#include "platform/code_page_tables.h"

#include <array>
#include <cstdint>

namespace vn {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Decodes, counting the replacements.
std::u16string Utf8ToUtf16(std::string_view bytes, size_t& replaced) {
    std::u16string out;
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        // Lead byte: number of continuation bytes and the allowed range of the
        // first one (which excludes overlong forms, surrogates and values past
        // U+10FFFF), so that a sequence is ill-formed as soon as a byte is.
        int extra = 0;
        uint8_t lo = 0x80, hi = 0xBF;
        char32_t c = 0;
        if (b >= 0xC2 && b <= 0xDF) { extra = 1; c = b & 0x1F; }
        else if (b == 0xE0) { extra = 2; lo = 0xA0; }
        else if (b >= 0xE1 && b <= 0xEC) { extra = 2; c = b & 0x0F; }
        else if (b == 0xED) { extra = 2; c = 0x0D; hi = 0x9F; }
        else if (b >= 0xEE && b <= 0xEF) { extra = 2; c = b & 0x0F; }
        else if (b == 0xF0) { extra = 3; lo = 0x90; }
        else if (b >= 0xF1 && b <= 0xF3) { extra = 3; c = b & 0x07; }
        else if (b == 0xF4) { extra = 3; c = 4; hi = 0x8F; }
        size_t j = i + 1;
        int got = 0;
        while (extra > 0 && got < extra && j < n) {
            const auto t = static_cast<uint8_t>(bytes[j]);
            if (t < (got == 0 ? lo : 0x80) || t > (got == 0 ? hi : 0xBF)) break;
            c = (c << 6) | (t & 0x3F);
            ++j;
            ++got;
        }
        if (extra > 0 && got == extra) {
            AppendUtf16(out, c);
        } else {
            out += kReplacementCharacter;
            ++replaced;
        }
        i = j;
    }
    return out;
}

// Bytes 0x80..0xFF of code page 437; 0x00..0x7F are ASCII.
constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Characters of the bytes 0x80..0x9F in Windows-1252.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool To1252(char16_t c, char& out) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out = static_cast<char>(c);
        return true;
    }
    for (int k = 0; k < 32; ++k) {
        if (kHigh1252[k] == c) {
            out = static_cast<char>(0x80 + k);
            return true;
        }
    }
    return false;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(u) || IsLow(u)) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    size_t replaced = 0;
    return Utf8ToUtf16(bytes, replaced);
}

bool IsUtf8(std::string_view bytes) {
    size_t replaced = 0;
    Utf8ToUtf16(bytes, replaced);
    return replaced == 0;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < out.size(); ++k) {
        const unsigned a = static_cast<uint8_t>(bytes[2 * k]);
        const unsigned b = static_cast<uint8_t>(bytes[2 * k + 1]);
        out[k] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    if (bytes.size() % 2 != 0) out += kReplacementCharacter; // half a code unit
    return out;
}

std::u16string DecodeCp437(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        out += b < 0x80 ? static_cast<char16_t>(b) : kCp437High[b - 0x80];
    }
    return out;
}

CodePage::Ansi Windows1252CodePage::ToAnsi(std::u16string_view text) const {
    Ansi result{std::string(), true};
    result.bytes.reserve(text.size());
    for (char16_t c : text) {
        char b;
        if (!To1252(c, b)) {
            b = '?';
            result.lossless = false;
        }
        result.bytes += b;
    }
    return result;
}

std::u16string Windows1252CodePage::FromAnsi(std::string_view bytes) const {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kHigh1252[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

CodePage::Ansi Utf8CodePage::ToAnsi(std::u16string_view text) const {
    std::string bytes = EncodeUtf8(text);
    // Only unpaired surrogates change on the way (into U+FFFD).
    const bool lossless = DecodeUtf8(bytes) == text;
    return {std::move(bytes), lossless};
}

std::u16string Utf8CodePage::FromAnsi(std::string_view bytes) const { return DecodeUtf8(bytes); }

std::u16string CodePage::FromCodePage(unsigned identifier, std::string_view bytes) const {
    constexpr unsigned kSymbol = 42;
    if (identifier == Identifier()) return FromAnsi(bytes);
    if (identifier == kUtf8CodePage) return DecodeUtf8(bytes);
    if (identifier == 1252) return Windows1252CodePage().FromAnsi(bytes);
    if (identifier == 437) return DecodeCp437(bytes);
    const char16_t* high = SingleByteHighHalf(identifier);
    if (high == nullptr && identifier != kSymbol) return FromAnsi(bytes);
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (identifier == kSymbol) {
            out[i] = static_cast<char16_t>(0xF000 + b);
        } else {
            out[i] = b < 0x80 ? static_cast<char16_t>(b) : high[b - 0x80];
        }
    }
    return out;
}

bool StartsWithByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom) || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::u16string DecodeTextFile(std::string_view bytes, const CodePage& codePage) {
    if (bytes.starts_with(kUtf8Bom)) return DecodeUtf8(bytes.substr(kUtf8Bom.size()));
    if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    return codePage.FromAnsi(bytes);
}

} // namespace vn
