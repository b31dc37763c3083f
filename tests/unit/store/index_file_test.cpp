// The index file's bytes: code page, byte-order marks, line breaks.
#include "platform/text_codec.h"
#include "store/index_file.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

using Lines = std::vector<std::u16string>;

// Lines that Windows-1252 holds: an accented caption, a euro sign, an empty body's record.
const Lines kWestern = {
    u"editor.exe|R\u00e9sum\u00e9 \u20ac - Editor=WS-01|11.08.2015 14:03:22|Information\\1.txt|010",
    u"notepad.exe|Untitled - Notepad=WS-01|12.08.2015|Information\\0.txt|",
};

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

std::u16string Join(const Lines& lines, std::u16string_view brk, bool finalBreak) {
    std::u16string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || finalBreak) text += brk;
    }
    return text;
}

TEST(IndexFile, WrittenInTheAnsiCodePageWithCrLfAfterEveryLine) {
    Windows1252CodePage cp1252;
    std::string bytes = EncodeIndexFile(kWestern, cp1252);
    std::string expected = "editor.exe|R\xE9sum\xE9 \x80 - Editor=WS-01|11.08.2015 14:03:22|Information\\1.txt|010\r\n"
                           "notepad.exe|Untitled - Notepad=WS-01|12.08.2015|Information\\0.txt|\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(EncodeIndexFile({}, cp1252), "") << "an empty store is a file of zero bytes";
    EXPECT_EQ(EncodeIndexFile({u""}, cp1252), "\r\n");
}

TEST(IndexFile, Utf8WithItsMarkWhenTheCodePageIsUtf8OrCannotHoldALine) {
    Utf8CodePage utf8;
    EXPECT_EQ(EncodeIndexFile({u"a|b=c|d|Information\\0.txt|"}, utf8), "\xEF\xBB\xBF" "a|b=c|d|Information\\0.txt|\r\n");

    // A caption in another script: the whole file goes to UTF-8, so the caption survives.
    Windows1252CodePage cp1252;
    Lines mixed = {kWestern[0], u"editor.exe|\u041e\u0442\u0447\u0451\u0442 - Editor=WS-01|t|Information\\0.txt|1"};
    std::string bytes = EncodeIndexFile(mixed, cp1252);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" + EncodeUtf8(mixed[0] + u"\r\n" + mixed[1] + u"\r\n"));
    EXPECT_EQ(DecodeIndexFile(bytes, cp1252), mixed);

    // A first line whose Windows-1252 bytes read as a byte-order mark: in ANSI it would
    // come back as UTF-16 or lose its first characters.
    for (const std::u16string& first : {std::u16string(u"\u00ff\u00fez.exe|b=c|d|Information\\0.txt|"),
                                        std::u16string(u"\u00fe\u00ffz.exe|b=c|d|Information\\0.txt|"),
                                        std::u16string(u"\u00ef\u00bb\u00bfz.exe|b=c|d|Information\\0.txt|")}) {
        const Lines lines = {first, kWestern[1]};
        const std::string written = EncodeIndexFile(lines, cp1252);
        EXPECT_TRUE(written.starts_with("\xEF\xBB\xBF")) << "written in ANSI";
        EXPECT_EQ(DecodeIndexFile(written, cp1252), lines);
    }
}

TEST(IndexFile, EveryEncodingAndLineBreakReadsTheSame) {
    Windows1252CodePage cp1252;
    const std::u16string breaks[] = {u"\r\n", u"\n", u"\r"};
    for (const auto& brk : breaks) {
        for (bool finalBreak : {true, false}) {
            std::u16string text = Join(kWestern, brk, finalBreak);
            const std::string files[] = {
                cp1252.ToAnsi(text).bytes,
                "\xEF\xBB\xBF" + EncodeUtf8(text),
                Utf16Bytes(text, false),
                Utf16Bytes(text, true),
            };
            for (const auto& file : files)
                EXPECT_EQ(DecodeIndexFile(file, cp1252), kWestern)
                    << "break " << int(brk.back()) << " final " << finalBreak << " lead " << int(uint8_t(file[0]));
        }
    }
}

TEST(IndexFile, LineBreakEdgeCases) {
    Windows1252CodePage cp;
    struct Case {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\xEF\xBB\xBF", {}},
        {"\r\n", {u""}},
        {"a\r\n\r\nb", {u"a", u"", u"b"}},
        {"a\n\rb", {u"a", u"", u"b"}}, // LF then a lone CR: two breaks
        {"a\r\r\nb\n", {u"a", u"", u"b"}},
        {std::string("\xFF\xFE" "a\0\r\0\n\0b\0", 10), {u"a", u"b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeIndexFile(c.bytes, cp), c.lines) << c.bytes;
}

TEST(IndexFile, Windows1252Table) {
    Windows1252CodePage cp;
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    CodePage::Ansi back = cp.ToAnsi(cp.FromAnsi(all));
    EXPECT_TRUE(back.lossless);
    EXPECT_EQ(back.bytes, all) << "every byte maps to a character and back";
    CodePage::Ansi lossy = cp.ToAnsi(u"a\u0101\u4e2d");
    EXPECT_FALSE(lossy.lossless);
    EXPECT_EQ(lossy.bytes, "a??");
}

} // namespace
} // namespace vn
