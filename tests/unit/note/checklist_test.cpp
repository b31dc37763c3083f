// The checklist walk against a fake editor: lines of given font sizes, places read
// directly or by caret steps, a caret that may not be readable, and failures on demand.
#include "note/checklist.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vn::note {
namespace {

struct Line {
    int length;
    int sizePoints;
};

class FakeEditor final : public ChecklistEditor {
public:
    explicit FakeEditor(std::vector<Line> lines) : lines_(std::move(lines)) {}

    int LineCount() const override { return static_cast<int>(lines_.size()); }
    int LineStart(int line) const override {
        int start = 0;
        for (int i = 0; i < line; ++i) start += lines_.at(static_cast<size_t>(i)).length + 1;
        return start;
    }
    int SelSize() const override { return SelAttributes().sizePoints; }
    int SelStart() const override { return start_; }
    void SetSelStart(int start) override {
        ++selectionMoves;
        start_ = std::min(start, TextLength());
        length_ = 0;
        caretFormat_.reset();  // moving the caret takes the format of the text there
        if (failAtSetStart_ && start > 0 && LineAt(start_) == *failAtSetStart_) throw std::runtime_error("editor gone");
    }
    int SelLength() const override { return length_; }
    void SetSelLength(int length) override { length_ = std::min(length, TextLength() - start_); }
    CharAttributes SelAttributes() const override {
        if (caretFormat_) return *caretFormat_;
        CharAttributes a;
        a.name = u"Tahoma";
        a.sizePoints = lines_.empty() ? 10 : lines_[static_cast<size_t>(LineAt(start_))].sizePoints;
        return a;
    }
    void SetSelAttributes(const CharAttributes& a) override {
        ++attributeWrites;
        caretFormat_ = a;
    }
    void FocusForWalk() override { ++focusCalls; }
    std::optional<int> CaretY() const override {
        const int line = LineAt(start_);
        if (unreadable.count(line)) return std::nullopt;
        int y = 0;
        for (int i = 0; i < line; ++i) y += 20;
        return y;
    }
    std::optional<LinePlace> PlaceOfLine(int line) const override {
        if (!readsPlaces || placeless.count(line) || unreadable.count(line)) return std::nullopt;
        return LinePlace{line * 20, lines_.at(static_cast<size_t>(line)).sizePoints};
    }

    void Select(int start, int length) {
        start_ = start;
        length_ = length;
    }
    void SetCaretFormat(CharAttributes a) { caretFormat_ = std::move(a); }
    int TextLength() const {
        int n = 0;
        for (const Line& l : lines_) n += l.length + 1;
        return lines_.empty() ? 0 : n - 1;
    }

    bool readsPlaces = true;  // false: every place is found by a caret step
    std::set<int> placeless;   // only a caret step finds these lines' places
    std::set<int> unreadable;  // neither the place nor the caret can be read
    int selectionMoves = 0;
    std::optional<int> failAtSetStart_;
    int attributeWrites = 0;
    int focusCalls = 0;

private:
    int LineAt(int position) const {
        int line = 0;
        for (int begin = 0; line + 1 < static_cast<int>(lines_.size()); ++line) {
            begin += lines_[static_cast<size_t>(line)].length + 1;
            if (position < begin) break;
        }
        return line;
    }

