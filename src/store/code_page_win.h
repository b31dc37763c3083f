#pragma once
// The system's ANSI code page through GetACP, WideCharToMultiByte and
// MultiByteToWideChar.
#include "store/code_page.h"

namespace vn {

class WindowsCodePage final : public CodePage {
public:
    unsigned Identifier() const override;
    Ansi ToAnsi(std::u16string_view text) const override;
    std::u16string FromAnsi(std::string_view bytes) const override;
};

} // namespace vn
