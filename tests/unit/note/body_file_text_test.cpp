#include "note/body_file_text.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

// Stand-in for the ANSI code page: Latin-1, with a marker so the tests see it was used.
std::u16string Latin1(std::string_view s) {
    std::u16string out = u"[A]";
    for (char c : s) out.push_back(static_cast<unsigned char>(c));
    return out;
}

struct PlainCase {
    const char* what;
    std::string bytes;
    std::u16string text;
};

TEST(BodyFileText, PlainTextEncodingsAndLineBreaks) {
    const std::vector<PlainCase> cases = {
        {"ANSI, CR LF", "ab\r\ncd\xE9", u"[A]ab\rcd\u00E9"},
        {"ANSI, lone LF and lone CR", "a\nb\rc", u"[A]a\rb\rc"},
        {"ANSI, LF CR is two breaks", "a\n\rb", u"[A]a\r\rb"},
        {"ANSI, CR CR LF", "a\r\r\nb", u"[A]a\r\rb"},
        {"UTF-8 BOM", "\xEF\xBB\xBFx\xC3\xA9\r\n\xE2\x82\xAC\n\xF0\x9F\x98\x80", u"x\u00E9\r\u20AC\r\U0001F600"},
        {"UTF-16LE BOM", std::string("\xFF\xFE" "a\0\r\0\n\0\xAC\x20", 10), u"a\r\u20AC"},
        {"UTF-16BE BOM", std::string("\xFE\xFF\0a\0\n\0\r\x20\xAC", 10), u"a\r\r\u20AC"},
        {"BOM only", "\xEF\xBB\xBF", u""},
        {"empty file", "", u"[A]"},
        {"trailing break kept", "\xEF\xBB\xBF" "a\r\n", u"a\r"},
        {"UTF-8, broken sequences replaced, rest kept", "\xEF\xBB\xBF" "a\xC3(b\xFF\xE2\x82", u"a\uFFFD(b\uFFFD\uFFFD"},
        {"UTF-8, overlong and surrogate rejected", "\xEF\xBB\xBF\xC0\xAF\xED\xA0\x80z", u"\uFFFD\uFFFD\uFFFDz"},
        {"UTF-16LE, odd byte left over", std::string("\xFF\xFE" "a\0b", 5), u"a\uFFFD"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodePlainBody(c.bytes, Latin1), c.text) << c.what;
}

TEST(BodyFileText, RtfIsRecognisedOnlyByItsOpening) {
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi x}"));
    EXPECT_TRUE(LooksLikeRtf("{\\urtf1 x}"));
    EXPECT_FALSE(LooksLikeRtf(" {\\rtf1 x}"));
    EXPECT_FALSE(LooksLikeRtf("\xEF\xBB\xBF{\\rtf1 x}"));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(LooksLikeRtf(""));
}

TEST(BodyFileText, LoadOrderAndFailure) {
    struct Case {
        const char* what;
        std::string bytes;
        bool rtfTaken, textTaken;
        std::string expectCalls;  // r = RTF tried, t = text tried
        bool fails;
    };
    const std::vector<Case> cases = {
        {"RTF taken", "{\\rtf1 x}", true, true, "r", false},
        {"RTF refused, read as text", "{\\rtf1 x}", false, true, "rt", false},
        {"not RTF: straight to text", "hello", true, true, "t", false},
        {"both refused", "{\\rtf1 x}", false, false, "rt", true},
        {"text refused", "hello", true, false, "t", true},
    };
    for (const auto& c : cases) {
        std::string calls;
        std::u16string text;
        auto load = [&] {
            LoadBodyBytes(
                c.bytes, [&](std::string_view) { calls += 'r'; return c.rtfTaken; },
                [&](const std::u16string& t) { calls += 't'; text = t; return c.textTaken; }, Latin1);
        };
        if (c.fails) {
            try {
                load();
                ADD_FAILURE() << c.what << ": no error";
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), "Failed to Load Stream") << c.what;
            }
        } else {
            EXPECT_NO_THROW(load()) << c.what;
        }
        EXPECT_EQ(calls, c.expectCalls) << c.what;
        if (calls.back() == 't') {
            EXPECT_EQ(text, u"[A]" + std::u16string(c.bytes.begin(), c.bytes.end())) << c.what;
        }
    }
}

} // namespace
} // namespace vn
