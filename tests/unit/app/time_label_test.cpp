#include "app/time_label.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

const TimeLabelFormat kUs{DateOrder::MonthDayYear, u"AM", u"PM"};
const TimeLabelFormat kGerman{DateOrder::DayMonthYear, u"", u""};
const TimeLabelFormat kJapanese{DateOrder::YearMonthDay, u"午前", u"午後"};

std::int64_t At(int days, int hour, int minute, int second) {
    return (static_cast<std::int64_t>(days) * 24 + hour) * 3600 + minute * 60 + second;
}

TEST(TimeLabel, LabelsReadInTheUsersDateOrderAndClockAndOrderByTime) {
    // 10 December 2026 against 11 December 2026, as each format writes them.
    const auto dec10 = ParseTimeLabel(u"12/10/2026", kUs);
    ASSERT_TRUE(dec10);
    struct Case {
        const char* name;
        std::u16string label;
        const TimeLabelFormat& format;
        std::int64_t expected;  // from 10 December 2026, midnight
    } const cases[] = {
        {"US afternoon", u"12/10/2026 9:17:22 PM", kUs, At(0, 21, 17, 22)},
        {"US noon", u"12/10/2026 12:00:01 PM", kUs, At(0, 12, 0, 1)},
        {"US after midnight", u"12/10/2026 12:05:00 AM", kUs, At(0, 0, 5, 0)},
        {"US midnight has no time", u"12/11/2026", kUs, At(1, 0, 0, 0)},
        {"German 24 hours", u"11.12.2026 08:30:00", kGerman, At(1, 8, 30, 0)},
        {"German two-digit year", u"10.12.26 23:59", kGerman, At(0, 23, 59, 0)},
        {"Japanese afternoon", u"2026/12/10 午後 1:02:03", kJapanese, At(0, 13, 2, 3)},
        {"leap day", u"2/29/2028", kUs, At(446, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = ParseTimeLabel(c.label, c.format);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(*parsed - *dec10, c.expected);
    }
}

TEST(TimeLabel, LabelsThatAreNoDateDoNotRead) {
    for (const std::u16string label : {u"", u"yesterday", u"13/10/2026", u"2/30/2026", u"12/10/2026 25:00:00",
                                        u"12/10/2026 13:00:00 PM", u"12/10", u"1/2/3/4/5/6/7", u"12/10/2026 9:99"}) {
        SCOPED_TRACE(std::string(label.begin(), label.end()));
        EXPECT_FALSE(ParseTimeLabel(label, kUs));
    }
}

} // namespace
} // namespace vn
