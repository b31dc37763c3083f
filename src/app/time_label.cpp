#include "app/time_label.h"

#include <vector>

namespace vn {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Whether `marker` (letters, any case) stands in the label apart from the digits.
bool HasMarker(std::u16string_view label, std::u16string_view marker) {
    if (marker.empty() || marker.size() > label.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    for (size_t at = 0; at + marker.size() <= label.size(); ++at) {
        size_t i = 0;
        while (i < marker.size() && lower(label[at + i]) == lower(marker[i])) ++i;
        if (i == marker.size()) return true;
    }
    return false;
}

std::int64_t DaysBefore(int year, int month, int day) {
    // Days from 1 January 1 (proleptic Gregorian), as a civil-from-days inverse.
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

std::optional<std::int64_t> ParseTimeLabel(std::u16string_view label, const TimeLabelFormat& format) {
    std::vector<std::pair<int, size_t>> numbers;  // value, digit count
    for (size_t i = 0; i < label.size();) {
        if (!IsDigit(label[i])) {
            ++i;
            continue;
        }
        int value = 0;
        size_t digits = 0;
        for (; i < label.size() && IsDigit(label[i]); ++i, ++digits) {
            if (digits >= 6) return std::nullopt;
            value = value * 10 + (label[i] - u'0');
        }
        numbers.emplace_back(value, digits);
    }
    if (numbers.size() != 3 && numbers.size() != 5 && numbers.size() != 6) return std::nullopt;
    int year = 0, month = 0, day = 0;
    size_t yearDigits = 0;
    switch (format.order) {
    case DateOrder::MonthDayYear: month = numbers[0].first, day = numbers[1].first, year = numbers[2].first, yearDigits = numbers[2].second; break;
    case DateOrder::DayMonthYear: day = numbers[0].first, month = numbers[1].first, year = numbers[2].first, yearDigits = numbers[2].second; break;
    case DateOrder::YearMonthDay: year = numbers[0].first, month = numbers[1].first, day = numbers[2].first, yearDigits = numbers[0].second; break;
    }
    if (yearDigits <= 2) year += year < 50 ? 2000 : 1900;  // the system's two-digit window
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 || day > DaysIn(year, month))
        return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (numbers.size() >= 5) {
        hour = numbers[3].first, minute = numbers[4].first;
        second = numbers.size() == 6 ? numbers[5].first : 0;
        const bool pm = HasMarker(label, format.pm);
        const bool am = HasMarker(label, format.am);
        if (pm || am) {
            if (hour < 1 || hour > 12) return std::nullopt;
            hour = hour % 12 + (pm ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    }
    return (DaysBefore(year, month, day) * 24 + hour) * 3600 + minute * 60 + second;
}

} // namespace vn
