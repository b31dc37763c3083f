// The one replacement policy of the text codec: nothing is dropped, each broken
// piece of input is one U+FFFD, everything around it comes through.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

enum class From { Utf8, Utf16Le, Utf16Be, TextFile };

std::u16string Decode(From from, std::string_view bytes) {
    static const Windows1252CodePage cp1252;
    switch (from) {
    case From::Utf8: return DecodeUtf8(bytes);
    case From::Utf16Le: return DecodeUtf16(bytes, false);
    case From::Utf16Be: return DecodeUtf16(bytes, true);
    case From::TextFile: return DecodeTextFile(bytes, cp1252);
    }
    return {};
}

TEST(TextCodec, BrokenInputBecomesOneReplacementPerBrokenPiece) {
    struct Case {
        const char* what;
        From from;
        std::string bytes;
        std::u16string text;
        bool wellFormed;
    } cases[] = {
        {"UTF-8, well formed", From::Utf8, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u00E9\u20AC\U0001F600", true},
        {"UTF-8, bad lead bytes", From::Utf8, "a\x80\xBF\xC0\xC1\xF5\xFFz", u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz", false},
        {"UTF-8, cut sequences are one each", From::Utf8, "a\xC3" "b\xE2\x82" "c\xF0\x9F\x98", u"a\uFFFDb\uFFFDc\uFFFD", false},
        {"UTF-8, cut at the very end", From::Utf8, "a\xE2\x82", u"a\uFFFD", false},
        {"UTF-8, overlong forms: every byte", From::Utf8, "\xC0\xAF\xE0\x80\xAF.", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD.", false},
        {"UTF-8, encoded surrogate: every byte", From::Utf8, "\xED\xA0\x80" "d", u"\uFFFD\uFFFD\uFFFDd", false},
        {"UTF-8, past U+10FFFF", From::Utf8, "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
        {"UTF-8, mixed", From::Utf8, "a\xC3" "b\xE2\x82" "c\xF0\x9F\x98\x80\xED\xA0\x80" "d",
         u"a\uFFFDb\uFFFDc\U0001F600\uFFFD\uFFFD\uFFFDd", false},
        {"UTF-16LE, odd last byte", From::Utf16Le, std::string("a\0b", 3), u"a\uFFFD", false},
        {"UTF-16BE, odd last byte", From::Utf16Be, std::string("\0a\0", 3), u"a\uFFFD", false},
        {"UTF-16LE, lone surrogates kept", From::Utf16Le, std::string("\x00\xD8" "a\0\x00\xDC", 6),
         u"\xD800" u"a\xDC00", true},
        {"text file, UTF-8 mark", From::TextFile, "\xEF\xBB\xBF\xC3\xA9\xC3", u"\u00E9\uFFFD", false},
        {"text file, UTF-16LE mark, odd byte", From::TextFile, std::string("\xFF\xFE" "a\0b", 5), u"a\uFFFD", false},
        {"text file, UTF-16BE mark", From::TextFile, std::string("\xFE\xFF\0a", 4), u"a", true},
        {"text file, ANSI", From::TextFile, "\x80\xE9", u"\u20AC\u00E9", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.from, c.bytes), c.text) << c.what;
        if (c.from == From::Utf8) EXPECT_EQ(IsUtf8(c.bytes), c.wellFormed) << c.what;
    }
}

TEST(TextCodec, EncodingReplacesOnlyWhatTheTargetCannotHold) {
    EXPECT_EQ(EncodeUtf8(u"\U0001F600x\xD800"), "\xF0\x9F\x98\x80x\xEF\xBF\xBD");
    EXPECT_EQ(EncodeUtf8(std::u16string(u"\xDC00\xD800") + u"\U0001F600"), "\xEF\xBF\xBD\xEF\xBF\xBD\xF0\x9F\x98\x80");
    CodePage::Ansi utf8 = Utf8CodePage().ToAnsi(u"a\xD800");
    EXPECT_EQ(utf8.bytes, "a\xEF\xBF\xBD");
    EXPECT_FALSE(utf8.lossless);
    CodePage::Ansi ansi = Windows1252CodePage().ToAnsi(u"\u20ACa\u4E2D");
    EXPECT_EQ(ansi.bytes, "\x80" "a?");
    EXPECT_FALSE(ansi.lossless);
}

} // namespace
} // namespace vn
