// The rows of the export and import dialogs: check boxes and the header rule, rows
// that keep their notes, index strings from the list as it is, and which imported
// records can make a note.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/export_rows.h"
#include "exchange/import_rows.h"
#include "note/jotlet.h"
#include "store/store_names.h"
#include "windowless_jotlet.h"

namespace vn {
namespace {

// Notes are only told apart by identity here.
class StubJotlet final : public test::WindowlessJotlet {
public:
    void SetRemovalNotice(RemovalNotice) override {}
    bool HandlerRunning() const noexcept override { return false; }
    void Hide() override {}
    void Close() override {}
    StoreNote& Stored() noexcept override { std::terminate(); }
};

struct ExportHarness {
    ExportHarness() {
        for (auto& n : stubs) notes.push_back(&n);
        rows.Refresh(notes);
    }
    StubJotlet stubs[5];
    std::vector<Jotlet*> notes;
    ExportRows rows;
};

TEST(ExportRows, ChecksEnableTheButtonsAndGiveTheIndexStringInAscendingOrder) {
    ExportHarness h;
    EXPECT_FALSE(h.rows.AnyChecked());
    EXPECT_EQ(h.rows.CheckedIndexString(h.notes), u"");
    h.rows.Toggle(3);
    h.rows.Toggle(0);
    h.rows.Toggle(4);
    h.rows.Toggle(4);
    EXPECT_TRUE(h.rows.AnyChecked());
    EXPECT_EQ(h.rows.CheckedIndexString(h.notes), u"0|3");
    h.rows.Toggle(99);  // no such row
    h.rows.Refresh(h.notes);
    EXPECT_FALSE(h.rows.AnyChecked()) << "a refresh unticks every row";
}

TEST(ExportRows, TheHeaderRuleToggleOnALeftClickOnTheBoxCopyOtherwiseAndSurviveARefresh) {
    ExportHarness h;
    struct Step {
        const char* what;
        bool leftOnBox;
        bool header;
        bool rows;
    } steps[] = {
        {"left click on the box ticks all", true, true, true},
        {"right button copies without toggling", false, true, true},
        {"left click again unticks all", true, false, false},
        {"release off the box copies the unticked state", false, false, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        h.rows.Toggle(1);  // whatever a row was, the header decides
        h.rows.HeaderMouseUp(s.leftOnBox);
        EXPECT_EQ(h.rows.HeaderChecked(), s.header);
        for (size_t r = 0; r < h.rows.Count(); ++r) EXPECT_EQ(h.rows.Checked(r), s.rows);
    }
    h.rows.HeaderMouseUp(true);
    h.rows.Refresh(h.notes);
    EXPECT_TRUE(h.rows.HeaderChecked()) << "a refresh never resets the header box";
    EXPECT_FALSE(h.rows.AnyChecked());
    h.rows.HeaderMouseUp(true);
    EXPECT_FALSE(h.rows.AnyChecked()) << "one click unticks the header, rows stay unticked";
    h.rows.HeaderMouseUp(true);
    EXPECT_EQ(h.rows.CheckedIndexString(h.notes), u"0|1|2|3|4");
}

TEST(ExportRows, ARemovedNoteLeavesAnEmptySkippedRowAndPositionsFollowTheListNow) {
    ExportHarness h;
    h.rows.Toggle(1);
    h.rows.Toggle(3);
    h.rows.Toggle(4);
    // Note 1 goes while the dialog is open (its own Delete button, say).
    h.notes.erase(h.notes.begin() + 1);
    h.rows.NoteRemoved(&h.stubs[1]);
    EXPECT_EQ(h.rows.NoteAt(1), nullptr);
    EXPECT_FALSE(h.rows.Checked(1));
    h.rows.Toggle(1);
    EXPECT_FALSE(h.rows.Checked(1)) << "an empty row has no check box";
    EXPECT_EQ(h.rows.NoteAt(3), &h.stubs[3]) << "later rows keep their notes";
    // Notes 3 and 4 are now at positions 2 and 3.
    EXPECT_EQ(h.rows.CheckedIndexString(h.notes), u"2|3");
    h.rows.HeaderMouseUp(true);
    EXPECT_FALSE(h.rows.Checked(1)) << "the header skips the empty row";
    // A note that went without its notice yet (closed by a delete) is not named.
    h.notes.erase(h.notes.begin());
    EXPECT_EQ(h.rows.CheckedIndexString(h.notes), u"0|1|2");
}

TEST(ImportRows, CellsComeFromTheLineAndOnlyConfinedRecordsCanStick) {
    const std::vector<std::u16string> lines{
        u"notepad.exe|a.txt - Notepad=PC-1|1/2/2024 3:04:05 PM|Temp Export\\2.txt|101",
        u"calc.exe|Calculator=PC-1|5/6/2024|Temp Export\\0.txt",
        u"no equals sign at all",
        u"x.exe|X=PC-2|time only",
        u"x.exe|X=PC-2|t|..\\..\\secret.txt|1",
        u"x.exe|X=PC-2|t|Information\\0.txt|1",
        u"browser.exe|search?q=x | News=HALL'B|t|Temp Export\\3.txt|1",
    };
    std::vector<ImportRow> rows = ImportRowsOf(lines);
    ASSERT_EQ(rows.size(), lines.size());
    EXPECT_EQ(rows[0].title, u"notepad.exe|a.txt - Notepad");
    EXPECT_EQ(rows[0].record.ownerLabel, u"PC-1");
    EXPECT_EQ(rows[0].record.timeLabel, u"1/2/2024 3:04:05 PM");
    EXPECT_EQ(rows[0].record.valuePart, u"PC-1|1/2/2024 3:04:05 PM|Temp Export\\2.txt|101");
    EXPECT_EQ(rows[0].record.checkStates, u"101");
    EXPECT_EQ(rows[2].title, u"");
    EXPECT_EQ(rows[2].record.ownerLabel, u"");
    EXPECT_EQ(rows[6].title, u"browser.exe|search?q=x | News") << "the caption stays whole";
    EXPECT_EQ(rows[6].record.ownerLabel, u"HALL'B");
    EXPECT_EQ(rows[6].record.valuePart, u"HALL'B|t|Temp Export\\3.txt|1");
    const bool canStick[] = {true, true, false, false, false, false, true};
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].canStick, canStick[i]) << i;
}

} // namespace
} // namespace vn
