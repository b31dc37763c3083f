#include "search/note_text.h"

#include "note_bodies.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

const Windows1252CodePage kSystem;

// Code page 1252 with the two Japanese characters of the table in code page 932,
// which the portable tables leave to Windows: the reader must hand each double-byte
// character over whole, with its font's code page.
class WithSomeJapanese final : public CodePage {
public:
    unsigned Identifier() const override { return 1252; }
    Ansi ToAnsi(std::u16string_view text) const override { return kSystem.ToAnsi(text); }
    std::u16string FromAnsi(std::string_view bytes) const override { return kSystem.FromAnsi(bytes); }
    std::u16string FromCodePage(unsigned identifier, std::string_view bytes) const override {
        if (identifier == 932 && bytes == "\x93\x8C\x8B\x9E") return u"\u6771\u4eac";
        return CodePage::FromCodePage(identifier, bytes);
    }
};

TEST(NoteText, TheTextEachBodyShows) {
    const WithSomeJapanese system;
    for (const test::NoteBody& body : test::NoteBodies()) {
        EXPECT_EQ(NoteTextFromBody(body.bytes, system), body.text) << body.what;
    }
}

TEST(NoteText, CodePagesTheSystemNames) {
    // A font of the system's own character set (\fcharset1) and a plain body read
    // with the system's code page: here UTF-8, where 1252 would read "Ã©".
    const Utf8CodePage utf8;
    EXPECT_EQ(NoteTextFromBody(R"({\rtf1{\fonttbl{\f0\fcharset1 X;}}\f0 caf)" "\xC3\xA9}", utf8), u"caf\u00e9");
    EXPECT_EQ(NoteTextFromBody("caf\xC3\xA9", utf8), u"caf\u00e9");
    // A code page the portable tables lack reads as the system's.
    EXPECT_EQ(NoteTextFromBody(R"({\rtf1\ansicpg936 caf)" "\xC3\xA9}", utf8), u"caf\u00e9");
}

TEST(NoteText, BrokenRtfNeverReadsPastItsBytes) {
    const std::string cases[] = {
        "{\\rtf",          "{\\rtf1\\",         "{\\rtf1\\'",      "{\\rtf1\\'4",      "{\\rtf1\\'zz}",
        "{\\rtf1\\u",      "{\\rtf1\\u-",       "{\\rtf1\\u99999999999999999999 x}", "{\\rtf1\\bin99999 x",
        "{\\rtf1\\bin-5 x}", "{\\rtf1\\uc-3\\u65 x}", "{\\rtf1}}}}}x", "{\\rtf1{{{{{{{{",
    };
    for (const std::string& rtf : cases) {
        const std::u16string text = NoteTextFromBody(rtf, kSystem);
        EXPECT_LE(text.size(), rtf.size()) << rtf;
    }
}

} // namespace
} // namespace vn
