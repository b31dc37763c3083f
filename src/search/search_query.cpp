#include "search/search_query.h"

#include <algorithm>

#include "platform/text_codec.h"
#include "search/byte_search.h"
#include "search/text_fold.h"

namespace vn {

namespace {

bool IsSeparator(char16_t c) {
    return c <= u' ' || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

std::vector<std::u16string> SplitWords(std::u16string_view typed) {
    std::vector<std::u16string> words;
    size_t i = 0;
    while (i < typed.size()) {
        while (i < typed.size() && IsSeparator(typed[i])) ++i;
        const size_t begin = i;
        while (i < typed.size() && !IsSeparator(typed[i])) ++i;
        if (i > begin) {
            std::u16string word = FoldForSearch(typed.substr(begin, i - begin));
            if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(std::move(word));
        }
    }
    return words;
}

bool IsBlank(std::u16string_view line) {
    return std::all_of(line.begin(), line.end(), [](char16_t c) { return IsSeparator(c); });
}

} // namespace

struct SearchQuery::Words {
    explicit Words(std::u16string_view typed) : folded(SplitWords(typed)) {
        for (const std::u16string& word : folded) needles.emplace_back(EncodeUtf8(word));
        // Longest first: a long word is the rarest, and a note fails at its first miss.
        std::stable_sort(needles.begin(), needles.end(),
                         [](const ByteSearch& a, const ByteSearch& b) { return a.Word().size() > b.Word().size(); });
        for (const ByteSearch& needle : needles) utf8.push_back(needle.Word());
    }

    std::vector<std::u16string> folded;
    std::vector<ByteSearch> needles;
    std::vector<std::string> utf8;
};

SearchQuery::SearchQuery(std::u16string_view typed) : typed_(typed), words_(std::make_unique<Words>(typed)) {}
SearchQuery::~SearchQuery() = default;
SearchQuery::SearchQuery(const SearchQuery& other) : SearchQuery(other.typed_) {}
SearchQuery& SearchQuery::operator=(const SearchQuery& other) {
    if (this != &other) {
        typed_ = other.typed_;
        words_ = std::make_unique<Words>(typed_);
    }
    return *this;
}

bool SearchQuery::Empty() const { return words_->folded.empty(); }

const std::vector<std::string>& SearchQuery::FoldedWords() const { return words_->utf8; }

bool SearchQuery::MatchesFolded(std::string_view folded) const {
    for (const ByteSearch& needle : words_->needles)
        if (!needle.In(folded)) return false;
    return true;
}

bool SearchQuery::Matches(const SearchFields& fields) const {
    return Empty() || MatchesFolded(FoldFieldsForSearch(fields));
}

bool SearchQuery::Narrows(const SearchQuery& earlier) const {
    for (const std::u16string& old : earlier.words_->folded) {
        const bool inside = std::any_of(words_->folded.begin(), words_->folded.end(),
                                        [&](const std::u16string& word) { return word.find(old) != std::u16string::npos; });
        if (!inside) return false;
    }
    return true;
}

std::vector<std::pair<size_t, size_t>> SearchQuery::Highlights(std::u16string_view text) const {
    std::vector<std::pair<size_t, size_t>> ranges;
    if (Empty() || text.empty()) return ranges;
    const FoldedWithOrigins folded = FoldWithOrigins(text);
    for (const std::u16string& word : words_->folded) {
        for (size_t at = folded.text.find(word); at != std::u16string::npos; at = folded.text.find(word, at + 1))
            ranges.emplace_back(folded.begins[at], folded.ends[at + word.size() - 1]);
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<size_t, size_t>> joined;
    for (const auto& range : ranges) {
        if (!joined.empty() && range.first <= joined.back().second) {
            joined.back().second = std::max(joined.back().second, range.second);
        } else {
            joined.push_back(range);
        }
    }
    return joined;
}

std::u16string_view SearchQuery::FirstMatchingLine(std::u16string_view text) const {
    std::u16string_view firstNonBlank;
    bool haveNonBlank = false;
    for (size_t begin = 0; begin <= text.size();) {
        size_t end = text.find(u'\n', begin);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string_view line = text.substr(begin, end - begin);
        if (!haveNonBlank && !IsBlank(line)) {
            firstNonBlank = line;
            haveNonBlank = true;
            if (Empty()) return line;
        }
        if (!Empty() && !IsBlank(line)) {
            const std::u16string foldedLine = FoldForSearch(line);
            for (const std::u16string& word : words_->folded)
                if (foldedLine.find(word) != std::u16string::npos) return line;
        }
        begin = end + 1;
    }
    return haveNonBlank ? firstNonBlank : text.substr(0, 0);
}

std::string FoldFieldsForSearch(const SearchFields& fields) {
    // Words never hold a line break, so none matches across two fields.
    std::string out = EncodeUtf8(FoldForSearch(fields.caption));
    out += '\n';
    out += EncodeUtf8(FoldForSearch(fields.owner));
    out += '\n';
    out += EncodeUtf8(FoldForSearch(fields.text));
    return out;
}

} // namespace vn
