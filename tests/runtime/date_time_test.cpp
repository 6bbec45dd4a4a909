#include "runtime/date_time.h"

#include <gtest/gtest.h>

namespace plorix {
namespace {

TEST(DayNumbers, KnownDates) {
    EXPECT_EQ(makeDate(1, 1, 1801), 4);
    EXPECT_EQ(makeDate(12, 28, 1800), 0);             // before the first date
    EXPECT_EQ(weekdayOf(makeDate(1, 1, 1801)), 4);    // a Thursday
    EXPECT_EQ(weekdayOf(makeDate(10, 31, 1959)), 6);  // a Saturday
    EXPECT_EQ(weekdayOf(makeDate(1, 1, 2000)), 6);
    EXPECT_EQ(weekdayOf(makeDate(7, 4, 2024)), 4);
    EXPECT_EQ(makeDate(1, 1, 2000) - makeDate(1, 1, 1900), 36524);
}

TEST(DayNumbers, RangeEnds) {
    const Date last = makeDate(12, 31, 9999);
    EXPECT_GT(last, 0);
    EXPECT_EQ(makeDate(1, 1, 10000), 0);
    EXPECT_EQ(makeDate(12, 32, 9999), 0);
    EXPECT_EQ(makeDate(1, 0, 1801), 0);
    EXPECT_EQ(makeDate(10, 31, 59), 0);  // two-digit years are taken as given
    EXPECT_EQ(civilFromDate(0).year, 0);
    EXPECT_EQ(civilFromDate(last + 1).year, 0);
    EXPECT_EQ(civilFromDate(3).year, 0);
}

TEST(DayNumbers, MonthAndDayOverflowCarry) {
    EXPECT_EQ(makeDate(13, 1, 1999), makeDate(1, 1, 2000));
    EXPECT_EQ(makeDate(1, 32, 2001), makeDate(2, 1, 2001));
    EXPECT_EQ(makeDate(3, 0, 2000), makeDate(2, 29, 2000));
    EXPECT_EQ(makeDate(3, 0, 1900), makeDate(2, 28, 1900));
    EXPECT_EQ(makeDate(0, 15, 2000), makeDate(12, 15, 1999));
    EXPECT_EQ(makeDate(-11, 1, 2000), makeDate(1, 1, 1999));
    EXPECT_EQ(makeDate(1, -30, 2000), makeDate(12, 1, 1999));
    EXPECT_EQ(makeDate(25, 1, 2000), makeDate(1, 1, 2002));
    EXPECT_EQ(makeDate(1, 366, 2000), makeDate(12, 31, 2000));
    EXPECT_EQ(makeDate(2, 2'000'000'000, 2000), 0);  // far past the range, no overflow
}

TEST(DayNumbers, LeapYears) {
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(13, 2000), 0);
    EXPECT_EQ(makeDate(2, 29, 1900), makeDate(3, 1, 1900));
}

TEST(DayNumbers, EveryDayOfTheRangeRoundTripsInOrder) {
    const Date last = makeDate(12, 31, 9999);
    CivilDate previous = civilFromDate(4);
    for (Date d = 5; d <= last; ++d) {
        const CivilDate c = civilFromDate(d);
        ASSERT_EQ(makeDate(c.month, c.day, c.year), d);
        const bool nextDay =
            c.year == previous.year && c.month == previous.month && c.day == previous.day + 1;
        const bool nextMonth = c.day == 1 && previous.day == daysInMonth(previous.month, previous.year);
        ASSERT_TRUE(nextDay || nextMonth) << d;
        previous = c;
    }
    EXPECT_EQ(previous.year, 9999);
}

TEST(TimesOfDay, Parts) {
    EXPECT_EQ(makeTime(0, 0), kMidnight);
    EXPECT_EQ(makeTime(24, 0), kEndOfDay);
    EXPECT_EQ(makeTime(23, 59, 59, 99), kHundredthsPerDay);
    EXPECT_EQ(makeTime(24, 0, 1), 0);
    EXPECT_EQ(makeTime(12, 60), 0);
    EXPECT_EQ(makeTime(-1, 0), 0);
    const Time t = makeTime(17, 30, 15, 50);
    EXPECT_EQ(hoursOf(t), 17);
    EXPECT_EQ(minutesOf(t), 30);
    EXPECT_EQ(secondsOf(t), 15);
    EXPECT_EQ(hoursOf(kEndOfDay), 24);
}

TEST(Moments, NormaliseCarriesAcrossMidnight) {
    const Date d = makeDate(12, 31, 1999);
    EXPECT_EQ(normalise({d, kEndOfDay}), (Moment{d + 1, kMidnight}));
    EXPECT_EQ(normalise({d, kHundredthsPerDay}), (Moment{d, kHundredthsPerDay}));
    EXPECT_EQ(normalise({d, 3 * kHundredthsPerDay + 5}), (Moment{d + 3, 5}));
    EXPECT_EQ(normalise({d, -99}), (Moment{d - 1, kHundredthsPerDay - 99}));
    EXPECT_EQ(normalise({d, 0}), (Moment{d, 0}));  // "no time" stays
}

TEST(Moments, ArithmeticAndComparison) {
    const Date d = makeDate(3, 1, 2000);
    const Moment lateEvening{d - 1, makeTime(23, 59, 59)};
    const Moment afterMidnight = addHundredths(lateEvening, 200);
    EXPECT_EQ(afterMidnight, (Moment{d, makeTime(0, 0, 1)}));
    EXPECT_LT(lateEvening, afterMidnight);
    EXPECT_EQ(hundredthsBetween(lateEvening, afterMidnight), 200);
    EXPECT_EQ(hundredthsBetween(afterMidnight, lateEvening), -200);
    EXPECT_EQ(addHundredths(afterMidnight, -200), lateEvening);
    EXPECT_EQ(hundredthsBetween({d, kEndOfDay}, {d + 1, kMidnight}), 0);
    EXPECT_EQ(addHundredths({d, 0}, 100), (Moment{d, makeTime(0, 0, 1)}));
    EXPECT_EQ(addHundredths({d, kMidnight}, 7LL * kHundredthsPerDay), (Moment{d + 7, kMidnight}));
}

}  // namespace
}  // namespace plorix
