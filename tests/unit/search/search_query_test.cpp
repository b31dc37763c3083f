#include "search/search_query.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vn {
namespace {

struct MatchCase {
    const char16_t* typed;
    SearchFields note;
    bool matches;
};

TEST(SearchQuery, WhichNotesMatch) {
    const SearchFields report{u"Report 7 - Editor", u"WS-01", u"Quarterly \u00dcbersicht\nBudget for \u0141\u00f3d\u017a"};
    const SearchFields letters{u"letter.txt - Notepad", u"HALL",
                               u"Stra\u00dfe, \u00c6ble, \u00d8resund, \u0110akovo, \u00deingvellir\n"
                               u"\u041f\u0440\u0438\u0432\u0435\u0442 \u039f\u0394\u039f\u03a3 "
                               u"\u6771\u4eac\u90fd\u306e\u5929\u6c17 \u0e2a\u0e27\u0e31\u0e2a\u0e14\u0e35"};
    const std::vector<MatchCase> cases = {
        {u"", report, true},
        {u"   ", report, true},
        {u"quarterly", report, true},
        {u"QUARTERLY", report, true},
        {u"uart", report, true},  // inside a word
        {u"ubersicht", report, true},
        {u"\u00fcbersicht", report, true},
        {u"U\u0308bersicht", report, true},  // typed with a combining mark
        {u"lodz", report, true},
        {u"\u0141\u00d3D\u0179", report, true},
        {u"editor", report, true},  // caption
        {u"ws-01", report, true},   // owner
        {u"budget editor ws-01", report, true},  // a word from each field, any order
        {u"budget missing", report, false},      // every word must match
        {u"t7", report, false},                  // never across a space
        {u"editor\u3000ws", report, true},       // ideographic space separates words
        {u"01quarterly", report, false},         // never across two fields
        {u"strasse", letters, true},
        {u"STRASSE", letters, true},
        {u"stra\u00df", letters, true},
        {u"aeble", letters, true},
        {u"oresund", letters, true},
        {u"dakovo", letters, true},
        {u"thingvellir", letters, true},
        {u"\u043f\u0420\u0418\u0432\u0415\u0442", letters, true},  // Cyrillic, mixed case
        {u"\u043f\u0440\u0438\u0432\u0435\u0438", letters, false},  // and not a letter less
        {u"\u03bf\u03b4\u03bf\u03c2", letters, true},  // Greek final sigma
        {u"\u4eac\u90fd", letters, true},                // CJK inside a run without spaces
        {u"\u5929\u6c17 \u6771\u4eac", letters, true},
        {u"\u4eac\u5929", letters, false},
        {u"\u0e2a\u0e14\u0e35", letters, true},        // Thai
        {u"notepad hall", letters, true},
        {u"o", {u"", u"", u"\u00f6"}, true},
        {u"\u00f6", {u"", u"", u"o"}, true},           // accents on either side
        {u"\U00010428", {u"", u"", u"\U00010400"}, true},  // Deseret, beyond U+FFFF
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(SearchQuery(cases[i].typed).Matches(cases[i].note), cases[i].matches) << "case " << i;
    }
}

TEST(SearchQuery, HighlightsCoverWholeCharactersOfTheText) {
    using Ranges = std::vector<std::pair<size_t, size_t>>;
    struct Case {
        const char16_t* typed;
        std::u16string text;
        Ranges ranges;
    };
    const std::vector<Case> cases = {
        {u"", u"anything", {}},
        {u"milk", u"Milk, eggs, more milk", {{0, 4}, {17, 21}}},
        {u"ss", u"Stra\u00dfe", {{4, 5}}},              // both letters of one ß
        {u"s", u"Stra\u00dfe", {{0, 1}, {4, 5}}},
        {u"ube", u"U\u0308bersicht", {{0, 4}}},         // the mark goes with its letter
        {u"u", u"U\u0308\u0301x", {{0, 3}}},
        {u"egg milk", u"eggmilk egg", {{0, 7}, {8, 11}}},  // touching matches joined
        {u"aa", u"aaaa", {{0, 4}}},                       // overlapping matches joined
        {u"\U00010428", u"x\U00010400", {{1, 3}}},
        {u"lodz", u"\u0141\u00f3d\u017a!", {{0, 4}}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(SearchQuery(cases[i].typed).Highlights(cases[i].text), cases[i].ranges) << "case " << i;
    }
}

TEST(SearchQuery, FirstMatchingLine) {
    const std::u16string text = u"\n  \nShopping\nmilk and eggs\nMore MILK";
    EXPECT_EQ(SearchQuery(u"").FirstMatchingLine(text), u"Shopping");
    EXPECT_EQ(SearchQuery(u"milk").FirstMatchingLine(text), u"milk and eggs");
    EXPECT_EQ(SearchQuery(u"more milk").FirstMatchingLine(text), u"milk and eggs");  // any of the words
    EXPECT_EQ(SearchQuery(u"m\u00f6re").FirstMatchingLine(text), u"More MILK");
    EXPECT_EQ(SearchQuery(u"notepad").FirstMatchingLine(text), u"Shopping");  // matched elsewhere
    EXPECT_EQ(SearchQuery(u"x").FirstMatchingLine(u" \n\t"), u"");
    EXPECT_EQ(SearchQuery(u"x").FirstMatchingLine(u""), u"");
}

TEST(SearchQuery, NarrowsOnlyWhenEveryEarlierWordIsInsideANewOne) {
    struct Case {
        const char16_t* earlier;
        const char16_t* later;
        bool narrows;
    };
    const std::vector<Case> cases = {
        {u"", u"a", true},       {u"mi", u"mil", true},     {u"mil", u"mi", false},
        {u"milk", u"milk eggs", true}, {u"milk eggs", u"milk", false}, {u"il", u"MILK", true},
        {u"milk", u"mlk", false}, {u"a", u"", false},        {u"stra", u"stra\u00df", true},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(SearchQuery(cases[i].later).Narrows(SearchQuery(cases[i].earlier)), cases[i].narrows) << "case " << i;
    }
}

} // namespace
} // namespace vn
