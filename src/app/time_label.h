#pragma once
// A note's creation-time label read back as a time, so that lists sort by when
// notes were made and not by the label's letters. The label is the short date and,
// unless it was midnight, the time, in the user's formats of the day it was made.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vn {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct TimeLabelFormat {
    DateOrder order = DateOrder::MonthDayYear;
    // The afternoon marker of a 12-hour clock ("PM"); empty for a 24-hour clock.
    std::u16string am, pm;
};

// Seconds since 1 January 1 of the label's date and time, comparable between
// labels; nothing when the label does not read as a date in `format`.
std::optional<std::int64_t> ParseTimeLabel(std::u16string_view label, const TimeLabelFormat& format);

} // namespace vn
