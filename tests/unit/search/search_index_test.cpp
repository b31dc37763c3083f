#include "search/search_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace vn {
namespace {

struct Note {
    std::u16string caption, owner, text;
};

// What the index must answer: every note held, matched one by one, in key order
// (the tests set keys in ascending order).
std::vector<uint64_t> Expected(const std::map<uint64_t, Note>& notes, const SearchQuery& query) {
    std::vector<uint64_t> keys;
    for (const auto& [key, note] : notes)
        if (query.Matches({note.caption, note.owner, note.text})) keys.push_back(key);
    return keys;
}

TEST(SearchIndex, FiltersLikeTheQueryAcrossChangesWhileTyping) {
    // Typing grows, shrinks and replaces the query while notes are set, changed and
    // removed in between: every answer must equal matching each note afresh,
    // also when the index looks only at the previous query's results.
    const std::vector<std::u16string> words = {u"milk", u"Mill", u"\u00fcber", u"uber", u"Stra\u00dfe",
                                               u"strand", u"\u6771\u4eac", u"eggs", u"mi", u"be"};
    std::mt19937 random(7);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    auto someText = [&] {
        std::u16string text;
        for (size_t k = pick(4); k > 0; --k) text += words[pick(words.size())] + (pick(3) == 0 ? u"\n" : u" ");
        return text;
    };
    const std::vector<std::u16string> typing = {u"m",    u"mi", u"mil", u"milk", u"milk e", u"milk eg", u"mil",
                                                 u"",     u"u",  u"ub",  u"\u00fcb", u"\u00fcber", u"s", u"st",
                                                 u"stra", u"strasse", u"\u6771", u"\u6771\u4eac", u"be mi"};
    SearchIndex index;
    std::map<uint64_t, Note> notes;
    uint64_t nextKey = 1;
    for (int round = 0; round < 40; ++round) {
        for (const std::u16string& typed : typing) {
            const int change = static_cast<int>(pick(6));
            if (change == 0 || notes.empty()) {
                const uint64_t key = nextKey++;
                notes[key] = {someText(), someText(), someText()};
                index.Set(key, notes[key].caption, notes[key].owner, notes[key].text);
            } else if (change == 1) {
                auto it = std::next(notes.begin(), static_cast<long>(pick(notes.size())));
                it->second.text = someText();
                index.Set(it->first, it->second.caption, it->second.owner, it->second.text);
            } else if (change == 2) {
                auto it = std::next(notes.begin(), static_cast<long>(pick(notes.size())));
                index.Remove(it->first);
                notes.erase(it);
            }
            const SearchQuery query(typed);
            ASSERT_EQ(index.Filter(query), Expected(notes, query)) << "round " << round;
        }
    }
    EXPECT_EQ(index.Size(), notes.size());
}

TEST(SearchIndex, KeepsTheOrderNotesWereFirstSetAndReusesNothingOfARemovedOne) {
    SearchIndex index;
    index.Set(30, u"c", u"", u"milk");
    index.Set(10, u"a", u"", u"milk");
    index.Set(20, u"b", u"", u"eggs");
    EXPECT_EQ(index.Filter(SearchQuery(u"")), (std::vector<uint64_t>{30, 10, 20}));
    EXPECT_EQ(index.Filter(SearchQuery(u"mil")), (std::vector<uint64_t>{30, 10}));
    index.Set(20, u"b", u"", u"milk now");  // changed after the last filter
    index.Remove(30);
    index.Set(40, u"d", u"", u"eggs");       // takes the removed note's place inside
    EXPECT_EQ(index.Filter(SearchQuery(u"milk")), (std::vector<uint64_t>{10, 20}));
    EXPECT_EQ(index.Filter(SearchQuery(u"egg")), (std::vector<uint64_t>{40}));
    index.Remove(99);  // not there: nothing happens
    EXPECT_TRUE(index.Contains(40));
    EXPECT_FALSE(index.Contains(30));
    index.Clear();
    EXPECT_TRUE(index.Filter(SearchQuery(u"")).empty());
    EXPECT_EQ(index.BytesPerNote(), 0u);
}

TEST(SearchIndex, MemoryGrowsWithTheText) {
    SearchIndex index;
    index.Set(1, u"caption", u"owner", std::u16string(4000, u'x'));
    const size_t one = index.BytesPerNote();
    EXPECT_GE(one, 4000u);
    EXPECT_LT(one, 4000u + 1024u);
}

} // namespace
} // namespace vn
