#include "app/all_notes_layout.h"

#include <gtest/gtest.h>

#include "platform/dpi_scale.h"

namespace vn {
namespace {

constexpr int kNoteButtons[] = {kAllNotesButtonWidth, kAllNotesButtonWidth, kAllNotesButtonWidth,
                                kAllNotesButtonWidth};
constexpr int kBinButtons[] = {kAllNotesButtonWidth, kAllNotesWideButtonWidth, kAllNotesWideButtonWidth,
                               kAllNotesButtonWidth};

bool Overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(AllNotesLayout, At96DpiTheControlsStandWhereTheyAlwaysHave) {
    // The client area of the first window (900 x 600 with its frame).
    const AllNotesLayout l = LayOutAllNotes(884, 562, 96, kNoteButtons);
    EXPECT_EQ(l.search, (Box{10, 10, 864, 24}));
    EXPECT_EQ(l.list, (Box{10, 42, 864, 261}));  // 55 % of 476
    EXPECT_EQ(l.preview, (Box{10, 309, 864, 209}));
    ASSERT_EQ(l.buttons.size(), 4u);
    EXPECT_EQ(l.buttons[0], (Box{10, 526, 110, 26}));
    EXPECT_EQ(l.buttons[3], (Box{364, 526, 110, 26}));
    EXPECT_EQ(l.close, (Box{764, 526, 110, 26}));
    EXPECT_EQ(l.status, (Box{486, 531, 270, 21}));
}

TEST(AllNotesLayout, EveryScaleKeepsTheMarginsGapsAndHeightsInProportionAndNothingOverlaps) {
    for (int dpi : {96, 120, 144, 192}) {
        for (bool bin : {false, true}) {
            SCOPED_TRACE(testing::Message() << dpi << (bin ? " bin" : " notes"));
            const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
            const int width = s(884), height = s(562);
            const AllNotesLayout l = LayOutAllNotes(width, height, dpi, bin ? std::span<const int>(kBinButtons)
                                                                             : std::span<const int>(kNoteButtons));
            EXPECT_EQ(l.search, (Box{s(10), s(10), width - 2 * s(10), s(24)}));
            EXPECT_EQ(l.list.y, l.search.y + l.search.height + s(8));
            EXPECT_EQ(l.preview.y, l.list.y + l.list.height + s(6));
            EXPECT_EQ(l.close.x + l.close.width, width - s(10));
            EXPECT_EQ(l.close.y + l.close.height, height - s(10));
            EXPECT_EQ(l.buttons.front().x, s(10));
            for (size_t i = 0; i + 1 < l.buttons.size(); ++i)
                EXPECT_EQ(l.buttons[i + 1].x, l.buttons[i].x + l.buttons[i].width + s(8));
            EXPECT_EQ(l.buttons[1].width, s(bin ? kAllNotesWideButtonWidth : kAllNotesButtonWidth));
            std::vector<Box> all{l.search, l.list, l.preview, l.status, l.close};
            all.insert(all.end(), l.buttons.begin(), l.buttons.end());
            for (size_t i = 0; i < all.size(); ++i) {
                EXPECT_GE(all[i].x, 0);
                EXPECT_LE(all[i].x + all[i].width, width) << i;
                EXPECT_LE(all[i].y + all[i].height, height) << i;
                for (size_t j = i + 1; j < all.size(); ++j) EXPECT_FALSE(Overlap(all[i], all[j])) << i << " " << j;
            }
        }
    }
}

TEST(AllNotesLayout, ATinyClientAreaGivesNoNegativeSizes) {
    for (int dpi : {96, 192}) {
        const AllNotesLayout l = LayOutAllNotes(5, 5, dpi, kNoteButtons);
        for (const Box& b : {l.search, l.list, l.preview, l.status, l.close}) {
            EXPECT_GE(b.width, 0);
            EXPECT_GE(b.height, 0);
        }
    }
}

TEST(AllNotesLayout, WindowSizesFollowTheDpiAndAKeptSizeMovesBetweenScales) {
    const WindowSize bigScreen{3840, 2160};
    EXPECT_EQ(DefaultAllNotesSize(96, bigScreen), (WindowSize{900, 600}));
    EXPECT_EQ(DefaultAllNotesSize(144, bigScreen), (WindowSize{1350, 900}));
    EXPECT_EQ(DefaultAllNotesSize(144, {1280, 800}), (WindowSize{1280, 800})) << "never larger than the screen";
    EXPECT_EQ(MinimumAllNotesSize(96), (WindowSize{640, 400}));
    EXPECT_EQ(MinimumAllNotesSize(120), (WindowSize{800, 500}));

    struct Case {
        WindowSize kept;
        int from, to;
        WindowSize expected;
    };
    const Case cases[] = {
        {{700, 450}, 96, 96, {700, 450}},
        {{700, 450}, 96, 144, {1050, 675}},
        {{1050, 675}, 144, 96, {700, 450}},
        {{701, 451}, 96, 120, {876, 564}},   // 876.25 and 563.75
        {{703, 449}, 192, 96, {352, 225}},   // 351.5 and 224.5: halves go up
        {{700, 450}, 0, 192, {1400, 900}},   // a place kept without a DPI was kept at 96
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeptSizeAtDpi(c.kept, c.from, c.to), c.expected) << c.from << " -> " << c.to;
}

} // namespace
} // namespace vn
