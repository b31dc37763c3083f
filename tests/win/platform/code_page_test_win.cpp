// The ANSI code page seam against the real conversion functions.
#include "platform/code_page_win.h"
#include "store/index_file.h"
#include "platform/text_codec.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(StoreCodePage, ConvertsLikeTheSystem) {
    WindowsCodePage cp;
    ASSERT_EQ(cp.Identifier(), GetACP());

    const std::u16string ascii = u"notepad.exe|Untitled - Notepad=WS-01|01.01.2024|Information\\0.txt|01";
    CodePage::Ansi plain = cp.ToAnsi(ascii);
    EXPECT_TRUE(plain.lossless);
    EXPECT_EQ(plain.bytes, std::string(ascii.begin(), ascii.end()));
    EXPECT_EQ(cp.FromAnsi(plain.bytes), ascii);

    // No single-byte code page holds these together; UTF-8 holds everything.
    const std::u16string scripts = u"\u041e\u0442\u0447\u0451\u0442 \u65e5\u672c \u03b1\u03b2";
    EXPECT_EQ(cp.ToAnsi(scripts).lossless, GetACP() == CP_UTF8);
    // A best-fit stand-in ("a" for "a with macron") is a loss too.
    if (GetACP() == 1252) {
        CodePage::Ansi fit = cp.ToAnsi(u"\u0101");
        EXPECT_FALSE(fit.lossless);
        CodePage::Ansi western = cp.ToAnsi(u"R\u00e9sum\u00e9 \u20ac");
        EXPECT_TRUE(western.lossless);
        EXPECT_EQ(western.bytes, "R\xE9sum\xE9 \x80");
    }
}

TEST(StoreCodePage, AnIndexWithACaptionInAnotherScriptIsWrittenAsUtf8) {
    WindowsCodePage cp;
    const std::vector<std::u16string> lines = {
        u"editor.exe|\u041e\u0442\u0447\u0451\u0442 \u65e5\u672c \u03b1\u03b2=WS-01|t|Information\\0.txt|1",
        u"notepad.exe|Untitled - Notepad=WS-01|t|Information\\1.txt|",
    };
    std::string bytes = EncodeIndexFile(lines, cp);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" + EncodeUtf8(lines[0] + u"\r\n" + lines[1] + u"\r\n"));
    EXPECT_EQ(DecodeIndexFile(bytes, cp), lines);

    // What the ANSI code page holds stays in it, with no mark (unless that code page is UTF-8).
    std::string western = EncodeIndexFile({lines[1]}, cp);
    EXPECT_EQ(western.starts_with("\xEF\xBB\xBF"), GetACP() == CP_UTF8);
}

} // namespace
} // namespace vn
