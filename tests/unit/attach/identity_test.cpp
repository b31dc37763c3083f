#include "attach/identity.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(IdentityText, FoldsOnlyTheLettersAToZ) {
    struct Case {
        std::u16string a, b;
        bool equal;
    } const cases[] = {
        {u"", u"", true},
        {u"notepad.exe", u"NOTEPAD.EXE", true},
        {u"NotePad.Exe", u"nOTEpAD.eXE", true},
        {u"notepad.exe", u"notepad.exe ", false},  // no trimming at comparison time
        {u"notepad.exe", u"notepad.ex", false},
        {u"", u" ", false},
        {u"\u00e9diteur.exe", u"\u00c9DITEUR.EXE", false},  // accented letters keep their case
        {u"\u00e9diteur.exe", u"\u00e9DITEUR.EXE", true},
        {u"\u03b1.exe", u"\u0391.EXE", false},              // Greek
        {u"\u0444\u0430\u0439\u043b", u"\u0424\u0410\u0419\u041b", false},  // Cyrillic
        {u"[a]", u"{A}", false},  // '[' and '{' sit 32 apart but are not letters
        {u"@", u"`", false},
        {u"a b", u"A  B", false},
        // A caption is stored on one line: CR and LF compare as spaces.
        {u"Report\r\nDraft", u"REPORT  DRAFT", true},
        {u"one\rtwo", u"one\ntwo", true},
        {u"one\ntwo", u"one\ttwo", false},
        {u"one\r\ntwo", u"one two", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IdentityTextEquals(c.a, c.b), c.equal) << std::string(c.a.begin(), c.a.end());
        EXPECT_EQ(IdentityTextEquals(c.b, c.a), c.equal);
    }
}

TEST(IdentityText, CaptionsLoseEveryControlCodeAndBlankAtBothEndsOnly) {
    struct Case {
        std::u16string raw, trimmed;
    } const cases[] = {
        {u"Untitled - Notepad", u"Untitled - Notepad"},
        {u"  Untitled - Notepad \t", u"Untitled - Notepad"},
        {u"\r\n\x01\x1f Doc  1 \x7f", u"Doc  1 \x7f"},  // DEL (127) is above 32
        {std::u16string(u"\0Doc\0", 5), u"Doc"},
        {u" \t\r\n ", u""},
        {u"", u""},
        {u"\u00a0Doc\u00a0", u"\u00a0Doc\u00a0"},  // a no-break space is not blank here
        {u"a\tb", u"a\tb"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimCaption(c.raw), c.trimmed);
}

TEST(IdentityText, FileNamePartOfAPath) {
    struct Case {
        std::u16string path, name;
    } const cases[] = {
        {u"C:\\Program Files\\Vantory Note\\VantoryNote.exe", u"VantoryNote.exe"},
        {u"VantoryNote.exe", u"VantoryNote.exe"},
        {u"C:VantoryNote.exe", u"VantoryNote.exe"},
        {u"\\\\server\\share\\a b.exe", u"a b.exe"},
        {u"C:\\folder\\", u""},
        {u"", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNamePart(c.path), c.name);
}

} // namespace
} // namespace vn
