#include "store/utf.h"

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

} // namespace

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(u) || IsLow(u)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        // Lead byte: number of continuation bytes and the allowed range of the
        // first one (excludes overlong forms, surrogates and values past U+10FFFF).
        int extra = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        char32_t c = 0;
        if (b >= 0xC2 && b <= 0xDF) { extra = 1; c = b & 0x1F; }
        else if (b == 0xE0) { extra = 2; c = 0; lo = 0xA0; }
        else if (b >= 0xE1 && b <= 0xEC) { extra = 2; c = b & 0x0F; }
        else if (b == 0xED) { extra = 2; c = 0x0D; hi = 0x9F; }
        else if (b >= 0xEE && b <= 0xEF) { extra = 2; c = b & 0x0F; }
        else if (b == 0xF0) { extra = 3; c = 0; lo = 0x90; }
        else if (b >= 0xF1 && b <= 0xF3) { extra = 3; c = b & 0x07; }
        else if (b == 0xF4) { extra = 3; c = 4; hi = 0x8F; }
        else {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        size_t j = i + 1;
        int got = 0;
        while (got < extra && j < n) {
            unsigned char t = static_cast<unsigned char>(bytes[j]);
            unsigned char tlo = got == 0 ? lo : 0x80, thi = got == 0 ? hi : 0xBF;
            if (t < tlo || t > thi) break;
            c = (c << 6) | (t & 0x3F);
            ++j;
            ++got;
        }
        if (got == extra) AppendUtf16(out, c);
        else out += u'\uFFFD';
        i = j;
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < out.size(); ++k) {
        unsigned a = static_cast<unsigned char>(bytes[2 * k]);
        unsigned b = static_cast<unsigned char>(bytes[2 * k + 1]);
        out[k] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    return out;
}

} // namespace vn
