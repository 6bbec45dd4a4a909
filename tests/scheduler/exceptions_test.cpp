// The exception passes on the buffer: excluded days with their shifts, the
// time window, and both together.

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "scheduler/exceptions.h"
#include "scheduler/recurrence.h"
#include "schedule_builder.h"

namespace plorix::scheduler {
namespace {

using namespace test;

const NoHolidays kNoHolidays;

data::Schedule weekly(Date date, std::string_view shift) {
    data::Schedule entry = makeEntry("Day of Week", date);
    setWeekdays(entry, {Sat});
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = shift;
    entry.EXCEPTIONLINK = 77;
    return entry;
}

TEST(ExceptionsOnce, ClearsTheExceptionFieldsAndChangesNothingElse) {
    data::Schedule entry = makeEntry("Once", ymd(2024, 5, 11));  // a Saturday
    entry.EXCEPTWEEKENDS = entry.EXCEPTWEEKDAYS = entry.EXCEPTHOLIDAYS = entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = hm(1, 0);
    entry.EXCEPTTIMEEND = hm(2, 0);
    entry.EXCEPTOTHER = "other";
    entry.SHIFTTYPE = "Next Day";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_FALSE(plan.changed());
    EXPECT_FALSE(plan.copy);
    EXPECT_EQ(entry.EXCEPTWEEKENDS + entry.EXCEPTWEEKDAYS + entry.EXCEPTHOLIDAYS + entry.EXCEPTTIME, 0);
    EXPECT_EQ(entry.EXCEPTTIMEBEGIN, 0);
    EXPECT_EQ(entry.EXCEPTTIMEEND, 0);
    EXPECT_TRUE(entry.EXCEPTOTHER.empty());
    EXPECT_EQ(entry.SKIPNEXTTIME, 0);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
}

TEST(ExceptionsDays, AllowedDayChangesNothing) {
    data::Schedule entry = weekly(ymd(2024, 5, 10), "Next Day");  // a Friday
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_FALSE(plan.changed());
    EXPECT_EQ(entry.SKIPNEXTTIME, 0);
}

TEST(ExceptionsDays, WeekendWithNextDayMakesMondayCopy) {
    data::Schedule entry = weekly(ymd(2024, 5, 11), "Next Day");
    entry.DESCRIPTION = "Back up";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.excepted);
    EXPECT_EQ(entry.SKIPNEXTTIME, 1);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));  // the entry keeps its excluded run, skipped
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 13));
    EXPECT_EQ(plan.copy->TIME, entry.TIME);
    EXPECT_EQ(plan.copy->SCHEDULETYPE, "Once");
    EXPECT_EQ(plan.copy->SKIPNEXTTIME, 0);
    EXPECT_EQ(plan.copy->EXCEPTIONLINK, 0);
    EXPECT_EQ(plan.copy->DESCRIPTION, "Back up");
}

TEST(ExceptionsDays, CopyKeepsAnEarlierSkipRequest) {
    data::Schedule entry = weekly(ymd(2024, 5, 11), "Next Day");
    entry.SKIPNEXTTIME = 1;
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->SKIPNEXTTIME, 1);
}

TEST(ExceptionsDays, PreviousDayGoesBackToFriday) {
    for (Date date : {ymd(2024, 5, 11), ymd(2024, 5, 12)}) {
        data::Schedule entry = weekly(date, "Previous Day");
        const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
        ASSERT_TRUE(plan.copy);
        EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 10));
    }
}

TEST(ExceptionsDays, SkipShiftOnlySkips) {
    for (const char* shift : {"Skip (to Next Valid Day)", "", "x", "  N"}) {
        data::Schedule entry = weekly(ymd(2024, 5, 11), shift);
        const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
        EXPECT_TRUE(plan.excepted) << shift;
        EXPECT_FALSE(plan.copy) << shift;
        EXPECT_EQ(entry.SKIPNEXTTIME, 1) << shift;
    }
}

TEST(ExceptionsDays, WeekendsWinOverWeekdays) {
    data::Schedule entry = weekly(ymd(2024, 5, 8), "Next Day");  // a Wednesday
    entry.EXCEPTWEEKDAYS = 1;
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_FALSE(plan.changed());
    EXPECT_EQ(entry.EXCEPTWEEKDAYS, 0);
}

TEST(ExceptionsDays, WeekdaysExceptedMovesToSaturday) {
    data::Schedule entry = makeEntry("Custom", ymd(2024, 5, 8));
    entry.EXCEPTWEEKDAYS = 1;
    entry.SHIFTTYPE = "N";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 11));
}

