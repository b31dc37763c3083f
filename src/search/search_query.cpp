#include "search/search_query.h"

#include <algorithm>

namespace vn {
namespace {

// Base letters of U+00C0..U+00FF and U+0100..U+017F; '?' keeps the letter (lower
// case) as its own.
constexpr char kLatin1[] = "aaaaaa?ceeeeiiii" "dnooooo?ouuuuy??" "aaaaaa?ceeeeiiii" "dnooooo?ouuuuy?y";
constexpr char kLatinA[] = "aaaaaaccccccccdd" "ddeeeeeeeeeegggg" "gggghhhhiiiiiiii" "ii??jjkkklllllll"
                           "lllnnnnnnnnnoooo" "oo??rrrrrrssssss" "ssttttttuuuuuuuu" "uuuuwwyyyzzzzzzs";

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x3000 || c == 0xA0; }

} // namespace

char16_t FoldSearchUnit(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
    if (c >= 0xC0 && c <= 0xFF) {
        const char base = kLatin1[c - 0xC0];
        if (base != '?') return static_cast<char16_t>(base);
        return (c <= 0xDE && c != 0xD7) ? static_cast<char16_t>(c + 0x20) : c;
    }
    if (c >= 0x100 && c <= 0x17F) {
        const char base = kLatinA[c - 0x100];
        if (base != '?') return static_cast<char16_t>(base);
        return static_cast<char16_t>(c | 1);  // Ĳ ĳ, Œ œ
    }
    if (c >= 0x391 && c <= 0x3A9) return static_cast<char16_t>(c + 0x20);  // Greek capitals
    if (c == 0x3C2) return 0x3C3;                                          // final sigma
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);  // Cyrillic capitals
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c - 0xFF21 + u'a');  // full-width Latin
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0xFF41 + u'a');
    return c;
}

std::u16string FoldSearchText(std::u16string_view text) {
    std::u16string folded(text.size(), u'\0');
    std::transform(text.begin(), text.end(), folded.begin(), FoldSearchUnit);
    return folded;
}

SearchQuery::SearchQuery(std::u16string_view typed) {
    size_t i = 0;
    while (i < typed.size()) {
        while (i < typed.size() && IsSpace(typed[i])) ++i;
        size_t end = i;
        while (end < typed.size() && !IsSpace(typed[end])) ++end;
        if (end > i) words_.push_back(FoldSearchText(typed.substr(i, end - i)));
        i = end;
    }
}

bool SearchQuery::Matches(const SearchFields& fields) const {
    const std::u16string caption = FoldSearchText(fields.caption), owner = FoldSearchText(fields.owner),
                         text = FoldSearchText(fields.text);
    return std::all_of(words_.begin(), words_.end(), [&](const std::u16string& word) {
        return caption.find(word) != std::u16string::npos || owner.find(word) != std::u16string::npos ||
               text.find(word) != std::u16string::npos;
    });
}

std::u16string_view SearchQuery::FirstMatchingLine(std::u16string_view text) const {
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find(u'\n', begin);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string line = FoldSearchText(text.substr(begin, end - begin));
        for (const std::u16string& word : words_)
            if (line.find(word) != std::u16string::npos) return text.substr(begin, end - begin);
        begin = end + 1;
    }
    return {};
}

std::vector<std::pair<size_t, size_t>> SearchQuery::Highlights(std::u16string_view text) const {
    const std::u16string folded = FoldSearchText(text);
    std::vector<std::pair<size_t, size_t>> ranges;
    for (const std::u16string& word : words_)
        for (size_t at = folded.find(word); at != std::u16string::npos; at = folded.find(word, at + word.size()))
            ranges.emplace_back(at, at + word.size());
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<size_t, size_t>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

} // namespace vn
