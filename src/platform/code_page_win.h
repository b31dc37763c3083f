#pragma once
// The system's ANSI code page through GetACP, WideCharToMultiByte and
// MultiByteToWideChar.
#include "platform/text_codec.h"

namespace vn {

class WindowsCodePage final : public CodePage {
public:
    unsigned Identifier() const override;
    Ansi ToAnsi(std::u16string_view text) const override;
    std::u16string FromAnsi(std::string_view bytes) const override;
    // Any code page the system has; the portable tables for the rest.
    std::u16string FromCodePage(unsigned identifier, std::string_view bytes) const override;
};

// The program's one instance, for whoever needs the system's code page.
const CodePage& SystemCodePage();

} // namespace vn