TEST(ExceptionsHolidays, OneOffAndAnnual) {
    HolidaySet holidays;
    holidays.add(ymd(2024, 5, 13), false);  // a Monday, once
    holidays.add(ymd(1990, 12, 25), true);  // every Christmas
    data::Schedule entry = weekly(ymd(2024, 5, 11), "Next Day");
    entry.EXCEPTHOLIDAYS = 1;
    ExceptionPlan plan = planExceptions(entry, holidays);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 14));  // past the weekend and the holiday

    data::Schedule christmas = makeEntry("Yearly", ymd(2030, 12, 25));
    christmas.EXCEPTHOLIDAYS = 1;
    christmas.SHIFTTYPE = "Previous Day";
    plan = planExceptions(christmas, holidays);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2030, 12, 24));

    data::Schedule notExcepted = makeEntry("Yearly", ymd(2030, 12, 25));
    notExcepted.SHIFTTYPE = "Next Day";
    EXPECT_FALSE(planExceptions(notExcepted, holidays).changed());
}

TEST(ExceptionsHolidays, AnnualLeapDayOnlyInLeapYears) {
    HolidaySet holidays;
    holidays.add(ymd(2024, 2, 29), true);
    EXPECT_TRUE(holidays.isHoliday(ymd(2028, 2, 29)));
    EXPECT_FALSE(holidays.isHoliday(ymd(2027, 2, 28)));
    EXPECT_FALSE(holidays.isHoliday(ymd(2027, 3, 1)));
    holidays.add(0, true);  // unusable dates are ignored
    holidays.add(-3, false);
    EXPECT_FALSE(holidays.isHoliday(0));
}

TEST(ExceptionsDays, EveryDayExcludedSkipsWithoutCopy) {
    // Weekdays excepted and every day of the year an annual holiday.
    HolidaySet holidays;
    for (Date date = ymd(2024, 1, 1); date <= ymd(2024, 12, 31); ++date) holidays.add(date, true);
    for (const char* shift : {"Next Day", "Previous Day"}) {
        data::Schedule entry = makeEntry("Day of Week", ymd(2025, 6, 7));
        entry.EXCEPTWEEKDAYS = 1;
        entry.EXCEPTHOLIDAYS = 1;
        entry.SHIFTTYPE = shift;
        const ExceptionPlan plan = planExceptions(entry, holidays);
        EXPECT_TRUE(plan.excepted);
        EXPECT_FALSE(plan.copy);
        EXPECT_EQ(entry.SKIPNEXTTIME, 1);
        EXPECT_EQ(entry.DATE, ymd(2025, 6, 7));
    }
}

TEST(ExceptionsDays, ShiftStopsAtTheCalendarEnds) {
    data::Schedule late = makeEntry("Yearly", ymd(9999, 12, 31));  // a Friday
    late.EXCEPTWEEKDAYS = 1;
    late.SHIFTTYPE = "Next Day";
    const ExceptionPlan last = planExceptions(late, kNoHolidays);
    EXPECT_TRUE(last.excepted);
    EXPECT_FALSE(last.copy);

    data::Schedule early = makeEntry("Yearly", ymd(1801, 1, 3));  // a Saturday
    early.EXCEPTWEEKENDS = 1;
    early.SHIFTTYPE = "Previous Day";
    const ExceptionPlan plan = planExceptions(early, kNoHolidays);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(1801, 1, 2));
    early.DATE = ymd(1801, 1, 1);
    early.EXCEPTWEEKENDS = 0;
    early.EXCEPTWEEKDAYS = 1;  // 1 January 1801 was a Thursday
    EXPECT_FALSE(planExceptions(early, kNoHolidays).copy);
}

TEST(ExceptionsDays, UnusableDateIsNeverExcluded) {
    data::Schedule entry = weekly(0, "Next Day");
    entry.EXCEPTWEEKDAYS = 1;
    entry.EXCEPTWEEKENDS = 0;
    EXPECT_FALSE(planExceptions(entry, kNoHolidays).changed());
}

// --- time window ----------------------------------------------------------

data::Schedule windowed(data::Schedule entry, Time begin, Time end) {
    entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = begin;
    entry.EXCEPTTIMEEND = end;
    return entry;
}

TEST(ExceptionsWindow, HourlyOvernightWindowMovesToItsEnd) {
    data::Schedule entry =
        windowed(custom(1, "hour(s)", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.moved);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.TIME, hm(6, 0));
}

