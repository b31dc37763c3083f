#include "search/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vn {
namespace {

// Every length of text around the sixteen-place blocks and every place of a match,
// first and last ones included, against the standard library's search.
TEST(ByteSearch, FindsWhatFindFindsAtEveryPlace) {
    std::mt19937 random(11);
    const std::string alphabet = "aez\n\xC3\xBC";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 70, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        std::string word(1 + random() % 6, ' ');
        for (char& c : word) c = alphabet[random() % alphabet.size()];
        if (round % 3 == 0 && text.size() >= word.size()) {
            text.replace(random() % (text.size() - word.size() + 1), word.size(), word);
        }
        ASSERT_EQ(ByteSearch(word).In(text), text.find(word) != std::string::npos)
            << "word '" << word << "' in '" << text << "'";
    }
    EXPECT_TRUE(ByteSearch("").In(""));
    EXPECT_FALSE(ByteSearch("a").In(""));
    EXPECT_TRUE(ByteSearch("qz").In(std::string(31, 'x') + "qz"));
    EXPECT_FALSE(ByteSearch("qz").In(std::string(31, 'x') + "q"));
}

} // namespace
} // namespace vn
