#include "platform/dpi_scale.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(DpiScale, ScalesByDpiOver96WithHalvesAwayFromZero) {
    struct Case {
        int value, dpi, scaled;
    };
    const Case cases[] = {
        {450, 96, 450},   {450, 120, 563},  {450, 144, 675},  {450, 192, 900},   // 562.5 rounds up
        {274, 120, 343},  {274, 144, 411},  {75, 120, 94},    {75, 144, 113},    // 93.75, 112.5
        {1, 120, 1},      {1, 144, 2},      {2, 120, 3},      {10, 120, 13},     // 1.25, 1.5, 2.5, 12.5
        {-10, 144, -15},  {-1, 144, -2},    {-2, 120, -3},    {0, 192, 0},       // negatives mirror
        {17, 0, 17},      {17, -5, 17},                                          // no DPI: as at 96
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

TEST(DpiScale, UnscaleUndoesScaleAndPercentNamesTheUsualSteps) {
    for (int dpi : {96, 120, 144, 168, 192, 288})
        for (int value : {0, 1, 20, 75, 274, 450, 750, 5000})
            EXPECT_EQ(UnscaleForDpi(ScaleForDpi(value, dpi), dpi), value) << value << " at " << dpi;
    EXPECT_EQ(ScaleForDpi(1'000'000'000, 192), 2'000'000'000);  // wider than int in between
    EXPECT_EQ(ScalePercent(96), 100);
    EXPECT_EQ(ScalePercent(120), 125);
    EXPECT_EQ(ScalePercent(144), 150);
    EXPECT_EQ(ScalePercent(192), 200);
}

} // namespace
} // namespace vn
