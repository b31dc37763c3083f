#include "note_bodies.h"

namespace vn::test {

namespace {

// The opening the control writes before a note's text.
const std::string kHead =
    R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1033{\fonttbl{\f0\fnil\fcharset0 Tahoma;}})"
    "\r\n"
    R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 )"
    "\r\n"
    R"(\pard\f0\fs20 )";

std::string Note(const std::string& body) { return kHead + body + "\r\n}\r\n"; }

} // namespace

const std::vector<NoteBody>& NoteBodies() {
    static const std::vector<NoteBody> bodies = {
        {"a note as the control writes it", Note(R"(Buy stamps\par
Call Anna\par
)"),
         u"Buy stamps\nCall Anna"},
        {"Unicode escapes with one fallback character", Note(R"(\u1055?\u1088?\u1080?\u1074?\u1077?\u1090? mir)"),
         u"\u041f\u0440\u0438\u0432\u0435\u0442 mir"},
        {"\\uc2: a double-byte fallback is left out",
         Note(R"({\uc2\u26085\'93\'fa\u26412\'96\'7b} and \u233?t\u233?)"), u"\u65e5\u672c and \u00e9t\u00e9"},
        {"\\uc0: nothing to leave out", Note(R"({\uc0\u233 t\u233 })"), u"\u00e9t\u00e9"},
        {"a character beyond U+FFFF as two escapes, and one above U+7FFF as a negative number",
         Note(R"(smile \u-10179?\u-8704? tall \u-25896?)"), u"smile \U0001F600 tall \u9ad8"},
        {"\\'xx and literal bytes in the document's code page", Note("caf\\'e9 \\'80 na\xEFve"),
         u"caf\u00e9 \u20ac na\u00efve"},
        {"a Cyrillic font (\\fcharset204) of a Russian system",
         R"({\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fnil\fcharset204 Tahoma;}})"
         R"(\viewkind4\uc1\pard\f0\fs20 \'cf\'f0\'e8\'e2\'e5\'f2\par})",
         u"\u041f\u0440\u0438\u0432\u0435\u0442"},
        {"fonts of two character sets in one line",
         R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Tahoma;}{\f1\fnil\fcharset161 Arial;}})"
         R"(\pard\f0 caf\'e9 \f1\'e1\'e2\'e3\f0  \'e9\par})",
         u"caf\u00e9 \u03b1\u03b2\u03b3 \u00e9"},
        {"a Japanese font (\\fcharset128): two bytes a character",
         R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Tahoma;}{\f1\fnil\fcharset128 MS Gothic;}})"
         R"(\pard\f0 Tokyo \f1\'93\'8c\'8b\'9e\f0  ok})",
         u"Tokyo \u6771\u4eac ok"},
        {"a font's own code page (\\cpg1250)",
         R"({\rtf1\ansi\deff0{\fonttbl{\f0\cpg1250 Arial;}}\f0 \'b3\'f3d\'9f})", u"\u0142\u00f3d\u017a", nullptr,
         nullptr, "Wine's control writes the font without its code page and \u0142, \u017a as l, z"},
        {"a symbol font (\\fcharset2): its characters stand in the private use area",
         R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset0 Tahoma;}{\f1\fcharset2 Symbol;}}\f0 x \f1 ab\'b7\f0  y})",
         u"x \uf061\uf062\uf0b7 y"},
        {"a Mac document (\\mac)", R"({\rtf1\mac\deff0{\fonttbl{\f0 Geneva;}}\f0 caf\'8e})", u"caf\u00e9",
         u"caf\u017d", "Wine's control reads \\'xx of a \\mac document in code page 1252"},
        {"groups and formatting", Note(R"({\b bold} and {\i\ul italic {\strike nested}} text\par
{\cf1\highlight2 colour}\par)"),
         u"bold and italic nested text\ncolour"},
        {"destinations that are not text",
         R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Helvetica;}{\f1 Times;}})"
         R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}})"
         R"({\info{\title Title}{\author Someone}{\*\company Firm}}{\*\generator Msftedit 5.41;})"
         R"({\*\unknowndestination secret}\f0 visible\par})",
         u"visible"},
        {"a picture in hexadecimal",
         R"({\rtf1\ansi before {\pict\wmetafile8\picw10\pich10\picwgoal300\pichgoal300 )"
         "\r\n0100090000036e00000000004500000000000400000003010800050000000b0200000000} after}",
         u"before  after", u"before   after",
         "Wine's control holds a picture it cannot draw as a space, Windows' any picture as U+FFFC; search leaves "
         "pictures out"},
        {"a picture's binary data (\\bin)",
         std::string(R"({\rtf1\ansi before {\*\shppict{\pict\pngblip\bin4 )") + std::string("}\\{\0", 4) +
             R"(}}{\nonshppict{\pict\wmetafile8 0100}} after})",
         u"before  after", u"before { ",
         "Wine's control reads the bytes after \\bin as RTF: a brace among them ends the picture early"},
        {"\\par, \\line and \\tab", Note(R"(one\line two\tab three\par four)"), u"one\ntwo\tthree\nfour",
         u"one two\tthree\nfour",
         "Wine's control holds a manual line break (\\line) as a space, Windows' as U+000B; to search it ends a line"},
        {"a table", Note(R"(\trowd\trgaph108\cellx1000\cellx2000\pard\intbl a\cell b\cell\row
\pard after)"),
         u"a\tb\t\nafter", u"\n\na\tb\t\n\nafter",
         "Wine's control gives a table row a paragraph of its own before and after it"},
        {"named characters",
         Note(R"(\emdash\endash\bullet\lquote x\rquote\ldblquote y\rdblquote a\~b c\-d e\_f)"),
         u"\u2014\u2013\u2022\u2018x\u2019\u201cy\u201da\u00a0b cd e\u2011f", nullptr, nullptr,
         "Wine's control writes a non-breaking hyphen (\\_) as a plain one"},
        {"a link: the field's result, not its instruction",
         Note(R"({\field{\*\fldinst{HYPERLINK "http://example.com/"}}{\fldrslt{\ul\cf1 the site}}} now)"),
         u"the site now", u" now", "Wine's control leaves a field out whole; Windows' shows the link's text"},
        {"hidden text (\\v)", Note(R"(shown{\v  hidden} too\v  also hidden\v0  again)"), u"shown too again",
         u"shown hidden too also hidden again", "the control keeps hidden text in its text; the note does not show it"},
        {"a CR written as \\u13 breaks the line, as \\'0d it is left out", R"({\rtf1\uc0 a\u13 b\'0dc})",
         u"a\nbc"},
        {"escaped braces and backslashes", Note(R"(\{x\} a\\b)"), u"{x} a\\b"},
        {"old paragraph numbers are drawn, newer list numbers are text", Note(R"({\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pndec}item\par
{\listtext 2.\tab}next)"),
         u"item\n2.\tnext"},
        {"the stream ends where its outer group closes", R"({\rtf1\ansi kept}dropped)", u"kept"},
        {"a stream cut short is refused as RTF and read as plain text",
         "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\r\n\\f0 cut {\\b sho",
         u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\n\\f0 cut {\\b sho"},
        {"plain text in UTF-8 with a byte-order mark", "\xEF\xBB\xBFZ\xC3\xBCrich\r\nGr\xC3\xBC\xC3\x9F" "e",
         u"Z\u00fcrich\nGr\u00fc\u00dfe"},
        {"plain text in UTF-16 with a byte-order mark", std::string("\xFF\xFEh\0i\0\n\0\x3A\x04", 10),
         u"hi\n\u043a"},
        {"plain text in the ANSI code page", "caf\xE9\rline\nthird\r\n", u"caf\u00e9\nline\nthird\n"},
    };
    return bodies;
}

} // namespace vn::test
