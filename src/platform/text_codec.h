#pragma once
// The program's one text codec: UTF-8, UTF-16 (either byte order), the ANSI code
// page and code page 437, for the store's index file, the note body files and
// the archive's entry names. Text inside the program is UTF-16.
//
// Replacement policy, the same for every conversion: input is never dropped.
// A piece of input that cannot be represented in the output becomes one U+FFFD
// and everything around it comes through unchanged:
//   - UTF-8 in: each maximal ill-formed subpart (a bad lead byte, a stray
//     continuation byte, a cut or overlong sequence, an encoded surrogate, a
//     value past U+10FFFF) is one U+FFFD, as MultiByteToWideChar(CP_UTF8) does;
//   - UTF-16 in: an odd last byte is one U+FFFD; unpaired surrogates are kept,
//     since the program's own text is UTF-16 and can hold them;
//   - UTF-8 out: an unpaired surrogate is one U+FFFD (EF BF BD), as
//     WideCharToMultiByte(CP_UTF8) does;
//   - ANSI out: what the code page lacks becomes its default character, and the
//     caller learns that the conversion was not exact.
#include <string>
#include <string_view>

namespace vn {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;
inline constexpr unsigned kUtf8CodePage = 65001;

std::string EncodeUtf8(std::u16string_view text);
std::u16string DecodeUtf8(std::string_view bytes);
// Whether the bytes are well-formed UTF-8 throughout.
bool IsUtf8(std::string_view bytes);
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

// Code page 437, the zip format's old name encoding. The table is part of the
// program: the result must not depend on the code pages a system happens to have.
std::u16string DecodeCp437(std::string_view bytes);

// The system's ANSI code page. Windows answers with GetACP, WideCharToMultiByte
// and MultiByteToWideChar (platform/code_page_win.h); the portable ones below
// stand in for it in native tests and tools.
class CodePage {
public:
    struct Ansi {
        std::string bytes; // as WideCharToMultiByte writes it with no flags and no default character
        bool lossless;     // false when some character had no exact equivalent
    };

    virtual ~CodePage() = default;
    virtual unsigned Identifier() const = 0; // what GetACP reports
    virtual Ansi ToAnsi(std::u16string_view text) const = 0;
    virtual std::u16string FromAnsi(std::string_view bytes) const = 0;
    // Bytes in another code page, as RTF's \ansicpg and \fcharset name it. Portably:
    // this code page, UTF-8, 1252, 437, the symbol code page (42: byte b is U+F000 + b)
    // and the single-byte ones of code_page_tables.h; any other code page reads as
    // this one. Windows converts every code page it has.
    virtual std::u16string FromCodePage(unsigned identifier, std::string_view bytes) const;
};

// Windows-1252 (Western European), the usual ANSI code page. The five bytes that
// have no character of their own map to the C1 controls of the same value, as
// Windows maps them; anything else becomes "?".
class Windows1252CodePage final : public CodePage {
public:
    unsigned Identifier() const override { return 1252; }
    Ansi ToAnsi(std::u16string_view text) const override;
    std::u16string FromAnsi(std::string_view bytes) const override;
};

// A system whose ANSI code page is UTF-8 (65001).
class Utf8CodePage final : public CodePage {
public:
    unsigned Identifier() const override { return kUtf8CodePage; }
    Ansi ToAnsi(std::u16string_view text) const override;
    std::u16string FromAnsi(std::string_view bytes) const override;
};

// A text file by its byte-order mark (the mark is not part of the text):
// EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE, anything else the ANSI code page.
std::u16string DecodeTextFile(std::string_view bytes, const CodePage& codePage);
// True when DecodeTextFile would take the start of `bytes` for a byte-order mark.
bool StartsWithByteOrderMark(std::string_view bytes);

} // namespace vn
