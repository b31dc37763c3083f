#pragma once
// The system's ANSI code page, as the index file needs it. Windows answers with
// GetACP / WideCharToMultiByte / MultiByteToWideChar (code_page_win.h); the
// portable implementations below stand in for it in native tests and tools.
#include <string>
#include <string_view>

namespace vn {

constexpr unsigned kUtf8CodePage = 65001;

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

} // namespace vn
