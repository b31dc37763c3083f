#pragma once
// Finding a folded word in a note's folded text, thousands of times a keystroke.
// The word is looked for by its two rarest bytes (by a fixed table of how often a
// byte stands in note text): sixteen places of the text are tested at once for
// both (SSE2, which every x86-64 processor has), and only where both stand is the
// whole word compared. It does not lean on the C library's memchr, which is a byte
// loop in the Windows C runtime the program links.
#include <cstddef>
#include <string>
#include <string_view>

namespace vn {

class ByteSearch {
public:
    explicit ByteSearch(std::string word);

    bool In(std::string_view text) const;
    const std::string& Word() const { return word_; }

private:
    std::string word_;
    size_t rarest_ = 0;
    size_t second_ = 0;  // the next rarest place; the same as rarest_ for a one-byte word
};

} // namespace vn
