#include "store/code_page.h"

#include "store/utf.h"

namespace vn {

namespace {

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

} // namespace

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
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kHigh1252[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

CodePage::Ansi Utf8CodePage::ToAnsi(std::u16string_view text) const {
    std::string bytes = EncodeUtf8(text);
    // Only unpaired surrogates change on the way (into U+FFFD).
    bool lossless = DecodeUtf8(bytes) == text;
    return {std::move(bytes), lossless};
}

std::u16string Utf8CodePage::FromAnsi(std::string_view bytes) const { return DecodeUtf8(bytes); }

} // namespace vn