    std::vector<Line> lines_;
    int start_ = 0;
    int length_ = 0;
    std::optional<CharAttributes> caretFormat_;
};

class FakeView final : public CheckBoxView {
public:
    void CreateBox(int line, int top) override { log += "c" + std::to_string(line) + "@" + std::to_string(top) + " "; }
    void MoveBox(int line, int top) override { log += "m" + std::to_string(line) + "@" + std::to_string(top) + " "; }
    void ShowBox(int line, bool shown) override { log += (shown ? "s" : "h") + std::to_string(line) + " "; }
    void TickBox(int line, bool ticked) override { log += (ticked ? "t" : "u") + std::to_string(line) + " "; }
    void ParkBodyArea(bool parked) override {
        log += parked ? "park " : "unpark ";
        this->parked = parked;
    }
    std::string log;
    bool parked = false;
};

std::vector<Line> Lines(int count, int sizePoints = 10) { return std::vector<Line>(count, Line{5, sizePoints}); }

// Boxes land in the same places whether the editor reads line places directly or the
// walk steps the caret there.
class ChecklistWalk : public testing::TestWithParam<bool> {
protected:
    FakeEditor Editor(std::vector<Line> lines) const {
        FakeEditor editor(std::move(lines));
        editor.readsPlaces = GetParam();
        return editor;
    }
};
INSTANTIATE_TEST_SUITE_P(PlacesReadOrCaretSteps, ChecklistWalk, testing::Bool());

TEST(Checklist, OffsetTableAndSizesItDoesNotHold) {
    const struct {
        int size;
        std::optional<int> offset;
    } cases[] = {{8, 0}, {9, 0}, {10, 1}, {11, 3}, {14, 6}, {28, 18}, {36, 25}, {48, 35}, {72, 55},
                 {7, std::nullopt}, {13, std::nullopt}, {73, std::nullopt}, {0, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(CheckBoxOffset(c.size), c.offset) << c.size;
}

TEST_P(ChecklistWalk, WalkMakesShowsAndPlacesOneBoxPerLine) {
    FakeEditor editor = Editor(Lines(3));
    FakeView view;
    CheckBoxes boxes;
    EXPECT_TRUE(boxes.UpdateCheckBoxes(editor, view, false));
    EXPECT_EQ(view.log, "c0@1 s0 c1@21 s1 c2@41 s2 ");
    EXPECT_EQ(editor.focusCalls, 1);
    // A second walk over the same text changes nothing and calls nothing.
    view.log.clear();
    EXPECT_FALSE(boxes.UpdateCheckBoxes(editor, view, false));
    EXPECT_EQ(view.log, "");
}

TEST_P(ChecklistWalk, MissingLinesHideTheirBoxesWhichKeepTheirTicks) {
    FakeEditor three = Editor(Lines(3));
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(three, view, false);
    boxes.SetTicked(2, true);
    FakeEditor one = Editor(Lines(1));
    view.log.clear();
    EXPECT_TRUE(boxes.UpdateCheckBoxes(one, view, false));  // hiding changes the scroll range
    EXPECT_EQ(view.log, "h1 h2 ");
    EXPECT_TRUE(boxes.Ticked(2));
    FakeEditor empty = Editor({});
    view.log.clear();
    boxes.UpdateCheckBoxes(empty, view, false);
    EXPECT_EQ(view.log, "h0 ");
    view.log.clear();
    boxes.UpdateCheckBoxes(three, view, false);
    EXPECT_EQ(view.log, "s0 s1 s2 ");
    EXPECT_TRUE(boxes.Ticked(2));
}

TEST_P(ChecklistWalk, SizesMissingFromTheTableKeepTheLastHitAndStartAtZero) {
    // 13 pt before any hit: offset 0; 72 pt: 55; 13 pt again: still 55.
    FakeEditor editor = Editor({{4, 13}, {4, 72}, {4, 13}, {4, 8}});
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(editor, view, false);
    EXPECT_EQ(boxes.Slot(0).top, 0);
    EXPECT_EQ(boxes.Slot(1).top, 20 + 55);
    EXPECT_EQ(boxes.Slot(2).top, 40 + 55);
    EXPECT_EQ(boxes.Slot(3).top, 60 + 0);
}

TEST_P(ChecklistWalk, AnUnreadableCaretKeepsTheBoxWhereItWas) {
    FakeEditor editor = Editor(Lines(2));
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(editor, view, false);
    FakeEditor longer = Editor({{5, 72}, {5, 72}});
    longer.unreadable = {1};
    view.log.clear();
    EXPECT_TRUE(boxes.UpdateCheckBoxes(longer, view, false));
    EXPECT_EQ(view.log, "m0@55 ");  // box 1 stays at 21, and is still shown
    EXPECT_TRUE(boxes.Slot(1).shown);
    EXPECT_EQ(boxes.Slot(1).top, 21);
}

TEST_P(ChecklistWalk, OnlyTheFirstHundredLinesHaveBoxes) {
    FakeEditor editor = Editor(Lines(150));
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(editor, view, false);
    EXPECT_TRUE(boxes.Slot(99).shown);
    EXPECT_EQ(boxes.Slot(99).top, 99 * 20 + 1);
    EXPECT_EQ(view.log.find("c100"), std::string::npos);
}

TEST(Checklist, PlacesReadDirectlyLeaveSelectionAndFormatAlone) {
    FakeEditor editor(Lines(3));
    editor.Select(2, 9);
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(editor, view, false);
    EXPECT_EQ(view.log, "c0@1 s0 c1@21 s1 c2@41 s2 ");
    EXPECT_EQ(editor.selectionMoves, 0);
    EXPECT_EQ(editor.attributeWrites, 0);
    EXPECT_EQ(editor.SelStart(), 2);
    EXPECT_EQ(editor.SelLength(), 9);
}

TEST(Checklist, SelectionAndFormatComeBack) {
    CharAttributes typedNext{u"Arial", 24, 255, false, 1};
    {
        // An empty selection: the format chosen for the next typed text is restored.
        // One line's place needs a caret step, the others are read directly.
        FakeEditor editor({{5, 10}, {5, 72}, {5, 10}});
        editor.placeless = {1};
        editor.Select(7, 0);
        editor.SetCaretFormat(typedNext);
        FakeView view;
        CheckBoxes boxes;
        boxes.UpdateCheckBoxes(editor, view, false);
        EXPECT_EQ(editor.SelStart(), 7);
        EXPECT_EQ(editor.SelLength(), 0);
        EXPECT_EQ(editor.SelAttributes(), typedNext);
        EXPECT_EQ(boxes.Slot(1).top, 20 + 55);
        EXPECT_EQ(boxes.Slot(2).top, 40 + 1);
    }
    {
        // A real selection keeps its own formatting: nothing is written over it.
        FakeEditor editor(Lines(3));
        editor.readsPlaces = false;
        editor.Select(2, 9);
        FakeView view;
        CheckBoxes boxes;
        boxes.UpdateCheckBoxes(editor, view, false);
        EXPECT_EQ(editor.SelStart(), 2);
        EXPECT_EQ(editor.SelLength(), 9);
        EXPECT_EQ(editor.attributeWrites, 0);
    }
}

TEST(Checklist, AFailureRestoresSelectionAndBodyAreaAndGoesOn) {
    FakeEditor editor(Lines(5));
    editor.readsPlaces = false;
    editor.Select(3, 4);
    editor.failAtSetStart_ = 2;
    FakeView view;
    CheckBoxes boxes;
    EXPECT_THROW(boxes.UpdateCheckBoxes(editor, view, true), std::runtime_error);
    EXPECT_EQ(editor.SelStart(), 3);
    EXPECT_EQ(editor.SelLength(), 4);
    EXPECT_FALSE(view.parked);
    EXPECT_EQ(view.log.substr(0, 5), "park ");
    EXPECT_EQ(view.log.substr(view.log.size() - 7), "unpark ");
    EXPECT_TRUE(boxes.Slot(1).shown);
    EXPECT_FALSE(boxes.Slot(2).made);
}

TEST(Checklist, StoredStatesTickExistingBoxesOnly) {
    FakeEditor editor(Lines(3));
    FakeView view;
    CheckBoxes boxes;
    boxes.UpdateCheckBoxes(editor, view, true);
    view.log.clear();
    boxes.ApplyStates(u"1011x1", view);
    EXPECT_EQ(view.log, "t0 t2 ");
    EXPECT_TRUE(boxes.Ticked(0));
    EXPECT_FALSE(boxes.Ticked(1));
    EXPECT_FALSE(boxes.Ticked(3));  // no box for the fourth character
    // A box made later for a line that had a "1" is not ticked by the old string.
    FakeEditor four(Lines(4));
    view.log.clear();
    boxes.UpdateCheckBoxes(four, view, false);
    EXPECT_FALSE(boxes.Ticked(3));
}

} // namespace
} // namespace vn::note
