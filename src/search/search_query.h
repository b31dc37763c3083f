#pragma once
// What the person typed into the search box, as the words every shown note must
// hold. Words are separated by white space (the ideographic space too) and may
// match in any order, anywhere in the note's caption, owner label or text, also
// inside a longer word; case never matters, nor do the accents of Latin letters
// (text_fold.h). Text without spaces between words (Chinese, Japanese, Thai) is
// matched as typed: a word is found wherever its characters stand in a row.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vn {

struct SearchFields {
    std::u16string_view caption, owner, text;
};

class SearchQuery {
public:
    explicit SearchQuery(std::u16string_view typed);
    ~SearchQuery();
    // A copy makes its searchers again; there is no move, so no query is ever left
    // without them.
    SearchQuery(const SearchQuery& other);
    SearchQuery& operator=(const SearchQuery& other);

    // No words: every note matches.
    bool Empty() const;
    bool Matches(const SearchFields& fields) const;
    // What the list shows of a note's text: the first line holding a match of one of
    // the words or, when none does (the note matched by its caption or owner, or the
    // query is empty), the first line that is not blank. Lines end at u'\n'; the view
    // is into `text`, without its line break.
    std::u16string_view FirstMatchingLine(std::u16string_view text) const;
    // Every place in `text` where a word matches, as [begin, end) in UTF-16 units of
    // `text`, in order, overlapping ones joined. A match covers whole characters: the
    // whole "ß" for a match of "s", the marks after a matched letter.
    std::vector<std::pair<size_t, size_t>> Highlights(std::u16string_view text) const;

    // For SearchIndex: the words folded and in UTF-8, and whether every note this
    // query matches is also matched by `earlier` (each of its words is inside one of
    // ours), so that a grown query need look only at the earlier one's results.
    const std::vector<std::string>& FoldedWords() const;
    bool Narrows(const SearchQuery& earlier) const;
    // Whether every word is in `folded`, text folded as FoldForSearch does, in UTF-8.
    bool MatchesFolded(std::string_view folded) const;

private:
    struct Words;
    std::u16string typed_;
    std::unique_ptr<Words> words_;
};

// The caption, owner and text folded for MatchesFolded, in one string.
std::string FoldFieldsForSearch(const SearchFields& fields);

} // namespace vn
