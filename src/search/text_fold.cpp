#include "search/text_fold.h"

#include "search/fold_table.h"

namespace vn {

namespace {

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool IsAsciiLetter(char16_t u) { return u >= u'a' && u <= u'z'; }

char32_t FoldSupplementary(char32_t c) {
    for (size_t i = 0; i < fold::kSupplementaryRuns; ++i) {
        const fold::SupplementaryRun& run = fold::kSupplementary[i];
        if (c >= run.first && c <= run.last) return static_cast<char32_t>(static_cast<int32_t>(c) + run.offset);
    }
    return c;
}

// Walks the text once and hands each folded unit to `emit(unit, begin, end)`, and
// each dropped mark to `widen(end)` (it belongs to the unit emitted before it).
template <class Emit, class Widen>
void Fold(std::u16string_view text, Emit emit, Widen widen) {
    bool afterLatin = false;
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const char16_t c = text[i];
        const auto begin = static_cast<uint32_t>(i);
        if (c < 0x80) {
            const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
            emit(lower, begin, begin + 1);
            afterLatin = IsAsciiLetter(lower);
            ++i;
            continue;
        }
        if (IsHigh(c) && i + 1 < n && IsLow(text[i + 1])) {
            const char32_t folded =
                FoldSupplementary(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            emit(static_cast<char16_t>(0xD800 + ((folded - 0x10000) >> 10)), begin, begin + 2);
            emit(static_cast<char16_t>(0xDC00 + ((folded - 0x10000) & 0x3FF)), begin, begin + 2);
            afterLatin = false;
            i += 2;
            continue;
        }
        const uint16_t value = (IsHigh(c) || IsLow(c)) ? 0 : fold::kBlocks[fold::kPages[c >> 8]][c & 0xFF];
        if (value == fold::kCombiningMark) {
            if (afterLatin) {
                widen(begin + 1);
            } else {
                emit(c, begin, begin + 1);
            }
        } else if (value >= fold::kExpansion && value < fold::kCombiningMark) {
            const char16_t* expansion = fold::kExpansions[value - fold::kExpansion];
            for (int k = 0; k < 4 && expansion[k] != 0; ++k) emit(expansion[k], begin, begin + 1);
            afterLatin = true;
        } else {
            const char16_t folded = value == 0 ? c : static_cast<char16_t>(value);
            emit(folded, begin, begin + 1);
            afterLatin = IsAsciiLetter(folded);
        }
        ++i;
    }
}

} // namespace

std::u16string FoldForSearch(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    Fold(text, [&](char16_t unit, uint32_t, uint32_t) { out += unit; }, [](uint32_t) {});
    return out;
}

FoldedWithOrigins FoldWithOrigins(std::u16string_view text) {
    FoldedWithOrigins out;
    out.text.reserve(text.size());
    out.begins.reserve(text.size());
    out.ends.reserve(text.size());
    Fold(
        text,
        [&](char16_t unit, uint32_t begin, uint32_t end) {
            out.text += unit;
            out.begins.push_back(begin);
            out.ends.push_back(end);
        },
        [&](uint32_t end) {
            // Every unit the last character became ends after its marks.
            for (size_t k = out.ends.size(); k > 0 && out.begins[k - 1] == out.begins.back(); --k) out.ends[k - 1] = end;
        });
    return out;
}

} // namespace vn