TEST(ExceptionsWindow, DailyRunInsideWindowEndsAtWindowEndTwoDaysOn) {
    data::Schedule entry =
        windowed(custom(1, "day(s)", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.moved);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 12));
    EXPECT_EQ(entry.TIME, hm(6, 0));
}

TEST(ExceptionsWindow, DailyRunBeforeWindowEndStaysOnNextDay) {
    // 05:00 lies before the end: the run after the saved one is the next day.
    data::Schedule entry =
        windowed(custom(1, "day(s)", ymd(2024, 5, 10), hm(5, 0)), hm(22, 0), hm(6, 0));
    planExceptions(entry, kNoHolidays);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.TIME, hm(6, 0));
}

TEST(ExceptionsWindow, DaytimeWindowIncludesItsEnds) {
    data::Schedule entry =
        windowed(custom(30, "minute(s)", ymd(2024, 5, 10), hm(12, 0)), hm(12, 0), hm(14, 0));
    planExceptions(entry, kNoHolidays);
    EXPECT_EQ(entry.TIME, hm(14, 30));
}

TEST(ExceptionsWindow, RunOutsideWindowIsNotMoved) {
    data::Schedule entry =
        windowed(custom(30, "minute(s)", ymd(2024, 5, 10), hm(15, 0)), hm(12, 0), hm(14, 0));
    EXPECT_FALSE(planExceptions(entry, kNoHolidays).changed());
    EXPECT_EQ(entry.TIME, hm(15, 0));
}

TEST(ExceptionsWindow, MissingEndMeansEndOfDayAndWholeDayEndsThere) {
    data::Schedule entry = windowed(custom(1, "hour(s)", ymd(2024, 5, 10), hm(9, 0)), 0, 0);
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.moved);
    EXPECT_EQ(entry.EXCEPTTIMEEND, kHundredthsPerDay);
    EXPECT_EQ(entry.TIME, kHundredthsPerDay);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 10));
}

TEST(ExceptionsWindow, GarbageBoundsAndTimesStayBounded) {
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    const std::int32_t small = std::numeric_limits<std::int32_t>::min();
    const auto start = std::chrono::steady_clock::now();
    for (Time time : {0, -1, big, small, hm(12, 0)}) {
        for (auto [begin, end] : {std::pair{small, big}, std::pair{big, small}, std::pair{-5, 0}}) {
            for (const char* unit : {"minute(s)", "day(s)", "nothing"}) {
                data::Schedule entry =
                    windowed(custom(big, unit, ymd(2024, 5, 10), time), begin, end);
                planExceptions(entry, kNoHolidays);
                EXPECT_TRUE(entry.COMPLETED || isUsableDate(entry.DATE));
            }
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(ExceptionsWindow, UnknownUnitIsReportedOnceNotPerAttempt) {
    data::Schedule entry =
        windowed(custom(1, "??", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.invalidUnits);
    EXPECT_EQ(entry.TIME, hm(6, 0));
}

TEST(ExceptionsBoth, WindowThenWeekend) {
    // Friday 23:00 hourly, nights excluded: Saturday 06:00, a weekend day, so
    // a one-off copy runs on Monday at 06:00.
    data::Schedule entry =
        windowed(custom(1, "hour(s)", ymd(2024, 5, 10), hm(23, 0)), hm(22, 0), hm(6, 0));
    entry.EXCEPTWEEKENDS = 1;
    entry.SHIFTTYPE = "Next Day";
    const ExceptionPlan plan = planExceptions(entry, kNoHolidays);
    EXPECT_TRUE(plan.moved);
    EXPECT_TRUE(plan.excepted);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.TIME, hm(6, 0));
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.copy->DATE, ymd(2024, 5, 13));
    EXPECT_EQ(plan.copy->TIME, hm(6, 0));
}

TEST(ExceptionsBoth, ManyAnnualHolidaysStayFast) {
    HolidaySet holidays;
    for (int i = 0; i < 10000; ++i) holidays.add(ymd(1900 + i % 100, 1 + i % 12, 1 + i % 28), true);
    data::Schedule entry = custom(1, "day(s)", ymd(2024, 1, 1));
    entry.EXCEPTHOLIDAYS = 1;
    entry.SHIFTTYPE = "Next Day";
    const auto start = std::chrono::steady_clock::now();
    int copies = 0;
    for (int day = 0; day < 1000; ++day) {
        advance(entry, {entry.DATE, entry.TIME});
        entry.SKIPNEXTTIME = 0;
        copies += planExceptions(entry, holidays).copy ? 1 : 0;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_GT(copies, 0);
}

}  // namespace
}  // namespace plorix::scheduler
