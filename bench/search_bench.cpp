// Speed and memory of search over 5,000 notes with bodies of about 4 KB of RTF, as
// the rich-text control writes them.
//   1. Reading the text of every body (NoteTextFromBody) and indexing it
//      (SearchIndex::Set): the work done once after start-up and on each change.
//   2. Keystrokes: words typed letter by letter and taken back with Backspace, each
//      keystroke timed from the typed text to what the window needs: the query, the
//      filtered notes, the "Text" column of the first 40 rows and the highlights of
//      the first one's preview. Median and 95th percentile over all keystrokes;
//      the goal for the whole update in the window is a median of 16 ms and a 95th
//      percentile of 50 ms, so this part should take a few milliseconds.
//   3. The memory the search text costs per note.
// Usage: search_bench [notes] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "search/note_text.h"
#include "search/search_index.h"
#include "search/search_query.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// Words of a made-up language, with the accents and scripts people write notes in.
std::vector<std::string> Vocabulary(std::mt19937& random) {
    const char* syllables[] = {"ka", "ri", "mo", "te", "lu", "an", "ser", "vi", "do", "pel", "str", "ba",
                               "\\'fc", "\\'e9", "\\u1087?", "\\u1072?", "no", "ge", "\\u26085?", "\\u26412?"};
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        for (int k = 2 + static_cast<int>(random() % 3); k > 0; --k) word += syllables[random() % 20];
        words.push_back(word);
    }
    return words;
}

std::string Body(std::mt19937& random, const std::vector<std::string>& words, int note) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\f0\\fs20 ";
    rtf += "Note number" + std::to_string(note) + " ";
    while (rtf.size() < 4000) {
        rtf += words[random() % words.size()];
        const unsigned r = random() % 12;
        rtf += r == 0 ? "\\par\r\n" : r == 1 ? ", " : r == 2 ? "{\\b  bold} " : " ";
    }
    return rtf + "\\par\r\n}\r\n";
}

} // namespace

int main(int argc, char** argv) {
    const int count = std::max(1, argc > 1 ? std::atoi(argv[1]) : 5000);
    const int rounds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
    std::mt19937 random(2026);
    const std::vector<std::string> words = Vocabulary(random);
    std::vector<std::string> bodies;
    size_t bodyBytes = 0;
    for (int i = 0; i < count; ++i) {
        bodies.push_back(Body(random, words, i));
        bodyBytes += bodies.back().size();
    }

    const vn::Windows1252CodePage codePage;
    std::vector<std::u16string> texts;
    auto t0 = Clock::now();
    for (const std::string& body : bodies) texts.push_back(vn::NoteTextFromBody(body, codePage));
    auto t1 = Clock::now();
    vn::SearchIndex index;
    size_t textUnits = 0;
    for (int i = 0; i < count; ++i) {
        index.Set(static_cast<uint64_t>(i), u"Document " + vn::DecodeUtf8(std::to_string(i)) + u" - Editor", u"WS-01",
                  texts[static_cast<size_t>(i)]);
        textUnits += texts[static_cast<size_t>(i)].size();
    }
    auto t2 = Clock::now();
    std::printf("%d notes, bodies of %.0f bytes on average, text of %.0f characters\n", count,
                static_cast<double>(bodyBytes) / count, static_cast<double>(textUnits) / count);
    std::printf("reading the text of every body: %.0f ms (%.1f us a note)\n", Ms(t0, t1), Ms(t0, t1) * 1000 / count);
    std::printf("indexing every note:            %.0f ms (%.1f us a note)\n", Ms(t1, t2), Ms(t1, t2) * 1000 / count);
    std::printf("memory of the search text:      %zu bytes a note (the text itself in UTF-16: %.0f)\n",
                index.BytesPerNote(), static_cast<double>(textUnits) * 2 / count);

    // What a person types: a word one note holds, a common start of many words,
    // two words, a word no note holds, and the note's own name.
    const std::u16string note = vn::DecodeUtf8("number" + std::to_string(count / 2));
    const std::vector<std::u16string> typed = {note, u"kari", u"serte mola", u"\u00fcber", u"quixotic",
                                               u"\u043f\u0430", u"\u65e5\u672c"};
    std::vector<double> keystrokes;
    size_t shown = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const std::u16string& word : typed) {
            std::vector<std::u16string> steps;
            for (size_t n = 1; n <= word.size(); ++n) steps.push_back(word.substr(0, n));
            for (size_t n = word.size(); n-- > 0;) steps.push_back(word.substr(0, n));  // Backspace
            for (const std::u16string& step : steps) {
                const auto a = Clock::now();
                const vn::SearchQuery query(step);
                const std::vector<uint64_t> found = index.Filter(query);
                for (size_t row = 0; row < std::min<size_t>(found.size(), 40); ++row)
                    shown += query.FirstMatchingLine(texts[found[row]]).size();
                if (!found.empty()) shown += query.Highlights(texts[found.front()]).size();
                keystrokes.push_back(Ms(a, Clock::now()));
                if (std::getenv("VN_BENCH_STEPS")) std::printf("%6.2f ms %zu found: %s\n", keystrokes.back(), found.size(), vn::EncodeUtf8(step).c_str());
            }
        }
    }
    std::printf("a keystroke (query, filter, 40 rows' lines, preview highlights), %zu keystrokes:\n",
                keystrokes.size());
    std::printf("  median %.2f ms, 95th percentile %.2f ms, slowest %.2f ms (%zu)\n", Percentile(keystrokes, 0.5),
                Percentile(keystrokes, 0.95), Percentile(keystrokes, 1.0), shown % 10);
    return 0;
}
