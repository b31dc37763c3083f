// Cutting and composing record lines, check-state strings and index strings.
#include "store/check_states.h"
#include "store/index_string.h"
#include "store/record_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

using Items = std::vector<std::u16string>;

TEST(RecordLine, NameAndValuePartsMeetAtTheFirstEquals) {
    struct Case {
        std::u16string line, name, value;
    } cases[] = {
        {u"editor.exe|Report 7=WS-01|t|Information\\2.txt|010", u"editor.exe|Report 7", u"WS-01|t|Information\\2.txt|010"},
        {u"a|x=y=z|t|b|1", u"a|x", u"y=z|t|b|1"}, // a caption with "=" is cut there
        {u"no equals sign", u"", u""},
        {u"=v", u"", u"v"},
        {u"n=", u"n", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        RecordParts parts = SplitRecordLine(c.line);
        EXPECT_EQ(parts.namePart, c.name) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(parts.valuePart, c.value) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(RecordLine, NamePartSplitIsAPlainCut) {
    struct Case {
        std::u16string text;
        Items items;
    } cases[] = {
        {u"editor.exe|Report", {u"editor.exe", u"Report"}},
        {u"|Caption", {u"", u"Caption"}},        // empty executable name: usable
        {u"editor.exe|", {u"editor.exe"}},       // a bar at the end adds nothing: skipped
        {u"a|b|c", {u"a", u"b", u"c"}},          // caption with "|": skipped
        {u"a||b", {u"a", u"", u"b"}},
        {u"a|b|", {u"a", u"b"}},
        {u"|", {u""}},
        {u"||", {u"", u""}},
        {u"solo", {u"solo"}},
        {u"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitNamePart(c.text), c.items) << std::string(c.text.begin(), c.text.end());
}

TEST(RecordLine, ValuePartFieldSplittingRule) {
    struct Case {
        std::u16string value;
        Items items;
    } cases[] = {
        {u"WS-01|11.08.2015 14:03:22|Information\\2.txt|010", {u"WS-01", u"11.08.2015 14:03:22", u"Information\\2.txt", u"010"}},
        {u"WS-01||x|Information\\2.txt|1", {u"WS-01", u"x", u"Information\\2.txt", u"1"}}, // empty field vanishes
        {u"|a|b|", {u"a", u"b"}},
        {u"o|t|Information\\0.txt|", {u"o", u"t", u"Information\\0.txt"}}, // empty body: three items
        {u"HALL'B|t|Information\\2.txt|1", {u"HALL'B|t|Information\\2.txt|1"}}, // quoted to the end
        {u"HALL'B|t'x|y", {u"HALL'B|t'x", u"y"}},                             // quote closes, scan goes on
        {u"a\"b|'c\"|d", {u"a\"b|'c\"", u"d"}},       // the other quote character is plain text inside
        {u"a'b'c'd|e|f", {u"a'b'c'd|e|f"}},           // a later quote opens quoted mode again
        {u"'x\r\ny'|z", {u"'x\r\ny'", u"z"}},         // line breaks belong to a quoted field
        {u"a\r\nb|c", {u"a", u"b", u"c"}},            // CR and LF end a field and are skipped
        {u"\r\n\r\na|b", {u"a", u"b"}},
        {u" a|\tb ", {u" a", u"\tb "}},               // spaces and tabs are kept
        {u"", {}},
        {u"|||", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitFields(c.value), c.items) << std::string(c.value.begin(), c.value.end());
}

TEST(RecordLine, ComposedLinesReadBackField) {
    std::u16string line = ComposeRecordLine(u"editor.exe", u"Report 7 - Editor", u"WS-01", u"11.08.2015 14:03:22",
                                            u"Information\\2.txt", u"010");
    EXPECT_EQ(line, u"editor.exe|Report 7 - Editor=WS-01|11.08.2015 14:03:22|Information\\2.txt|010");
    EXPECT_EQ(ComposeRecordLine(u"e", u"c", u"o", u"t", u"Information\\0.txt", u""), u"e|c=o|t|Information\\0.txt|");
    RecordParts parts = SplitRecordLine(line);
    EXPECT_EQ(SplitNamePart(parts.namePart), (Items{u"editor.exe", u"Report 7 - Editor"}));
    EXPECT_EQ(SplitFields(parts.valuePart), (Items{u"WS-01", u"11.08.2015 14:03:22", u"Information\\2.txt", u"010"}));
}

// Every line the writer composes reads back as written.
TEST(RecordLine, WrittenLinesReadBackWhateverTheValuesHold) {
    struct Case {
        std::u16string exe, caption, owner, time, body, checks;
    } cases[] = {
        {u"editor.exe", u"Report 7 - Editor", u"WS-01", u"11.08.2015 14:03:22", u"Information\\2.txt", u"010"},
        {u"browser.exe", u"search?q=x - Browser", u"WS-01", u"t", u"Information\\0.txt", u"1"},
        {u"browser.exe", u"News | Site - Browser", u"WS-01", u"t", u"Information\\0.txt", u""},
        {u"browser.exe", u"a=b|c=d|e", u"WS-01", u"t", u"Temp Export\\12.txt", u"01"},
        {u"x.exe", u"|leading and trailing|", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"x.exe", u"|", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"x.exe", u"=", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"x.exe", u"ends in =", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"x.exe", u"\"quoted\" and 'single' - Doc", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"a=b.exe", u"c", u"WS", u"t", u"Information\\0.txt", u"1"},  // "=" in the executable name
        {u"it's.exe", u"c", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"", u"no executable", u"WS", u"t", u"Information\\0.txt", u"1"},
        {u"x.exe", u"c", u"HALL'B", u"t", u"Information\\3.txt", u"1"},     // quotes in the labels
        {u"x.exe", u"c", u"\"WS\"", u"it's 5 o'clock", u"Information\\3.txt", u"10"},
        {u"x.exe", u"c", u"", u"", u"Information\\3.txt", u""},              // empty labels
        {u"x.exe", u"c|", u"WS", u"t", u"Information\\0.txt", u"0000000000"},
    };
    for (const auto& c : cases) {
        const std::u16string line = ComposeRecordLine(c.exe, c.caption, c.owner, c.time, c.body, c.checks);
        RecordFields read = ReadRecordLine(line);
        const std::string shown(line.begin(), line.end());
        EXPECT_EQ(read.names, (Items{c.exe, c.caption})) << shown;
        std::vector<std::u16string> fields;
        for (const FieldSpan& f : read.fields) fields.emplace_back(line.substr(f.offset, f.length));
        EXPECT_EQ(fields, (Items{c.owner, c.time, c.body, c.checks})) << shown;
        // An imported record's value part reads the same on its own.
        const std::u16string value = line.substr(line.size() - (c.owner.size() + c.time.size() + c.body.size() +
                                                                c.checks.size() + 3));
        fields.clear();
        for (const FieldSpan& f : ReadValuePart(value)) fields.emplace_back(value.substr(f.offset, f.length));
        if (c.owner.find(u'|') == std::u16string::npos)
            EXPECT_EQ(fields, (Items{c.owner, c.time, c.body, c.checks})) << shown;
    }
    EXPECT_EQ(CheckStatesForRecord(u"1x0|1"), u"10001") << "no reader ticks anything but 1";
}

// Lines that are not the writer's own are cut by the traditional rules, as any
// reader of the format cuts them.
TEST(RecordLine, OtherLinesAreCutByTheTraditionalRules) {
    struct Case {
        std::u16string line;
        Items names, fields;
    } cases[] = {
        {u"e|c=WS-01||x|Information\\2.txt|1", {u"e", u"c"}, {u"WS-01", u"x", u"Information\\2.txt", u"1"}},
        {u"e|c=o|t|b.rtf|1", {u"e", u"c"}, {u"o", u"t", u"b.rtf", u"1"}},      // not a body path the writer makes
        {u"e|c=o|t|Information\\1.txt|1|2", {u"e", u"c"}, {u"o", u"t", u"Information\\1.txt", u"1", u"2"}},
        {u"e|c=HALL'B|t|Information\\1.txt|x", {u"e", u"c"}, {u"HALL'B|t|Information\\1.txt|x"}},
        {u"editor.exe|=o|t|Information\\1.txt|1", {u"editor.exe"}, {u"o", u"t", u"Information\\1.txt", u"1"}},
        {u"a|b|c", {}, {}},
        {u"", {}, {}},
    };
    for (const auto& c : cases) {
        RecordFields read = ReadRecordLine(c.line);
        EXPECT_EQ(read.names, c.names) << std::string(c.line.begin(), c.line.end());
        Items fields;
        for (const FieldSpan& f : read.fields) fields.emplace_back(c.line.substr(f.offset, f.length));
        EXPECT_EQ(fields, c.fields) << std::string(c.line.begin(), c.line.end());
    }
}

TEST(CheckStates, OneCharacterPerLineAndZerosPastTheBoxes) {
    auto all = [](int) { return true; };
    auto odd = [](int i) { return i % 2 == 1; };
    auto none = [](int) { return false; };
    EXPECT_EQ(ComposeCheckStates(0, all), u"");
    EXPECT_EQ(ComposeCheckStates(3, odd), u"010");
    EXPECT_EQ(ComposeCheckStates(2, none), u"00");
    EXPECT_EQ(ComposeCheckStates(120, all), std::u16string(100, u'1') + std::u16string(20, u'0'));
    int highest = -1;
    ComposeCheckStates(150, [&](int i) { highest = std::max(highest, i); return true; });
    EXPECT_EQ(highest, kCheckBoxCount - 1) << "lines without a box are never asked about";
}

TEST(CheckStates, PendingStatesAreWrittenInsteadOfTheBoxes) {
    // A note filled from "1011" and never shown has no boxes; its states must survive a save.
    EXPECT_EQ(CheckStatesToWrite(u"1011", 3, [](int) { return false; }), u"1011");
    EXPECT_EQ(CheckStatesToWrite(u"", 3, [](int i) { return i == 2; }), u"001");
}

TEST(CheckStates, ReaderTicksOnlyOnesAndOnlyTheFirstHundred) {
    std::u16string s = u"1x01" + std::u16string(200, u'1');
    EXPECT_TRUE(CheckStateTicks(s, 0));
    EXPECT_FALSE(CheckStateTicks(s, 1));
    EXPECT_FALSE(CheckStateTicks(s, 2));
    EXPECT_TRUE(CheckStateTicks(s, 99));
    EXPECT_FALSE(CheckStateTicks(s, 100));
    EXPECT_FALSE(CheckStateTicks(u"11", 2));
}

TEST(IndexString, MembershipByExactDecimalText) {
    struct Case {
        std::u16string index;
        size_t count;
        std::vector<size_t> selected; // highest first
    } cases[] = {
        {u"0|3|4", 5, {4, 3, 0}},
        {u"0|2", 3, {2, 0}},
        {u"00|2", 3, {2}},             // leading zeros select nothing
        {u"03|3", 5, {3}},
        {u" 1|2 |+1|1a|-1", 5, {}},    // not exact decimal text
        {u"7|1", 3, {1}},              // positions that do not exist
        {u"1|1|1", 3, {1}},
        {u"|2|", 3, {2}},
        {u"10", 11, {10}},
        {u"10", 10, {}},
        {u"99999999999999999999|0", 3, {0}}, // too long for any position, no overflow
        {u"", 3, {}},
    };
    for (const auto& c : cases) {
        IndexSelection selection(c.index);
        EXPECT_EQ(selection.PositionsDescending(c.count), c.selected) << std::string(c.index.begin(), c.index.end());
    }
}

TEST(IndexString, DeleteJotletsWalksFromTheHighestPosition) {
    std::vector<char> list{'A', 'B', 'C', 'D'};
    std::vector<char> closed;
    DeleteJotlets(u"3|1", list, [&](char note) { closed.push_back(note); });
    EXPECT_EQ(list, (std::vector<char>{'A', 'C'}));
    EXPECT_EQ(closed, (std::vector<char>{'D', 'B'}));

    list = {'A', 'B', 'C'};
    DeleteJotlets(u"1", list, [](char) {});
    EXPECT_EQ(list, (std::vector<char>{'A', 'C'})) << "A keeps position 0, C takes position 1";
}

TEST(IndexString, DecimalTextHasNoLeadingZeros) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(7), u"7");
    EXPECT_EQ(DecimalText(1203), u"1203");
}

} // namespace
} // namespace vn
