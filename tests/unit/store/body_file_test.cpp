#include "store/body_file.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

// Stand-in for the ANSI code page, with a marker so the tests see it was used.
class MarkedLatin1 final : public CodePage {
public:
    unsigned Identifier() const override { return 28591; }
    Ansi ToAnsi(std::u16string_view) const override { return {}; }
    std::u16string FromAnsi(std::string_view s) const override {
        std::u16string out = u"[A]";
        for (char c : s) out.push_back(static_cast<unsigned char>(c));
        return out;
    }
};

const MarkedLatin1 kLatin1;

struct PlainCase {
    const char* what;
    std::string bytes;
    std::u16string text;
};

TEST(BodyFile, PlainTextEncodingsAndLineBreaks) {
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
        // Broken input follows the codec's one policy (text_codec_test.cpp).
        {"UTF-8, broken sequences replaced, rest kept", "\xEF\xBB\xBF" "a\xC3(b\xFF\xE2\x82", u"a\uFFFD(b\uFFFD\uFFFD"},
        {"UTF-16LE, odd byte left over", std::string("\xFF\xFE" "a\0b", 5), u"a\uFFFD"},
    };
    for (const auto& c : cases) {
        BodyFile body = BodyFile::Read(c.bytes, kLatin1);
        EXPECT_EQ(body.GetForm(), BodyFile::Form::Text) << c.what;
        EXPECT_EQ(body.PlainText(), c.text) << c.what;
        EXPECT_EQ(body.Bytes(), c.bytes) << c.what;
    }
}

TEST(BodyFile, RtfIsRecognisedOnlyByItsOpening) {
    struct Case {
        std::string bytes;
        bool rtf;
    } cases[] = {
        {"{\\rtf1\\ansi x}", true}, {"{\\urtf1 x}", true}, {" {\\rtf1 x}", false},
        {"\xEF\xBB\xBF{\\rtf1 x}", false}, {"{\\rt", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BodyFile::Read(c.bytes, kLatin1).GetForm() == BodyFile::Form::Rtf, c.rtf) << c.bytes;
}

TEST(BodyFile, LoadOrderAndFailure) {
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
            LoadBodyFile(
                BodyFile::Read(c.bytes, kLatin1), [&](std::string_view) { calls += 'r'; return c.rtfTaken; },
                [&](const std::u16string& t) { calls += 't'; text = t; return c.textTaken; });
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
