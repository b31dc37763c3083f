#include "exchange/zip_text.h"

#include "store/utf.h"

#include <array>
#include <cstdint>

namespace vn {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

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

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

} // namespace

std::string ZipUtf8(std::u16string_view text) { return EncodeUtf8(text); }

namespace {

// Decodes, counting the bytes that had to be replaced.
std::u16string DecodeUtf8(std::string_view bytes, size_t& replaced) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<uint8_t>(bytes[i]);
        if (b0 < 0x80) {
            out += static_cast<char16_t>(b0);
            ++i;
            continue;
        }
        size_t length = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2, c = b0 & 0x1F, minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3, c = b0 & 0x0F, minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4, c = b0 & 0x07, minimum = 0x10000;
        }
        bool ok = length != 0 && i + length <= bytes.size();
        for (size_t k = 1; ok && k < length; ++k) {
            const auto b = static_cast<uint8_t>(bytes[i + k]);
            if ((b & 0xC0) != 0x80) ok = false;
            c = (c << 6) | (b & 0x3F);
        }
        if (ok && (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        if (ok) {
            AppendUtf16(out, c);
            i += length;
        } else {
            out += kReplacement;
            ++replaced;
            ++i;
        }
    }
    return out;
}

} // namespace

std::u16string ZipFromUtf8(std::string_view bytes) {
    size_t replaced = 0;
    return DecodeUtf8(bytes, replaced);
}

bool ZipIsUtf8(std::string_view bytes) {
    size_t replaced = 0;
    DecodeUtf8(bytes, replaced);
    return replaced == 0;
}

std::u16string ZipFromCp437(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        out += b < 0x80 ? static_cast<char16_t>(b) : kCp437High[b - 0x80];
    }
    return out;
}

} // namespace vn
