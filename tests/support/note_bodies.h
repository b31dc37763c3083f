#pragma once
// Note bodies as the rich-text control writes them, and as other programs write
// RTF, with the text each one shows: the table that the portable extraction is
// checked against (tests/unit/search) and that the rich-text control under Wine
// reads too (tests/win/search).
#include <string>
#include <vector>

namespace vn::test {

struct NoteBody {
    const char* what;
    std::string bytes;
    std::u16string text;  // what the note shows, lines separated by u'\n'
    // Where Wine's control reads the body otherwise than Windows' control does (or
    // than the extraction does on purpose): its text, and why.
    const char16_t* wineText = nullptr;
    const char* wineDiffers = nullptr;
    // Where Wine's control, having read the body, writes RTF that loses some of it.
    const char* wineWritesOtherwise = nullptr;
};

// Read with an ANSI code page of 1252 (the tests' system code page).
const std::vector<NoteBody>& NoteBodies();

} // namespace vn::test
