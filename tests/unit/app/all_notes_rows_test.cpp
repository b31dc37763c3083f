#include "app/all_notes_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

const TimeLabelFormat kUs{DateOrder::MonthDayYear, u"AM", u"PM"};

NoteRow Row(uint64_t key, std::u16string caption, std::u16string text, std::u16string time,
            NoteState state = NoteState::Waiting, std::u16string owner = u"DESK") {
    return {key, std::move(caption), std::move(owner), std::move(time),
            std::make_shared<const std::u16string>(std::move(text)), {}, state};
}

std::vector<uint64_t> Keys(const AllNotesRows& rows) {
    std::vector<uint64_t> keys;
    for (size_t i = 0; i < rows.size(); ++i) keys.push_back(rows[i].key);
    return keys;
}

class AllNotesRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<NoteRow> all = {
            Row(1, u"notepad.exe - letter.txt - Notepad", u"\n  \nDear Anna,\nthe Übersicht is attached", u"12/10/2026 9:17:22 PM",
                NoteState::OnScreen),
            Row(2, u"wordpad.exe - Plan - WordPad", u"Budget\nsee letter", u"12/9/2026 10:00:00 AM", NoteState::Tile),
            Row(3, u"chrome.exe - 東京 - Chrome", u"会議の議事録", u"not a date", NoteState::Waiting, u"LAPTOP"),
            Row(4, u"notepad.exe - todo.txt - Notepad", u"", u"1/2/2026"),
        };
        for (const NoteRow& row : all) index.Set(row.key, row.caption, row.owner, row.Text());
        rows.SetRows(all, &index);
    }

    SearchIndex index;
    AllNotesRows rows{kUs};
};

TEST_F(AllNotesRowsTest, TheListStartsWithEveryNoteByCreationTimeAndUnreadableLabelsLast) {
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{4, 2, 1, 3}));
    rows.SortBy(RowColumn::Created);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{1, 2, 4, 3})) << "newest first; the label that is no date stays last";
    rows.SortBy(RowColumn::Title);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{3, 1, 4, 2}));
    rows.SortBy(RowColumn::State);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{1, 2, 3, 4}));
}

TEST_F(AllNotesRowsTest, CellsShowTheFirstLineThatMattersAndTheStateInWords) {
    rows.SortBy(RowColumn::Title);  // 3, 1, 4, 2
    EXPECT_EQ(rows.Cell(1, RowColumn::Text), u"Dear Anna,") << "blank lines are skipped";
    EXPECT_EQ(rows.Cell(2, RowColumn::Text), u"");
    EXPECT_EQ(rows.Cell(0, RowColumn::State), u"Waiting for its window");
    EXPECT_EQ(rows.Cell(1, RowColumn::State), u"On screen");
    EXPECT_EQ(rows.Cell(3, RowColumn::State), u"Tile");
    EXPECT_EQ(rows.Cell(0, RowColumn::Owner), u"LAPTOP");
    EXPECT_EQ(rows.Cell(3, RowColumn::Created), u"12/9/2026 10:00:00 AM");

    rows.SetQuery(u"ubersicht");
    ASSERT_EQ(Keys(rows), (std::vector<uint64_t>{1}));
    EXPECT_EQ(rows.Cell(0, RowColumn::Text), u"the Übersicht is attached") << "the line that matches";
}

TEST_F(AllNotesRowsTest, TheSearchKeepsTheRowsWhereEveryWordMatchesSomewhere) {
    struct Case {
        std::u16string typed;
        std::vector<uint64_t> keys;
    } const cases[] = {
        {u"letter", {2, 1}},           // caption of 1, text of 2
        {u"LETTER anna", {1}},         // both words, in any field
        {u"notepad", {4, 1}},
        {u"laptop", {3}},              // the owner
        {u"議事録", {3}},
        {u"plan budget", {2}},
        {u"nothing-like-it", {}},
        {u"   ", {4, 2, 1, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        rows.SetQuery(c.typed);
        EXPECT_EQ(Keys(rows), c.keys);
    }
}

TEST_F(AllNotesRowsTest, ChangedAddedAndRemovedNotesFollowTheSearchAndTheOrder) {
    rows.SetQuery(u"stamps");
    EXPECT_EQ(rows.size(), 0u);
    NoteRow typed = Row(4, u"notepad.exe - todo.txt - Notepad", u"buy stamps", u"1/2/2026");
    index.Set(4, typed.caption, typed.owner, typed.Text());
    rows.Update(typed);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{4}));
    NoteRow added = Row(5, u"x.exe - y", u"stamps again", u"1/1/2020");
    index.Set(5, added.caption, added.owner, added.Text());
    rows.Update(added);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{5, 4}));
    EXPECT_EQ(rows.PositionOf(4), 1u);
    index.Remove(5);
    rows.Remove(5);
    EXPECT_EQ(Keys(rows), (std::vector<uint64_t>{4}));
    EXPECT_FALSE(rows.PositionOf(5));
    rows.SetQuery(u"");
    EXPECT_EQ(rows.TotalRows(), 4u);

    rows.SortBy(RowColumn::State);
    EXPECT_TRUE(rows.UpdateStates([](uint64_t key) { return key == 4 ? NoteState::OnScreen : NoteState::Waiting; }));
    EXPECT_EQ(rows[0].key, 4u) << "resorted by the new states";
    EXPECT_FALSE(rows.UpdateStates([](uint64_t key) { return key == 4 ? NoteState::OnScreen : NoteState::Waiting; }));
}

TEST(AllNotesRowsBin, WithoutAnIndexEachRowIsMatchedOnItsOwnAndDeletedTimesSort) {
    AllNotesRows bin(kUs);
    NoteRow a = Row(10, u"a.exe - A", u"old receipt", u"1/1/2026");
    a.deletedLabel = u"12/1/2026 8:00:00 AM";
    NoteRow b = Row(11, u"b.exe - B", u"new receipt", u"1/1/2025");
    b.deletedLabel = u"11/30/2026 8:00:00 PM";
    bin.SetRows({a, b}, nullptr);
    bin.SortBy(RowColumn::Deleted);
    EXPECT_EQ(Keys(bin), (std::vector<uint64_t>{11, 10}));
    EXPECT_EQ(bin.Cell(1, RowColumn::Deleted), u"12/1/2026 8:00:00 AM");
    bin.SetQuery(u"OLD");
    EXPECT_EQ(Keys(bin), (std::vector<uint64_t>{10}));
}

} // namespace
} // namespace vn
