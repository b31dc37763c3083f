// Entry names: decoding from the archive's bytes and reduction to a safe path.
#include <gtest/gtest.h>

#include "exchange/zip_names.h"
#include "platform/text_codec.h"

namespace vn {
namespace {

TEST(ZipNames, BytesDecodeWithoutEverProducingASeparatorOrDotThatWasNotThere) {
    struct Case {
        std::string bytes;
        std::u16string utf8, cp437;
    };
    const Case cases[] = {
        {"Jotlets.txt", u"Jotlets.txt", u"Jotlets.txt"},
        {"\xC3\xBC\xE2\x82\xAC\xF0\x9F\x93\x9D", u"ü€📝", u"├╝Γé¼≡ƒô¥"},
        {"\x81\x9A\xE1\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD", u"üÜß\u00A0"},
        {"\xC0\xAF..\xC0\xAE", u"\uFFFD\uFFFD..\uFFFD\uFFFD", u"└»..└«"},  // overlong "/" and "."
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", u"φáÇ"},                         // an encoded surrogate
        {"\xE2\x82", u"\uFFFD", u"Γé"},                                            // cut short: one sequence
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeUtf8(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(DecodeCp437(c.bytes), c.cp437) << c.bytes;
    }
    EXPECT_EQ(EncodeUtf8(u"ü€📝"), "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x93\x9D");
    EXPECT_EQ(EncodeUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");  // lone surrogate
}

TEST(ZipNames, SafeNamesKeepTheirComponents) {
    struct Case {
        std::u16string name;
        std::vector<std::u16string> components;
        bool folder;
    };
    const Case cases[] = {
        {u"Jotlets.txt", {u"Jotlets.txt"}, false},
        {u"sub/a.txt", {u"sub", u"a.txt"}, false},
        {u"sub\\a.txt", {u"sub", u"a.txt"}, false},
        {u"./sub//a.txt", {u"sub", u"a.txt"}, false},
        {u"sub/", {u"sub"}, true},
        {u".hidden", {u".hidden"}, false},
        {u"a..b.txt", {u"a..b.txt"}, false},
        {u"console.txt", {u"console.txt"}, false},
        {u"COM10", {u"COM10"}, false},
        {u"über €.txt", {u"über €.txt"}, false},
    };
    for (const Case& c : cases) {
        auto path = ZipCleanEntryName(c.name);
        ASSERT_TRUE(path) << EncodeUtf8(c.name);
        EXPECT_EQ(path->components, c.components) << EncodeUtf8(c.name);
        EXPECT_EQ(path->isFolder, c.folder) << EncodeUtf8(c.name);
    }
    // Climbing, rooted and Windows-only forms are covered where the unpacker meets
    // them; these are the ones specific to the rule itself.
    for (std::u16string bad : {u"a/b./c", u"a /b", u"x/...", u"LPT1.log", u"sub/aux", u"Con .txt", u"COM\u00B9",
                               u"a<b", u"a>b", u"a\"b", u"a|b", u"a?b", u"a*b", u"a\x1F"})
        EXPECT_FALSE(ZipCleanEntryName(bad)) << EncodeUtf8(bad);
}

} // namespace
} // namespace vn
