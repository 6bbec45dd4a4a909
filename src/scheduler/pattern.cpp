#include "scheduler/pattern.h"

#include <array>
#include <cstdint>

namespace plorix::scheduler {
namespace {

using Flag = std::uint8_t data::Schedule::*;

constexpr std::array<Flag, 7> kWeekdayFlags{
    &data::Schedule::SUNDAY,   &data::Schedule::MONDAY, &data::Schedule::TUESDAY,  &data::Schedule::WEDNESDAY,
    &data::Schedule::THURSDAY, &data::Schedule::FRIDAY, &data::Schedule::SATURDAY,
};

struct WeekOfMonth {
    Flag flag;
    int firstDay;
    int lastDay;
};
constexpr std::array<WeekOfMonth, 4> kNumberedWeeks{{
    {&data::Schedule::EVERY1ST, 1, 7},
    {&data::Schedule::EVERY2ND, 8, 14},
    {&data::Schedule::EVERY3RD, 15, 21},
    {&data::Schedule::EVERY4TH, 22, 28},
}};

bool anyWeekdayFlag(const data::Schedule& entry) {
    for (Flag flag : kWeekdayFlags)
        if (entry.*flag) return true;
    return false;
}

bool anyWeekOfMonthFlag(const data::Schedule& entry) {
    for (const auto& week : kNumberedWeeks)
        if (entry.*(week.flag)) return true;
    return entry.EVERYLAST != 0;
}

// A pattern that no day in this span satisfies satisfies none at all: every
// week of a month holds each weekday, and every month holds each week.
constexpr int kPatternSearchDays = 62;

}  // namespace

bool weekdayAllowed(const data::Schedule& entry, Date date) {
    return !anyWeekdayFlag(entry) || entry.*kWeekdayFlags[weekdayOf(date)] != 0;
}

bool isLastDayOfMonth(Date date) { return dayOf(date) == daysInMonth(monthOf(date), yearOf(date)); }

bool weekOfMonthAllowed(const data::Schedule& entry, Date date) {
    if (!anyWeekOfMonthFlag(entry)) return true;
    const int day = dayOf(date);
    for (const auto& week : kNumberedWeeks)
        if (entry.*(week.flag) && day >= week.firstDay && day <= week.lastDay) return true;
    return entry.EVERYLAST && daysInMonth(monthOf(date), yearOf(date)) - day <= 6;
}

bool dayOfMonthAllowed(const data::Schedule& entry, Date date) {
    if (entry.LASTDAYOFMONTH) return isLastDayOfMonth(date);
    return weekdayAllowed(entry, date) && weekOfMonthAllowed(entry, date);
}

Date firstAllowedDayAfter(const data::Schedule& entry, ScheduleType type, Date after) {
    const std::int64_t last = lastUsableDate();
    for (std::int64_t day = std::int64_t{after} + 1;
         day <= std::int64_t{after} + kPatternSearchDays && day <= last; ++day) {
        const auto date = static_cast<Date>(day);
        const bool allowed =
            type == ScheduleType::DayOfMonth ? dayOfMonthAllowed(entry, date) : weekdayAllowed(entry, date);
        if (allowed) return date;
    }
    return 0;
}

}  // namespace plorix::scheduler
