#include "runtime/date_time.h"

namespace plorix {
namespace {

// Division and remainder rounding towards minus infinity, so that negative
// months, days and times borrow from the unit above.
constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
constexpr std::int64_t floorMod(std::int64_t a, std::int64_t b) { return a - floorDiv(a, b) * b; }

// Days since 1 March of year 0 in the proleptic Gregorian calendar, shifted
// to 1 January 1970 (the well-known days-from-civil computation).
constexpr std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr std::int64_t kDayZero = daysFromCivil(1800, 12, 28);
constexpr std::int64_t kFirstDate = daysFromCivil(1801, 1, 1) - kDayZero;
constexpr std::int64_t kLastDate = daysFromCivil(9999, 12, 31) - kDayZero;
static_assert(kFirstDate == 4);

constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

// A moment as one count of hundredths; a time of 0 ("none") counts as midnight.
std::int64_t linear(Moment m) {
    const std::int64_t time = m.time == 0 ? kMidnight : m.time;
    return std::int64_t{m.date} * kHundredthsPerDay + (time - 1);
}

Moment fromLinear(std::int64_t hundredths) {
    const std::int64_t days = floorDiv(hundredths, kHundredthsPerDay);
    return Moment{static_cast<Date>(days), static_cast<Time>(hundredths - days * kHundredthsPerDay + 1)};
}

}  // namespace

Date makeDate(int month, int day, int year) {
    // Years far outside the range cannot come back into it through the
    // month carry; stopping here also keeps the arithmetic small.
    if (year < -100000 || year > 100000) return 0;
    const std::int64_t m0 = std::int64_t{month} - 1;
    const std::int64_t y = year + floorDiv(m0, 12);
    const std::int64_t m = floorMod(m0, 12) + 1;
    const std::int64_t date = daysFromCivil(y, m, 1) - kDayZero + (std::int64_t{day} - 1);
    if (date < kFirstDate || date > kLastDate) return 0;
    return static_cast<Date>(date);
}

CivilDate civilFromDate(Date date) {
    if (date < kFirstDate || date > kLastDate) return {};
    return civilFromDays(date + kDayZero);
}

int yearOf(Date date) { return civilFromDate(date).year; }
int monthOf(Date date) { return civilFromDate(date).month; }
int dayOf(Date date) { return civilFromDate(date).day; }
int weekdayOf(Date date) { return static_cast<int>(floorMod(date, 7)); }

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

Time makeTime(int hours, int minutes, int seconds, int hundredths) {
    if (hours == 24 && minutes == 0 && seconds == 0 && hundredths == 0) return kEndOfDay;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99)
        return 0;
    return hours * kHundredthsPerHour + minutes * kHundredthsPerMinute + seconds * kHundredthsPerSecond +
           hundredths + 1;
}

int hoursOf(Time time) { return time <= 0 ? 0 : (time - 1) / kHundredthsPerHour; }
int minutesOf(Time time) { return time <= 0 ? 0 : (time - 1) / kHundredthsPerMinute % 60; }
int secondsOf(Time time) { return time <= 0 ? 0 : (time - 1) / kHundredthsPerSecond % 60; }

Moment normalise(Moment moment) {
    // A time of 0 means "no time" and stays as it is; only times past the
    // day or below zero (the results of arithmetic) are carried.
    if (moment.time >= 0 && moment.time <= kHundredthsPerDay) return moment;
    return fromLinear(linear(moment));
}

Moment addHundredths(Moment moment, std::int64_t hundredths) {
    return fromLinear(linear(moment) + hundredths);
}

std::int64_t hundredthsBetween(Moment a, Moment b) { return linear(b) - linear(a); }

}  // namespace plorix
