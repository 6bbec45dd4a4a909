#pragma once
// Day numbers and times of day, the two numeric kinds every table stores.
//
// A date is the count of days since 28 December 1800 (1 January 1801 is
// day 4, day mod 7 is the weekday with 0 = Sunday). A time is hundredths of a
// second since midnight plus one (1 = midnight, 8640001 = end of day).
// 0 means "none" for both.

#include <cstdint>
#include <compare>

namespace plorix {

using Date = std::int32_t;
using Time = std::int32_t;

inline constexpr Time kMidnight = 1;
inline constexpr Time kHundredthsPerDay = 8640000;
inline constexpr Time kEndOfDay = kHundredthsPerDay + 1;
inline constexpr Time kHundredthsPerSecond = 100;
inline constexpr Time kHundredthsPerMinute = 6000;
inline constexpr Time kHundredthsPerHour = 360000;

struct CivilDate {
    int year = 0;   // four digits
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

// Builds a day number; a month or day past its range carries into the next
// month or year (month 13 of 1999 is January 2000, 32 January is 1 February,
// day 0 is the last day of the previous month). Two-digit years are taken as
// given. Returns 0 for dates before 1 January 1801 or after 31 December 9999.
Date makeDate(int month, int day, int year);

// The calendar date of a day number (all zero for date 0 or out of range).
CivilDate civilFromDate(Date date);

int yearOf(Date date);
int monthOf(Date date);
int dayOf(Date date);
int weekdayOf(Date date);  // 0 = Sunday
bool isLeapYear(int year);
int daysInMonth(int month, int year);

// Builds a time of day from its parts (hours 0..23 ...); 24:00:00.00 is the
// end of the day (8640001); returns 0 when any part is out of range.
Time makeTime(int hours, int minutes, int seconds = 0, int hundredths = 0);
int hoursOf(Time time);
int minutesOf(Time time);
int secondsOf(Time time);

// A date with a time of day: the unit in which schedules are compared.
struct Moment {
    Date date = 0;
    Time time = 0;
    friend auto operator<=>(const Moment&, const Moment&) = default;
};

// Carries a time outside 1..8640000 into the neighbouring days so that the
// moment stays the same instant (a time of 8640001 is midnight of the next day).
// A time of 0 ("no time") is left as it is.
Moment normalise(Moment moment);

// Adds hundredths of a second (may be negative) and normalises; a time of 0
// counts as midnight here and in hundredthsBetween.
Moment addHundredths(Moment moment, std::int64_t hundredths);

// Hundredths of a second from a to b (b - a), after normalising both.
std::int64_t hundredthsBetween(Moment a, Moment b);

}  // namespace plorix
