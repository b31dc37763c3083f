#include "note/note_accessibility.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn::note {
namespace {

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

NoteAccessView View(Size window, bool minimized) {
    NoteAccessView v;
    v.layout = ComputeLayout(window, kBodyBottomMarginRefreshed, {60, 13}, {100, 13});
    v.minimized = minimized;
    v.title = u"notepad.exe - Untitled - Notepad";
    v.owner = u"DESK";
    v.time = u"12/11/2026 00:30:00";
    v.tagline = u"Tagline";
    return v;
}

constexpr unsigned kButton = kAccessFocusable;
constexpr unsigned kHidden = kAccessInvisible;

TEST(NoteAccessibility, EveryPartHasItsNameRoleStateAndAction) {
    NoteAccessView note = View({450, 274}, false);
    note.hovered = Control::ImgFont;
    note.focused = Control::ImgSave;
    NoteAccessView tile = View({100, 100}, true);
    tile.hovered = Control::ImgFont;  // a leftover hover on a hidden part shows nowhere
    tile.focused = Control::ImgSmall;
    const struct {
        const NoteAccessView& view;
        AccessiblePart expected;
    } cases[] = {
        {note, {Control::lTitle, AccessRole::StaticText, u"notepad.exe - Untitled - Notepad",
                u"Program and window the note is on", kAccessNormal, u""}},
        {note, {Control::ImgMinimize, AccessRole::PushButton, u"Minimize", u"", kButton, u"Press"}},
        {note, {Control::lOwner, AccessRole::StaticText, u"DESK", u"Computer the note was made on", 0, u""}},
        {note, {Control::lTime, AccessRole::StaticText, u"12/11/2026 00:30:00", u"Date and time the note was made", 0,
                u""}},
        {note, {Control::ImgSave, AccessRole::PushButton, u"Save", u"", kButton | kAccessFocused, u"Press"}},
        {note, {Control::ImgImport, AccessRole::PushButton, u"Import", u"", kButton, u"Press"}},
        {note, {Control::ImgFont, AccessRole::PushButton, u"Font", u"", kButton | kAccessHot, u"Press"}},
        {note, {Control::ImgDelete, AccessRole::PushButton, u"Delete", u"", kButton, u"Press"}},
        {note, {Control::ImgSize, AccessRole::Grip, u"Resize", u"", 0, u""}},
        {note, {Control::lBottomLab, AccessRole::StaticText, u"Tagline", u"", 0, u""}},
        {note, {Control::ImgSmall, AccessRole::PushButton, u"Restore", u"", kButton | kHidden, u"Press"}},
        // A tile: only the tile is visible.
        {tile, {Control::lTitle, AccessRole::StaticText, u"notepad.exe - Untitled - Notepad",
                u"Program and window the note is on", kHidden, u""}},
        {tile, {Control::ImgFont, AccessRole::PushButton, u"Font", u"", kButton | kHidden, u"Press"}},
        {tile, {Control::ImgSize, AccessRole::Grip, u"Resize", u"", kHidden, u""}},
        {tile, {Control::lBottomLab, AccessRole::StaticText, u"Tagline", u"", kHidden, u""}},
        {tile, {Control::ImgSmall, AccessRole::PushButton, u"Restore", u"", kButton | kAccessFocused, u"Press"}},
    };
    for (const auto& c : cases) {
        const auto part = DescribePart(c.view, c.expected.control);
        ASSERT_TRUE(part) << Narrow(ControlName(c.expected.control));
        EXPECT_EQ(*part, c.expected) << Narrow(ControlName(c.expected.control)) << (c.view.minimized ? " (tile)" : "");
    }
    // Decoration is not exposed.
    for (Control c : {Control::None, Control::ShapeBackground, Control::LineShape}) {
        EXPECT_FALSE(IsAccessiblePart(c));
        EXPECT_FALSE(DescribePart(note, c));
    }
    EXPECT_EQ(AccessibleParts().size(), 11u);
}

TEST(NoteAccessibility, HitTestFindsTheExposedPartOnTopAndNothingOnDecoration) {
    const NoteAccessView note = View({450, 274}, false);
    const NoteAccessView tile = View({100, 100}, true);
    const struct {
        const NoteAccessView& view;
        Point at;
        Control expected;
    } cases[] = {
        {note, {40, 40}, Control::lTitle},
        {note, {360, 35}, Control::ImgMinimize},  // over the title's row, right of it
        {note, {24, 80}, Control::ImgSave},        // the button's first pixel
        {note, {98, 103}, Control::ImgSave},       // and its last
        {note, {99, 103}, Control::None},          // the gap between Save and Import
        {note, {410, 220}, Control::ImgSize},
        {note, {200, 250}, Control::lBottomLab},
        {note, {30, 113}, Control::None},          // the separator line
        {note, {5, 5}, Control::None},             // the background, where the tile would be
        {note, {-1, 5}, Control::None},
        {tile, {5, 5}, Control::ImgSmall},
        {tile, {30, 85}, Control::ImgSmall},       // where Save sits on a full note
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccessibleHitTest(c.view, c.at), c.expected)
            << c.at.x << "," << c.at.y << (c.view.minimized ? " (tile)" : "");
}

TEST(NoteAccessibility, NavigationWalksTheVisiblePartsInReadingOrder) {
    const NoteAccessView note = View({450, 274}, false);
    std::vector<Control> forward;
    for (Control c = NavigateParts(note, Control::None, true); c != Control::None; c = NavigateParts(note, c, true))
        forward.push_back(c);
    const std::vector<Control> order{Control::lTitle,   Control::ImgMinimize, Control::lOwner,
                                     Control::lTime,    Control::ImgSave,     Control::ImgImport,
                                     Control::ImgFont,  Control::ImgDelete,   Control::ImgSize,
                                     Control::lBottomLab};
    EXPECT_EQ(forward, order);
    std::vector<Control> backward;
    for (Control c = NavigateParts(note, Control::None, false); c != Control::None;
         c = NavigateParts(note, c, false))
        backward.push_back(c);
    EXPECT_EQ(backward, std::vector<Control>(order.rbegin(), order.rend()));
    // The body's windows follow Delete.
    EXPECT_EQ(AccessibleParts()[kPartsAboveBody - 1], Control::ImgDelete);

    const NoteAccessView tile = View({100, 100}, true);
    EXPECT_EQ(NavigateParts(tile, Control::None, true), Control::ImgSmall);
    EXPECT_EQ(NavigateParts(tile, Control::None, false), Control::ImgSmall);
    EXPECT_EQ(NavigateParts(tile, Control::ImgSmall, true), Control::None);
    EXPECT_EQ(NavigateParts(tile, Control::ImgSmall, false), Control::None);
}

TEST(NoteAccessibility, TheNoteIsNamedForItsWindow) {
    EXPECT_EQ(NoteAccessibleName(u"Untitled - Notepad"), u"Note on Untitled - Notepad");
    EXPECT_EQ(NoteAccessibleName(u""), u"Note");
}

TEST(NoteAccessibility, ACheckBoxIsNamedForItsLine) {
    const std::u16string longLine = u"Buy stamps, envelopes, a birthday card for Anna, milk, bread and the "
                                    u"tickets for Saturday";
    std::u16string surrogates(kCheckBoxNameLimit - 1, u'x');
    surrogates += u"\U0001F600 tail";  // the limit falls between the two halves
    const struct {
        int line;
        std::u16string text;
        std::u16string expected;
    } cases[] = {
        {0, u"Buy stamps", u"Buy stamps"},
        {2, u"  \tBuy stamps \r", u"Buy stamps"},
        {0, u"", u"Line 1"},
        {11, u" \t\r", u"Line 12"},
        {0, longLine, u"Buy stamps, envelopes, a birthday card for Anna, milk, bread and the tickets for\u2026"},
        {0, surrogates, std::u16string(kCheckBoxNameLimit - 1, u'x') + u"\u2026"},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckBoxAccessibleName(c.line, c.text), c.expected) << Narrow(c.text);
}

} // namespace
} // namespace vn::note
