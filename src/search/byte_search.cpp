#include "search/byte_search.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VN_SEARCH_SSE2 1
#endif

namespace vn {

namespace {

// How often a byte stands in folded note text, roughly: lower-case letters by their
// frequency in English, the space and the line break most, UTF-8's lead bytes often,
// its continuation bytes and punctuation seldom.
int ByteFrequency(uint8_t b) {
    static constexpr int kLetters[26] = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8,  40, 24,
                                         67, 75, 19, 1,  60, 63, 91, 28, 10, 24, 2,  20, 1};
    if (b >= 'a' && b <= 'z') return kLetters[b - 'a'];
    if (b == ' ' || b == '\n') return 150;
    if (b >= '0' && b <= '9') return 10;
    if (b >= 0xC2 && b <= 0xF4) return 30;
    if (b >= 0x80 && b <= 0xBF) return 6;
    return 4;
}

int Frequency(const std::string& word, size_t k) { return ByteFrequency(static_cast<uint8_t>(word[k])); }

} // namespace

ByteSearch::ByteSearch(std::string word) : word_(std::move(word)) {
    for (size_t k = 1; k < word_.size(); ++k)
        if (Frequency(word_, k) < Frequency(word_, rarest_)) rarest_ = k;
    second_ = rarest_;
    for (size_t k = 0; k < word_.size(); ++k) {
        if (k == rarest_) continue;
        if (second_ == rarest_ || Frequency(word_, k) < Frequency(word_, second_)) second_ = k;
    }
}

bool ByteSearch::In(std::string_view text) const {
    const size_t m = word_.size();
    if (m == 0) return true;
    if (text.size() < m) return false;
    const char* const data = text.data();
    const size_t starts = text.size() - m + 1;  // places a match may begin
    size_t start = 0;
#ifdef VN_SEARCH_SSE2
    const __m128i rare = _mm_set1_epi8(word_[rarest_]);
    const __m128i next = _mm_set1_epi8(word_[second_]);
    // Sixteen starts at a time, while both loads stay inside the text.
    for (; start + 16 <= starts; start += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start + rarest_));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + start + second_));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, rare), _mm_cmpeq_epi8(b, next))));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (std::memcmp(data + start + bit, word_.data(), m) == 0) return true;
            mask &= mask - 1;
        }
    }
#endif
    for (; start < starts; ++start) {
        if (data[start + rarest_] == word_[rarest_] && data[start + second_] == word_[second_] &&
            std::memcmp(data + start, word_.data(), m) == 0)
            return true;
    }
    return false;
}

} // namespace vn
